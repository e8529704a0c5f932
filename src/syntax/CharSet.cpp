#include "syntax/CharSet.h"

namespace quillet {

TCharSet DefaultFirstIdentChars()
{
    TCharSet set;
    for (int c = 'A'; c <= 'Z'; ++c) {
        set.set(c);
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        set.set(c);
    }
    set.set('_');
    return set;
}

TCharSet DefaultOtherIdentChars()
{
    TCharSet set = DefaultFirstIdentChars();
    for (int c = '0'; c <= '9'; ++c) {
        set.set(c);
    }
    return set;
}

std::string CharSetToString(const TCharSet& set)
{
    std::string text;
    int c = 0;
    while (c < 256) {
        if (!set.test(c)) {
            ++c;
            continue;
        }
        if (c == '\\' || c == '-') {
            text += '\\';
        }
        text += static_cast<char>(c);
        int last = c;
        while (last + 1 < 256 && set.test(last + 1)) {
            ++last;
        }
        if (last > c) {
            text += '-';
            text += static_cast<char>(last);
        }
        c = last + 1;
    }
    return text;
}

TCharSet StringToCharSet(std::string_view text)
{
    TCharSet set;
    int last = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const int c = static_cast<unsigned char>(text[i]);
        const bool hasNext = i + 1 < text.size();
        if (c == '-' && hasNext) {
            const int e = static_cast<unsigned char>(text[i + 1]);
            for (int k = last; k <= e; ++k) {
                set.set(k);
            }
            i += 2;
        } else if (c == '\\' && hasNext) {
            const int e = static_cast<unsigned char>(text[i + 1]);
            set.set(e);
            last = e;
            i += 2;
        } else {
            // Also a trailing "-" or "\": nothing follows, so it is the
            // character itself rather than an operator with a missing operand.
            set.set(c);
            last = c;
            ++i;
        }
    }
    return set;
}

} // namespace quillet
