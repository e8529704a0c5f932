// Charset conversion with built-in tables only. Input is decoded to Unicode
// scalar values and handed one by one (or as runs of ASCII) to an encoder for
// the target charset; decoder and encoder are template parameters so the hot
// loops inline. Single-byte to single-byte goes through one 256-byte table.
#include "core/CharsetConversion.h"

#include "core/CharsetTable.h"
#include "core/CodePages.h"
#include "platform/HugePages.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kByteOrderMark = 0xFEFF;
constexpr char kUnmappable = '_';

enum class TKind { SingleByte, Utf8, Utf7, Utf7Modified, Ucs2BE, Ucs2LE, Ucs4BE, Ucs4LE };

// Charsets outside the list are treated as ISO-8859-1.
int Normalise(int codePage)
{
    return IsListedCP(codePage) ? codePage : kCpIso8859_1;
}

TKind KindOf(int codePage)
{
    switch (codePage) {
    case kCpUtf8:
        return TKind::Utf8;
    case kCpUtf7:
        return TKind::Utf7;
    case kCpUtf7Modified:
        return TKind::Utf7Modified;
    case kCpUcs2BE:
        return TKind::Ucs2BE;
    case kCpUcs2LE:
        return TKind::Ucs2LE;
    case kCpUcs4BE:
        return TKind::Ucs4BE;
    case kCpUcs4LE:
        return TKind::Ucs4LE;
    default:
        return TKind::SingleByte;
    }
}

// Index into kSingleByteUpperHalves; ISO-8859-1 for anything else.
int SingleByteSlot(int codePage)
{
    const int index = GetCPIndex(codePage);
    return index >= 1 && index <= kSingleByteCharsetCount ? index - 1 : 0;
}

// Unicode (BMP) to byte for one single-byte charset; 0 means "not held" for
// characters from U+0080 on. Built on first use.
struct TReverseTable {
    std::array<std::uint8_t, 0x10000> bytes{};
};

const TReverseTable& ReverseTable(int slot)
{
    static std::array<std::once_flag, kSingleByteCharsetCount> once;
    static std::array<std::unique_ptr<TReverseTable>, kSingleByteCharsetCount> tables;
    std::call_once(once[static_cast<std::size_t>(slot)], [slot] {
        auto table = std::make_unique<TReverseTable>();
        for (int i = 0; i < 0x80; ++i) {
            table->bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        }
        // Descending, so that a character listed twice maps to its first byte.
        for (int i = 127; i >= 0; --i) {
            const char16_t u = kSingleByteUpperHalves[slot][i];
            if (u >= 0x80) {
                table->bytes[u] = static_cast<std::uint8_t>(0x80 + i);
            }
        }
        tables[static_cast<std::size_t>(slot)] = std::move(table);
    });
    return *tables[static_cast<std::size_t>(slot)];
}

// Copies a run of bytes; runs in text are mostly short, where a call to
// memcpy costs more than the copy.
inline void CopyRun(char* out, const unsigned char* in, std::size_t n)
{
    if (n > 16) {
        std::memcpy(out, in, n);
    } else if (n >= 8) {
        std::memcpy(out, in, 8);
        std::memcpy(out + n - 8, in + n - 8, 8);
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = static_cast<char>(in[i]);
        }
    }
}

// Growing output buffer; Need(k) makes room for k more bytes.
class TOut {
public:
    explicit TOut(std::size_t expected)
    {
        expected = expected < 64 ? 64 : expected;
        m_bytes.reserve(expected);
        AskForHugePages(m_bytes.data(), expected);
        m_bytes.resize(expected);
    }
    char* Need(std::size_t count)
    {
        if (m_size + count > m_bytes.size()) {
            m_bytes.resize(2 * m_bytes.size() + count);
        }
        return m_bytes.data() + m_size;
    }
    void Advance(std::size_t count) { m_size += count; }
    void Push(char c)
    {
        *Need(1) = c;
        ++m_size;
    }
    std::string Take()
    {
        m_bytes.resize(m_size);
        return std::move(m_bytes);
    }

private:
    std::string m_bytes;
    std::size_t m_size = 0;
};

// ---- Encoders: Put(c) takes one Unicode scalar value, PutAscii a run of
// bytes below 0x80, Finish ends the output.

class TSingleByteEncoder {
public:
    TSingleByteEncoder(int codePage, std::size_t expected)
        : m_reverse(ReverseTable(SingleByteSlot(codePage)))
        , m_out(expected)
    {
    }
    void Put(char32_t c)
    {
        if (c < 0x80) {
            m_out.Push(static_cast<char>(c));
            return;
        }
        const std::uint8_t b = c < 0x10000 ? m_reverse.bytes[c] : 0;
        if (b == 0) {
            lossy = true;
            m_out.Push(kUnmappable);
        } else {
            m_out.Push(static_cast<char>(b));
        }
    }
    void PutAscii(const unsigned char* p, std::size_t n)
    {
        CopyRun(m_out.Need(n), p, n);
        m_out.Advance(n);
    }
    std::string Finish() { return m_out.Take(); }
    bool lossy = false;

private:
    const TReverseTable& m_reverse;
    TOut m_out;
};

class TUtf8Encoder {
public:
    explicit TUtf8Encoder(std::size_t expected)
        : m_out(expected)
    {
    }
    void Put(char32_t c)
    {
        char* p = m_out.Need(4);
        if (c < 0x80) {
            p[0] = static_cast<char>(c);
            m_out.Advance(1);
        } else if (c < 0x800) {
            p[0] = static_cast<char>(0xC0 | (c >> 6));
            p[1] = static_cast<char>(0x80 | (c & 0x3F));
            m_out.Advance(2);
        } else if (c < 0x10000) {
            p[0] = static_cast<char>(0xE0 | (c >> 12));
            p[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            p[2] = static_cast<char>(0x80 | (c & 0x3F));
            m_out.Advance(3);
        } else {
            p[0] = static_cast<char>(0xF0 | (c >> 18));
            p[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            p[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            p[3] = static_cast<char>(0x80 | (c & 0x3F));
            m_out.Advance(4);
        }
    }
    void PutAscii(const unsigned char* p, std::size_t n)
    {
        CopyRun(m_out.Need(n), p, n);
        m_out.Advance(n);
    }
    std::string Finish() { return m_out.Take(); }
    bool lossy = false;

private:
    TOut m_out;
};

// UCS-2 output writes characters beyond U+FFFF as surrogate pairs rather than
// losing them.
template <bool BigEndian> class TUcs2Encoder {
public:
    explicit TUcs2Encoder(std::size_t expected)
        : m_out(expected)
    {
    }
    void Put(char32_t c)
    {
        if (c >= 0x10000) {
            c -= 0x10000;
            PutUnit(static_cast<std::uint16_t>(0xD800 + (c >> 10)));
            PutUnit(static_cast<std::uint16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            PutUnit(static_cast<std::uint16_t>(c));
        }
    }
    void PutAscii(const unsigned char* p, std::size_t n)
    {
        char* q = m_out.Need(2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            q[2 * i + (BigEndian ? 0 : 1)] = 0;
            q[2 * i + (BigEndian ? 1 : 0)] = static_cast<char>(p[i]);
        }
        m_out.Advance(2 * n);
    }
    std::string Finish() { return m_out.Take(); }
    bool lossy = false;

private:
    void PutUnit(std::uint16_t u)
    {
        char* q = m_out.Need(2);
        q[BigEndian ? 0 : 1] = static_cast<char>(u >> 8);
        q[BigEndian ? 1 : 0] = static_cast<char>(u & 0xFF);
        m_out.Advance(2);
    }
    TOut m_out;
};

template <bool BigEndian> class TUcs4Encoder {
public:
    explicit TUcs4Encoder(std::size_t expected)
        : m_out(expected)
    {
    }
    void Put(char32_t c)
    {
        char* q = m_out.Need(4);
        for (int i = 0; i < 4; ++i) {
            const int shift = BigEndian ? 24 - 8 * i : 8 * i;
            q[i] = static_cast<char>((c >> shift) & 0xFF);
        }
        m_out.Advance(4);
    }
    void PutAscii(const unsigned char* p, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            Put(p[i]);
        }
    }
    std::string Finish() { return m_out.Take(); }
    bool lossy = false;

private:
    TOut m_out;
};

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kBase64Modified = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";

// UTF-7 (RFC 2152) and its modified form for mailbox names (RFC 3501). Tab,
// CR and LF stay direct in the modified form too, so a text file keeps its
// lines.
template <bool Modified> class TUtf7Encoder {
public:
    explicit TUtf7Encoder(std::size_t expected)
        : m_out(expected)
    {
    }
    void Put(char32_t c)
    {
        if (IsDirect(c)) {
            EndBase64();
            m_out.Push(static_cast<char>(c));
            if (c == kShift) {
                m_out.Push('-');
            }
            return;
        }
        if (!m_inBase64) {
            m_out.Push(kShift);
            m_inBase64 = true;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            PutUnit(0xD800 + (c >> 10));
            PutUnit(0xDC00 + (c & 0x3FF));
        } else {
            PutUnit(c);
        }
    }
    void PutAscii(const unsigned char* p, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            Put(p[i]);
        }
    }
    std::string Finish()
    {
        EndBase64();
        return m_out.Take();
    }
    bool lossy = false;

private:
    static constexpr char kShift = Modified ? '&' : '+';

    static bool IsDirect(char32_t c)
    {
        if (c == '\t' || c == '\r' || c == '\n') {
            return true;
        }
        if (Modified) {
            return c >= 0x20 && c <= 0x7E;
        }
        if (c == '\\' || c == '~') {
            return false;
        }
        return c >= 0x20 && c <= 0x7D;
    }
    void PutUnit(char32_t unit)
    {
        const std::string_view alphabet = Modified ? kBase64Modified : kBase64;
        m_bits = (m_bits << 16) | (unit & 0xFFFF);
        m_bitCount += 16;
        while (m_bitCount >= 6) {
            m_bitCount -= 6;
            m_out.Push(alphabet[(m_bits >> m_bitCount) & 0x3F]);
        }
        m_bits &= (1u << m_bitCount) - 1;
    }
    void EndBase64()
    {
        if (!m_inBase64) {
            return;
        }
        const std::string_view alphabet = Modified ? kBase64Modified : kBase64;
        if (m_bitCount > 0) {
            m_out.Push(alphabet[(m_bits << (6 - m_bitCount)) & 0x3F]);
        }
        m_out.Push('-');
        m_bits = 0;
        m_bitCount = 0;
        m_inBase64 = false;
    }

    TOut m_out;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
    bool m_inBase64 = false;
};

// ---- Decoders: each calls Emit for every character (U+FEFF dropped) and
// sets lossy for malformed input, which it replaces with U+FFFD.

template <class TEncoder> inline void Emit(TEncoder& enc, char32_t c)
{
    if (c != kByteOrderMark) {
        enc.Put(c);
    }
}

// Length of the run of bytes below 0x80 starting at p.
inline std::size_t AsciiRun(const unsigned char* p, const unsigned char* end)
{
    const unsigned char* q = p;
    while (end - q >= 8) {
        std::uint64_t word;
        std::memcpy(&word, q, 8);
        if (word & 0x8080808080808080ULL) {
            break;
        }
        q += 8;
    }
    while (q < end && *q < 0x80) {
        ++q;
    }
    return static_cast<std::size_t>(q - p);
}

template <class TEncoder> void DecodeSingleByte(std::string_view in, int codePage, TEncoder& enc, bool&)
{
    const char16_t* upper = kSingleByteUpperHalves[SingleByteSlot(codePage)];
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* end = p + in.size();
    while (p < end) {
        const std::size_t run = AsciiRun(p, end);
        if (run > 0) {
            enc.PutAscii(p, run);
            p += run;
            continue;
        }
        Emit(enc, upper[*p - 0x80]);
        ++p;
    }
}

inline bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Malformed sequences become one U+FFFD per maximal invalid subpart, as the
// Unicode standard recommends: overlong forms, surrogates, values beyond
// U+10FFFF and truncated sequences never pass as characters.
template <class TEncoder> void DecodeUtf8(std::string_view in, TEncoder& enc, bool& lossy)
{
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* end = p + in.size();
    const auto bad = [&](std::size_t skip) {
        lossy = true;
        enc.Put(kReplacement);
        p += skip;
    };
    while (p < end) {
        const std::size_t run = AsciiRun(p, end);
        if (run > 0) {
            enc.PutAscii(p, run);
            p += run;
            continue;
        }
        const unsigned char b = p[0];
        const std::ptrdiff_t left = end - p;
        if (b < 0xC2) {
            bad(1);
        } else if (b < 0xE0) {
            if (left >= 2 && IsContinuation(p[1])) {
                Emit(enc, (char32_t(b & 0x1F) << 6) | (p[1] & 0x3F));
                p += 2;
            } else {
                bad(1);
            }
        } else if (b < 0xF0) {
            const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80;
            const unsigned char hi = b == 0xED ? 0x9F : 0xBF;
            if (left < 2 || p[1] < lo || p[1] > hi) {
                bad(1);
            } else if (left < 3 || !IsContinuation(p[2])) {
                bad(2);
            } else {
                Emit(enc, (char32_t(b & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F));
                p += 3;
            }
        } else if (b < 0xF5) {
            const unsigned char lo = b == 0xF0 ? 0x90 : 0x80;
            const unsigned char hi = b == 0xF4 ? 0x8F : 0xBF;
            if (left < 2 || p[1] < lo || p[1] > hi) {
                bad(1);
            } else if (left < 3 || !IsContinuation(p[2])) {
                bad(2);
            } else if (left < 4 || !IsContinuation(p[3])) {
                bad(3);
            } else {
                Emit(enc,
                    (char32_t(b & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6)
                        | (p[3] & 0x3F));
                p += 4;
            }
        } else {
            bad(1);
        }
    }
}

// Joins UTF-16 units into characters; a surrogate without its partner becomes
// U+FFFD.
template <class TEncoder> class TSurrogateJoiner {
public:
    TSurrogateJoiner(TEncoder& enc, bool& lossy)
        : m_enc(enc)
        , m_lossy(lossy)
    {
    }
    void Unit(char32_t u)
    {
        if (u >= 0xD800 && u <= 0xDBFF) {
            Flush();
            m_high = u;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            if (m_high != 0) {
                Emit(m_enc, 0x10000 + ((m_high - 0xD800) << 10) + (u - 0xDC00));
                m_high = 0;
            } else {
                Bad();
            }
        } else {
            Flush();
            Emit(m_enc, u);
        }
    }
    // Ends a pending high surrogate.
    void Flush()
    {
        if (m_high != 0) {
            m_high = 0;
            Bad();
        }
    }
    void Bad()
    {
        m_lossy = true;
        m_enc.Put(kReplacement);
    }

private:
    TEncoder& m_enc;
    bool& m_lossy;
    char32_t m_high = 0;
};

template <class TEncoder> void DecodeUcs2(std::string_view in, bool bigEndian, TEncoder& enc, bool& lossy)
{
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t pairs = in.size() / 2;
    TSurrogateJoiner<TEncoder> joiner(enc, lossy);
    std::size_t i = 0;
    while (i < pairs) {
        // Runs of ASCII units reach the encoder in batches.
        unsigned char batch[256];
        std::size_t n = 0;
#if defined(__SSE2__)
        if (!bigEndian) {
            // Eight little-endian units at a time while all are below 0x80.
            const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
            while (pairs - i >= 8 && sizeof batch - n >= 8) {
                const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const __m128i high = _mm_cmpeq_epi16(_mm_and_si128(units, notAscii), _mm_setzero_si128());
                if (_mm_movemask_epi8(high) != 0xFFFF) {
                    break;
                }
                _mm_storel_epi64(reinterpret_cast<__m128i*>(batch + n), _mm_packus_epi16(units, units));
                n += 8;
                p += 16;
                i += 8;
            }
        }
#endif
        while (i < pairs && n < sizeof batch) {
            const unsigned char high = bigEndian ? p[0] : p[1];
            const unsigned char low = bigEndian ? p[1] : p[0];
            if (high != 0 || low >= 0x80) {
                break;
            }
            batch[n++] = low;
            p += 2;
            ++i;
        }
        if (n > 0) {
            joiner.Flush();
            enc.PutAscii(batch, n);
            continue;
        }
        const char32_t u = bigEndian ? (char32_t(p[0]) << 8 | p[1]) : (char32_t(p[1]) << 8 | p[0]);
        p += 2;
        ++i;
        if (u == 0xFFFE) {
            bigEndian = !bigEndian;
        } else {
            joiner.Unit(u);
        }
    }
    joiner.Flush();
    if (in.size() % 2 != 0) {
        joiner.Bad();
    }
}

template <class TEncoder> void DecodeUcs4(std::string_view in, bool bigEndian, TEncoder& enc, bool& lossy)
{
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const std::size_t units = in.size() / 4;
    for (std::size_t i = 0; i < units; ++i, p += 4) {
        const char32_t u = bigEndian ? (char32_t(p[0]) << 24 | char32_t(p[1]) << 16 | char32_t(p[2]) << 8 | p[3])
                                     : (char32_t(p[3]) << 24 | char32_t(p[2]) << 16 | char32_t(p[1]) << 8 | p[0]);
        // U+FFFE, or a byte-order mark read in the other order: the rest is
        // in the other byte order.
        if (u == 0xFFFE || u == 0xFFFE0000) {
            bigEndian = !bigEndian;
        } else if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
            lossy = true;
            enc.Put(kReplacement);
        } else {
            Emit(enc, u);
        }
    }
    if (in.size() % 4 != 0) {
        lossy = true;
        enc.Put(kReplacement);
    }
}

template <class TEncoder> void DecodeUtf7(std::string_view in, bool modified, TEncoder& enc, bool& lossy)
{
    const char shift = modified ? '&' : '+';
    const std::string_view alphabet = modified ? kBase64Modified : kBase64;
    std::array<int, 256> value;
    value.fill(-1);
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        value[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    }
    TSurrogateJoiner<TEncoder> joiner(enc, lossy);
    bool inBase64 = false;
    std::uint32_t bits = 0;
    int bitCount = 0;
    const auto endBase64 = [&] {
        // Leftover bits must be fewer than six and zero; "&-"-style empty
        // runs are allowed only as the escape for the shift character.
        if (bitCount >= 6 || (bits & ((1u << bitCount) - 1)) != 0) {
            joiner.Bad();
        }
        joiner.Flush();
        inBase64 = false;
        bits = 0;
        bitCount = 0;
    };
    std::size_t i = 0;
    while (i < in.size()) {
        const unsigned char b = static_cast<unsigned char>(in[i]);
        if (inBase64) {
            const int v = value[b];
            if (v >= 0) {
                bits = (bits << 6) | static_cast<std::uint32_t>(v);
                bitCount += 6;
                if (bitCount >= 16) {
                    bitCount -= 16;
                    joiner.Unit((bits >> bitCount) & 0xFFFF);
                }
                bits &= (1u << bitCount) - 1;
                ++i;
                continue;
            }
            endBase64();
            if (b == '-') {
                ++i;
                continue;
            }
            // Any other byte ends the run and is read as direct text.
        }
        if (b == static_cast<unsigned char>(shift)) {
            if (i + 1 < in.size() && in[i + 1] == '-') {
                joiner.Unit(static_cast<char32_t>(shift));
                i += 2;
                continue;
            }
            inBase64 = true;
            ++i;
            continue;
        }
        if (b < 0x80) {
            enc.PutAscii(&b, 1);
        } else {
            joiner.Bad();
        }
        ++i;
    }
    if (inBase64) {
        endBase64();
    }
}

template <class TEncoder> void Decode(std::string_view in, int fromCodePage, TEncoder& enc, bool& lossy)
{
    switch (KindOf(fromCodePage)) {
    case TKind::SingleByte:
        DecodeSingleByte(in, fromCodePage, enc, lossy);
        break;
    case TKind::Utf8:
        DecodeUtf8(in, enc, lossy);
        break;
    case TKind::Utf7:
        DecodeUtf7(in, false, enc, lossy);
        break;
    case TKind::Utf7Modified:
        DecodeUtf7(in, true, enc, lossy);
        break;
    case TKind::Ucs2BE:
        DecodeUcs2(in, true, enc, lossy);
        break;
    case TKind::Ucs2LE:
        DecodeUcs2(in, false, enc, lossy);
        break;
    case TKind::Ucs4BE:
        DecodeUcs4(in, true, enc, lossy);
        break;
    case TKind::Ucs4LE:
        DecodeUcs4(in, false, enc, lossy);
        break;
    }
}

template <class TEncoder> TConversion Run(std::string_view in, int fromCodePage, TEncoder enc)
{
    TConversion result;
    Decode(in, fromCodePage, enc, result.lossy);
    result.lossy = result.lossy || enc.lossy;
    result.bytes = enc.Finish();
    return result;
}

TConversion SingleByteToSingleByte(std::string_view in, int fromCodePage, int toCodePage)
{
    const char16_t* upper = kSingleByteUpperHalves[SingleByteSlot(fromCodePage)];
    const TReverseTable& reverse = ReverseTable(SingleByteSlot(toCodePage));
    std::array<unsigned char, 256> map{};
    std::array<unsigned char, 256> lost{};
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80) {
            map[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
            continue;
        }
        const char16_t u = upper[b - 0x80];
        const std::uint8_t to = u < 0x80 ? static_cast<std::uint8_t>(u) : reverse.bytes[u];
        map[static_cast<std::size_t>(b)] = to != 0 || u == 0 ? to : static_cast<unsigned char>(kUnmappable);
        lost[static_cast<std::size_t>(b)] = to == 0 && u != 0;
    }
    TConversion result;
    result.bytes.resize(in.size());
    unsigned char anyLost = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    for (std::size_t i = 0; i < in.size(); ++i) {
        result.bytes[i] = static_cast<char>(map[p[i]]);
        anyLost |= lost[p[i]];
    }
    result.lossy = anyLost != 0;
    return result;
}

} // namespace

TConversion ConvertCharset(std::string_view bytes, int fromCodePage, int toCodePage)
{
    fromCodePage = Normalise(fromCodePage);
    toCodePage = Normalise(toCodePage);
    if (fromCodePage == toCodePage) {
        return TConversion{std::string(bytes), false};
    }
    const TKind to = KindOf(toCodePage);
    if (KindOf(fromCodePage) == TKind::SingleByte && to == TKind::SingleByte) {
        return SingleByteToSingleByte(bytes, fromCodePage, toCodePage);
    }
    const std::size_t n = bytes.size();
    switch (to) {
    case TKind::SingleByte:
        return Run(bytes, fromCodePage, TSingleByteEncoder(toCodePage, n));
    case TKind::Utf8:
        return Run(bytes, fromCodePage, TUtf8Encoder(n + n / 2));
    case TKind::Utf7:
        return Run(bytes, fromCodePage, TUtf7Encoder<false>(n + n / 2));
    case TKind::Utf7Modified:
        return Run(bytes, fromCodePage, TUtf7Encoder<true>(n + n / 2));
    case TKind::Ucs2BE:
        return Run(bytes, fromCodePage, TUcs2Encoder<true>(2 * n));
    case TKind::Ucs2LE:
        return Run(bytes, fromCodePage, TUcs2Encoder<false>(2 * n));
    case TKind::Ucs4BE:
        return Run(bytes, fromCodePage, TUcs4Encoder<true>(4 * n));
    case TKind::Ucs4LE:
        return Run(bytes, fromCodePage, TUcs4Encoder<false>(4 * n));
    }
    return TConversion{std::string(bytes), false};
}

std::string CharsetConversion(std::string_view bytes, int fromCodePage, int toCodePage)
{
    return ConvertCharset(bytes, fromCodePage, toCodePage).bytes;
}

std::string_view ByteOrderMark(int codePage)
{
    using namespace std::string_view_literals;
    switch (codePage) {
    case kCpUcs2BE:
        return "\xFE\xFF"sv;
    case kCpUcs2LE:
        return "\xFF\xFE"sv;
    case kCpUcs4BE:
        return "\x00\x00\xFE\xFF"sv;
    case kCpUcs4LE:
        return "\xFF\xFE\x00\x00"sv;
    case kCpUtf8:
        return "\xEF\xBB\xBF"sv;
    default:
        return {};
    }
}

char32_t SingleByteToUnicode(int codePage, unsigned char byte)
{
    if (byte < 0x80) {
        return byte;
    }
    return kSingleByteUpperHalves[SingleByteSlot(codePage)][byte - 0x80];
}

int UnicodeToSingleByte(int codePage, char32_t character)
{
    if (character < 0x80) {
        return static_cast<int>(character);
    }
    if (character >= 0x10000) {
        return -1;
    }
    const std::uint8_t b = ReverseTable(SingleByteSlot(codePage)).bytes[character];
    return b == 0 ? -1 : b;
}

} // namespace quillet
