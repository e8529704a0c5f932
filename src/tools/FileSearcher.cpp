#include "tools/FileSearcher.h"

#include "core/CharCase.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

namespace {

// How often a long search asks whether to go on.
constexpr std::size_t kPollBytes = std::size_t{4} << 20;
constexpr std::size_t kPollLines = 32768;
// How many bytes at the start of a search show which literal is rarest.
constexpr std::size_t kSampleBytes = std::size_t{1} << 20;

TMatchFlags EffectiveFlags(std::string_view text, TMatchFlags flags, const TCharSet& delimiters)
{
    if (flags.wholeWords && !flags.regularExpr && ContainsDelimiter(text, delimiters)) {
        flags.wholeWords = false;
    }
    return flags;
}

// Number of bytes equal to `c` in [begin, end). With SSE2 sixteen at a time:
// each compare adds one to a byte counter per hit, and up to 255 rounds are
// summed at once. Otherwise eight at a time: a byte of x = word ^ pattern is
// zero exactly where the word holds c.
std::size_t CountByte(const char* begin, const char* end, char c)
{
    std::size_t count = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    while (end - begin >= 16) {
        const std::size_t rounds = std::min<std::size_t>(static_cast<std::size_t>(end - begin) / 16, 255);
        __m128i counters = _mm_setzero_si128();
        for (std::size_t i = 0; i < rounds; ++i) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(bytes, wanted));
            begin += 16;
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count +=
            static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(c);
    while (end - begin >= 8) {
        std::uint64_t word;
        std::memcpy(&word, begin, 8);
        const std::uint64_t x = word ^ pattern;
        const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
        // Only bit 7 of each matching byte is set: add them up by multiplying.
        count += static_cast<std::size_t>(((zero >> 7) * 0x0101010101010101ull) >> 56);
        begin += 8;
    }
    for (; begin < end; ++begin) {
        count += *begin == c ? 1 : 0;
    }
    return count;
}

// a-z made A-Z, eight bytes at a time. Per byte, adding 0x1F to its low seven
// bits sets bit 7 from 'a' up and adding 0x05 from '{' up; their difference
// marks the lower-case ASCII letters, whose bit 5 is then cleared.
void FoldAsciiUpper(const unsigned char* in, unsigned char* out, std::size_t size)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        const std::uint64_t low = word & kLow7;
        const std::uint64_t fromA = low + 0x1F1F1F1F1F1F1F1Full;
        const std::uint64_t pastZ = low + 0x0505050505050505ull;
        const std::uint64_t lower = (fromA ^ pastZ) & ~word & kHigh;
        word ^= lower >> 2;
        std::memcpy(out + i, &word, 8);
    }
    for (; i < size; ++i) {
        const unsigned char c = in[i];
        out[i] = (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
    }
}

} // namespace

TFileSearcher::TFileSearcher(std::string_view text, TMatchFlags flags, const TCharSet& delimiters)
    : m_matcher(text, EffectiveFlags(text, flags, delimiters), delimiters)
{
    m_foldCase = !flags.caseSensitive;
    m_asciiFold = m_foldCase;
    for (int c = 0; c < 256; ++c) {
        const auto ch = static_cast<unsigned char>(c);
        if (!m_foldCase) {
            m_fold[c] = ch;
        } else if (flags.regularExpr) {
            m_fold[c] = (ch >= 'a' && ch <= 'z') ? static_cast<unsigned char>(ch - 'a' + 'A') : ch;
        } else {
            m_fold[c] = UpperChar(ch);
        }
    }
    // A pattern's literals come from the compiled pattern, already folded
    // the way m_fold folds them.
    std::vector<std::string> needles;
    if (!flags.regularExpr) {
        needles.emplace_back(text);
    } else if (!m_matcher.RegExpr().RequiredLiteral().Empty()) {
        needles.push_back(m_matcher.RegExpr().RequiredLiteral().Needle());
        for (const TLiteralFinder& other : m_matcher.RegExpr().OtherRequiredLiterals()) {
            needles.push_back(other.Needle());
        }
    }
    // The raw scan may fold only a-z when that finds every line the full fold
    // finds: ASCII needles, and no other byte folding onto an ASCII letter.
    const auto asciiFoldAgrees = [this](int c) {
        const unsigned char folded = m_fold[c];
        if (c >= 'a' && c <= 'z') {
            return folded == c - 'a' + 'A';
        }
        return c < 0x80 ? (folded == c || folded >= 0x80) : folded >= 0x80;
    };
    for (int c = 0; c < 256 && m_asciiFold; ++c) {
        m_asciiFold = asciiFoldAgrees(c);
    }
    for (const std::string& needle : needles) {
        if (std::any_of(needle.begin(), needle.end(), [](char c) {
                return static_cast<unsigned char>(c) >= 0x80;
            })) {
            m_asciiFold = false;
        }
    }
    // The scanned bytes are folded already; a tab in them is compared as a
    // blank. A needle with a line break can only be found by the line
    // matcher, which then finds nothing: keep the line scan honest rather
    // than clever.
    unsigned char identity[256];
    unsigned char tabAsBlank[256];
    for (int c = 0; c < 256; ++c) {
        identity[c] = static_cast<unsigned char>(c);
        tabAsBlank[c] = c == '\t' ? ' ' : identity[c];
    }
    for (const std::string& needle : needles) {
        std::string folded;
        for (char c : needle) {
            folded.push_back(static_cast<char>(tabAsBlank[m_fold[static_cast<unsigned char>(c)]]));
        }
        if (folded.find_first_of("\r\n") != std::string::npos) {
            m_literals.clear();
            return;
        }
        const bool blank = folded.find(' ') != std::string::npos;
        m_literals.push_back(
            {TLiteralFinder(folded, blank ? tabAsBlank : identity), folded.find("  ") != std::string::npos});
    }
    if (flags.regularExpr) {
        for (const TRegExpr::TSetRun& run : m_matcher.RegExpr().RequiredSetRuns()) {
            AddSetRun(run);
        }
    }
}

// A run of sets becomes a literal under a fold that maps all members of each
// set (and a tab, with a blank) onto one byte: every place the run matches
// then holds the folded needle. Only the bytes the scanned text can hold
// count as members: no line breaks, and when case is ignored only what m_fold
// leaves as it is (the sets of such a pattern hold both cases).
void TFileSearcher::AddSetRun(const TRegExpr::TSetRun& run)
{
    unsigned char fold[256];
    for (int c = 0; c < 256; ++c) {
        fold[c] = static_cast<unsigned char>(c);
    }
    const auto root = [&](unsigned char c) {
        while (fold[c] != c) {
            c = fold[c];
        }
        return c;
    };
    const auto join = [&](unsigned char a, unsigned char b) {
        const unsigned char ra = root(a);
        const unsigned char rb = root(b);
        fold[std::max(ra, rb)] = std::min(ra, rb);
    };
    const auto isMember = [this](const std::bitset<256>& set, int c) {
        return set[static_cast<std::size_t>(c)] && c != '\r' && c != '\n' && m_fold[c] == c;
    };
    join('\t', ' ');
    bool blankRun = false;
    bool lastHasBlank = false;
    for (const std::bitset<256>& set : run) {
        int first = -1;
        for (int c = 0; c < 256; ++c) {
            if (isMember(set, c)) {
                if (first < 0) {
                    first = c;
                } else {
                    join(static_cast<unsigned char>(first), static_cast<unsigned char>(c));
                }
            }
        }
        if (first < 0) {
            return; // the set matches nothing in a line: leave the run out
        }
        const bool hasBlank = set[' '];
        blankRun = blankRun || (hasBlank && lastHasBlank);
        lastHasBlank = hasBlank;
    }
    for (int c = 0; c < 256; ++c) {
        fold[c] = root(static_cast<unsigned char>(c));
    }
    std::string needle;
    for (const std::bitset<256>& set : run) {
        int member = 0;
        while (!isMember(set, member)) {
            ++member;
        }
        needle.push_back(static_cast<char>(fold[member]));
    }
    m_literals.push_back({TLiteralFinder(needle, fold), blankRun});
}

bool TFileSearcher::MatchLine(std::string_view raw, std::size_t lineIndex, const TOnFileMatch& onMatch)
{
    std::string_view line = raw;
    if (std::memchr(raw.data(), '\t', raw.size()) != nullptr) {
        // Tabs become blanks up to the next stop, in a buffer kept between lines.
        // The runs between tabs are copied whole.
        m_expanded.clear();
        std::size_t at = 0;
        while (at < raw.size()) {
            const void* tab = std::memchr(raw.data() + at, '\t', raw.size() - at);
            const std::size_t end =
                tab ? static_cast<std::size_t>(static_cast<const char*>(tab) - raw.data()) : raw.size();
            m_expanded.append(raw.data() + at, end - at);
            if (tab == nullptr) {
                break;
            }
            const int column = static_cast<int>(std::min<std::size_t>(m_expanded.size(), INT_MAX - 1));
            m_expanded.append(static_cast<std::size_t>(m_stops.NextStop(column) - column), ' ');
            at = end + 1;
        }
        line = m_expanded;
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    bool reported = false;
    std::size_t from = 0;
    while (from <= line.size()) {
        const std::optional<TLineMatch> match = m_matcher.FindForward(line, from);
        if (!match) {
            break;
        }
        // An empty match is a result only as the first one of its line.
        if (match->length > 0 || !reported) {
            reported = true;
            if (!onMatch(TFileMatch{lineIndex, match->position, match->length, line})) {
                return false;
            }
        }
        from = match->position + std::max<std::size_t>(match->length, 1);
    }
    return true;
}

bool TFileSearcher::SearchText(std::string_view text, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing)
{
    if (!IsValid() || text.empty()) {
        return true;
    }
    // A tab may expand to the blank run of a literal that its raw bytes lack.
    const bool hasTab = std::any_of(m_literals.begin(), m_literals.end(), [](const TRawLiteral& literal) {
        return literal.blankRun;
    }) && std::memchr(text.data(), '\t', text.size()) != nullptr;
    m_usable.clear();
    for (const TRawLiteral& literal : m_literals) {
        if (!(literal.blankRun && hasTab)) {
            m_usable.push_back(&literal);
        }
    }
    return m_rawScan && !m_usable.empty() ? ScanCandidates(text, onMatch, keepGoing)
                                          : ScanLines(text, onMatch, keepGoing);
}

void TFileSearcher::SampleLiterals(std::string_view hay)
{
    if (m_literals.size() < 2 || m_sampled >= kSampleBytes) {
        return;
    }
    const std::string_view part = hay.substr(0, kSampleBytes - m_sampled);
    m_sampled += part.size();
    for (TRawLiteral& literal : m_literals) {
        for (std::size_t at = literal.finder.Find(part); at != TLiteralFinder::npos;
             at = literal.finder.Find(part, at + 1)) {
            ++literal.hits;
        }
    }
}

// Looks for the rarest usable literal in the (folded) bytes and matches only
// the lines it occurs in that hold the other literals too. Lines between are
// counted, never split, and only up to a line that is matched.
bool TFileSearcher::ScanCandidates(std::string_view text, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing)
{
    std::string_view hay = text;
    if (m_foldCase) {
        m_folded.resize(text.size());
        const auto* in = reinterpret_cast<const unsigned char*>(text.data());
        auto* out = reinterpret_cast<unsigned char*>(m_folded.data());
        if (m_asciiFold) {
            FoldAsciiUpper(in, out, text.size());
        } else {
            for (std::size_t i = 0; i < text.size(); ++i) {
                out[i] = m_fold[in[i]];
            }
        }
        hay = m_folded;
    }
    SampleLiterals(hay);
    // The rarest, among those the finder scans in parallel when there are any.
    std::iter_swap(m_usable.begin(),
        std::min_element(m_usable.begin(), m_usable.end(), [](const TRawLiteral* a, const TRawLiteral* b) {
            const bool fastA = a->finder.ScansInParallel();
            const bool fastB = b->finder.ScansInParallel();
            return fastA != fastB ? fastA : a->hits < b->hits;
        }));
    const TLiteralFinder& scanned = m_usable.front()->finder;
    const bool hasCR = std::memchr(text.data(), '\r', text.size()) != nullptr;
    const char* base = text.data();
    const std::size_t size = text.size();
    std::size_t lineStartPos = 0; // where the scan goes on, a line start
    std::size_t countedPos = 0; // a line start and its index
    std::size_t countedLine = 0;
    std::size_t lastPoll = 0;
    auto countBreaks = [&](std::size_t from, std::size_t to) {
        if (!hasCR) {
            return CountByte(base + from, base + to, '\n');
        }
        std::size_t n = 0;
        for (std::size_t i = from; i < to; ++i) {
            if (base[i] == '\n' || (base[i] == '\r' && (i + 1 >= size || base[i + 1] != '\n'))) {
                ++n;
            }
        }
        return n;
    };
    while (lineStartPos < size) {
        const std::size_t at = scanned.Find(hay, lineStartPos);
        if (at == TLiteralFinder::npos) {
            break;
        }
        // The hit's line: after the last break before it, up to the next one.
        std::size_t start = lineStartPos;
        if (!hasCR) {
            if (const void* nl = memrchr(base + lineStartPos, '\n', at - lineStartPos)) {
                start = static_cast<std::size_t>(static_cast<const char*>(nl) - base) + 1;
            }
        } else {
            start = at;
            while (start > lineStartPos && base[start - 1] != '\n' && base[start - 1] != '\r') {
                --start;
            }
        }
        std::size_t end = size;
        if (const void* nl = std::memchr(base + at, '\n', size - at)) {
            end = static_cast<std::size_t>(static_cast<const char*>(nl) - base);
        }
        if (hasCR) {
            if (const void* cr = std::memchr(base + at, '\r', end - at)) {
                end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
            }
        }
        const std::string_view folded = hay.substr(start, end - start);
        const bool holdsAll = std::all_of(m_usable.begin() + 1, m_usable.end(), [&](const TRawLiteral* other) {
            return other->finder.Find(folded) != TLiteralFinder::npos;
        });
        if (holdsAll) {
            countedLine += countBreaks(countedPos, start);
            countedPos = start;
            if (!MatchLine(text.substr(start, end - start), countedLine, onMatch)) {
                return false;
            }
        }
        lineStartPos = end + ((end + 1 < size && base[end] == '\r' && base[end + 1] == '\n') ? 2 : 1);
        if (keepGoing && lineStartPos - lastPoll >= kPollBytes) {
            lastPoll = lineStartPos;
            if (!keepGoing()) {
                return false;
            }
        }
    }
    return true;
}

bool TFileSearcher::ScanLines(std::string_view text, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing)
{
    const bool hasCR = text.find('\r') != std::string_view::npos;
    const char* base = text.data();
    const std::size_t size = text.size();
    std::size_t pos = 0;
    std::size_t lineIndex = 0;
    while (pos < size) {
        std::size_t end = size;
        if (const void* nl = std::memchr(base + pos, '\n', size - pos)) {
            end = static_cast<std::size_t>(static_cast<const char*>(nl) - base);
        }
        if (hasCR) {
            if (const void* cr = std::memchr(base + pos, '\r', end - pos)) {
                end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
            }
        }
        if (!MatchLine(text.substr(pos, end - pos), lineIndex, onMatch)) {
            return false;
        }
        ++lineIndex;
        pos = end + ((end + 1 < size && base[end] == '\r' && base[end + 1] == '\n') ? 2 : 1);
        if (keepGoing && lineIndex % kPollLines == 0 && !keepGoing()) {
            return false;
        }
    }
    return true;
}

bool TFileSearcher::ReadRegularFile(const std::filesystem::path& file, std::string& bytes)
{
    bytes.clear();
    // O_NONBLOCK: a FIFO swapped in after the listing must not hang the open.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(bytes.size() * 2); // the file grew while being read
        }
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) {
            break;
        }
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(size);
    return true;
}

bool TFileSearcher::SearchFile(
    const std::filesystem::path& file, const TOnFileMatch& onMatch, const TKeepGoing& keepGoing)
{
    if (!IsValid() || !ReadRegularFile(file, m_readBuffer)) {
        return true;
    }
    return SearchText(m_readBuffer, onMatch, keepGoing);
}

} // namespace quillet
