#include "syntax/SyntaxBlock.h"

namespace quillet {

namespace {

bool IsBlank(char c)
{
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::vector<std::string> SplitKeywords(std::string_view text)
{
    std::vector<std::string> items;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            // Quoted item: "" inside stands for one quote; an unclosed quote
            // runs to the end of the text.
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i<n&& static_cast<unsigned char>(text[i])> ' ' && text[i] != ',') {
                item += text[i++];
            }
        }
        items.push_back(std::move(item));
        while (i < n && IsBlank(text[i])) {
            ++i;
        }
        if (i < n && text[i] == ',') {
            ++i;
            while (i < n && IsBlank(text[i])) {
                ++i;
            }
        } else if (i < n && text[i] == '\0') {
            break;
        }
    }
    return items;
}

std::string JoinKeywords(const std::vector<std::string>& keywords)
{
    std::string text;
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        if (k > 0) {
            text += ',';
        }
        const std::string& item = keywords[k];
        bool quote = item.empty() && keywords.size() == 1;
        for (char c : item) {
            if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"') {
                quote = true;
            }
        }
        if (!quote) {
            text += item;
            continue;
        }
        text += '"';
        for (char c : item) {
            if (c == '"') {
                text += '"';
            }
            text += c;
        }
        text += '"';
    }
    return text;
}

} // namespace quillet
