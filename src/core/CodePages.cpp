// The code page list, charset identifiers and the system code page.
#include "core/CodePages.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>

namespace quillet {

namespace {

struct TCodePageEntry {
    std::string_view displayName;
    int codePage;
    std::string_view id;
};

// Entry 0 stands for the system code page and is resolved at run time.
constexpr std::array<TCodePageEntry, kCodePageCount> kCodePages = {{
    {kWithoutConversionDefault, 0, ""},
    {"ISO_8859_1 (Latin-1)", kCpIso8859_1, "ISO-8859-1"},
    {"ISO_8859_2 (Latin-2)", kCpIso8859_2, "ISO-8859-2"},
    {"ISO_8859_3 (Latin-3)", kCpIso8859_3, "ISO-8859-3"},
    {"ISO_8859_4 (Latin-4)", kCpIso8859_4, "ISO-8859-4"},
    {"ISO_8859_5 (Cyrillic)", kCpIso8859_5, "ISO-8859-5"},
    {"ISO_8859_6 (Arabic)", kCpIso8859_6, "ISO-8859-6"},
    {"ISO_8859_7 (Greek)", kCpIso8859_7, "ISO-8859-7"},
    {"ISO_8859_8 (Hebrew)", kCpIso8859_8, "ISO_8859-8"},
    {"ISO_8859_9 (Latin-5)", kCpIso8859_9, "ISO-8859-9"},
    {"ISO_8859_10 (Latin-6)", kCpIso8859_10, "ISO-8859-10"},
    {"ISO_8859_13", kCpIso8859_13, "ISO-8859-13"},
    {"ISO_8859_14", kCpIso8859_14, "ISO-8859-14"},
    {"ISO_8859_15", kCpIso8859_15, "ISO-8859-15"},
    {"CP1250 (Eastern European)", kCpWindows1250, "WINDOWS-1250"},
    {"CP1251 (Cyrillic)", kCpWindows1251, "WINDOWS-1251"},
    {"CP1252 (Latin-1, US, Western Europe)", kCpWindows1252, "WINDOWS-1252"},
    {"CP1253 (Greek)", kCpWindows1253, "WINDOWS-1253"},
    {"CP1254 (Turkish)", kCpWindows1254, "WINDOWS-1254"},
    {"CP1255 (Hebrew)", kCpWindows1255, "WINDOWS-1255"},
    {"CP1256 (Arabic)", kCpWindows1256, "WINDOWS-1256"},
    {"CP1257 (Baltic)", kCpWindows1257, "WINDOWS-1257"},
    {"CP1258 (Vietnamese)", kCpWindows1258, "WINDOWS-1258"},
    {"KOI8_R (Cyrillic)", kCpKoi8R, "KOI8-R"},
    {"CP895 (Czech-Kamenicky)", kCpKamenicky, "CP-895"},
    {"CP852 (Eastern European)", kCpDos852, "852"},
    {"UCS_2", kCpUcs2BE, "ISO-10646-UCS-2"},
    {"UCS_4", kCpUcs4BE, "ISO-10646-UCS-4"},
    {"UTF_8", kCpUtf8, "UTF-8"},
    {"UTF_7", kCpUtf7, "UNICODE-1-1-UTF-7"},
    {"UTF_7mod", kCpUtf7Modified, "mUTF-7"},
    {"UCS_2LE", kCpUcs2LE, "UCS-2LE"},
    {"UCS_4LE", kCpUcs4LE, "UCS-4LE"},
}};

// Words accepted for each listed charset, matched whole after upper-casing.
struct TAlias {
    int codePage;
    std::string_view words; // blank-separated
};

constexpr TAlias kAliases[] = {
    {kCpIso8859_1,
        "ISO-8859-1 CP819 IBM819 ISO-IR-100 ISO8859-1 ISO_8859-1 ISO_8859-1:1987 L1 LATIN1 CSISOLATIN1 "
        "US-ASCII ANSI_X3.4-1968 ANSI_X3.4-1986 ASCII CP367 IBM367 ISO-IR-6 ISO646-US ISO_646.IRV:1991 US CSASCII "
        "850 CP850 IBM850 CSPC850MULTILINGUAL 437 CP437 IBM437 CSPC8CODEPAGE437"},
    {kCpIso8859_2, "ISO-8859-2 ISO8859-2 ISO_8859-2 ISO_8859-2:1987 ISO-IR-101 L2 LATIN2 CSISOLATIN2"},
    {kCpIso8859_3, "ISO-8859-3 ISO8859-3 ISO_8859-3 ISO_8859-3:1988 ISO-IR-109 L3 LATIN3 CSISOLATIN3"},
    {kCpIso8859_4, "ISO-8859-4 ISO8859-4 ISO_8859-4 ISO_8859-4:1988 ISO-IR-110 L4 LATIN4 CSISOLATIN4"},
    {kCpIso8859_5, "ISO-8859-5 ISO8859-5 ISO_8859-5 ISO_8859-5:1988 ISO-IR-144 CYRILLIC CSISOLATINCYRILLIC"},
    {kCpIso8859_6,
        "ISO-8859-6 ISO8859-6 ISO_8859-6 ISO_8859-6:1987 ISO-IR-127 ARABIC ASMO-708 ECMA-114 CSISOLATINARABIC"},
    {kCpIso8859_7,
        "ISO-8859-7 ISO8859-7 ISO_8859-7 ISO_8859-7:1987 ISO_8859-7:2003 ISO-IR-126 ECMA-118 ELOT_928 GREEK GREEK8 "
        "CSISOLATINGREEK"},
    {kCpIso8859_8, "ISO-8859-8 ISO8859-8 ISO_8859-8 ISO_8859-8:1988 ISO-IR-138 HEBREW CSISOLATINHEBREW"},
    {kCpIso8859_9, "ISO-8859-9 ISO8859-9 ISO_8859-9 ISO_8859-9:1989 ISO-IR-148 L5 LATIN5 CSISOLATIN5"},
    {kCpIso8859_10, "ISO-8859-10 ISO8859-10 ISO_8859-10 ISO_8859-10:1992 ISO-IR-157 L6 LATIN6 CSISOLATIN6"},
    {kCpIso8859_13, "ISO-8859-13 ISO8859-13 ISO_8859-13 ISO-IR-179 L7 LATIN7 CSISO885913"},
    {kCpIso8859_14, "ISO-8859-14 ISO8859-14 ISO_8859-14 ISO_8859-14:1998 ISO-IR-199 L8 LATIN8 ISO-CELTIC CSISO885914"},
    {kCpIso8859_15, "ISO-8859-15 ISO8859-15 ISO_8859-15 ISO_8859-15:1998 ISO-IR-203 L9 LATIN9 LATIN-9 CSISO885915"},
    {kCpWindows1250, "WINDOWS-1250 CP1250 MS-EE"},
    {kCpWindows1251, "WINDOWS-1251 CP1251 MS-CYRL"},
    {kCpWindows1252, "WINDOWS-1252 CP1252 MS-ANSI"},
    {kCpWindows1253, "WINDOWS-1253 CP1253 MS-GREEK"},
    {kCpWindows1254, "WINDOWS-1254 CP1254 MS-TURK"},
    {kCpWindows1255, "WINDOWS-1255 CP1255 MS-HEBR"},
    {kCpWindows1256, "WINDOWS-1256 CP1256 MS-ARAB"},
    {kCpWindows1257, "WINDOWS-1257 CP1257 WINBALTRIM"},
    {kCpWindows1258, "WINDOWS-1258 CP1258"},
    {kCpKoi8R, "KOI8-R CSKOI8R"},
    {kCpDos852, "852 CP852 IBM852 CSPCP852"},
    {kCpUcs2BE, "ISO-10646-UCS-2 UCS-2 CSUNICODE UCS-2BE UNICODE-1-1 UNICODEBIG CSUNICODE11"},
    {kCpUcs2LE, "UCS-2LE UNICODELITTLE"},
    {kCpUcs4BE, "ISO-10646-UCS-4 UCS-4 CSUCS4 UCS-4BE"},
    {kCpUcs4LE, "UCS-4LE"},
    {kCpUtf8, "UTF-8"},
    {kCpUtf7, "UNICODE-1-1-UTF-7 UTF-7 CSUNICODE11UTF7"},
};

// Charsets known by name that the list does not offer; they select entry 0.
constexpr std::string_view kUnlistedWords =
    "UTF-16 UTF-16BE UTF-16LE UTF-32 UTF-32BE UTF-32LE UCS-2-INTERNAL UCS-2-SWAPPED UCS-4-INTERNAL UCS-4-SWAPPED "
    "UNICODE UNICODEFFFE UTF-7-IMAP C99 JAVA "
    "ISO-8859-11 ISO8859-11 ISO_8859-11 ISO-8859-16 ISO8859-16 ISO_8859-16 ISO_8859-16:2001 ISO-IR-226 L10 LATIN10 "
    "KOI8-U KOI8-RU KOI8-T CSKOI8U PT154 RK1048 TIS-620 TIS620 CP874 WINDOWS-874 VISCII TCVN ARMSCII-8 GEORGIAN-PS "
    "GEORGIAN-ACADEMY CP1133 MULELAO-1 "
    "CP737 CP775 IBM775 855 CP855 IBM855 857 CP857 IBM857 858 CP858 860 CP860 IBM860 861 CP861 IBM861 862 CP862 "
    "IBM862 863 CP863 IBM863 864 CP864 IBM864 865 CP865 IBM865 866 CP866 IBM866 869 CP869 IBM869 CP1125 CP1131 "
    "MAC MACINTOSH CSMACINTOSH MACROMAN MACCENTRALEUROPE MACICELAND MACCROATIAN MACROMANIA MACCYRILLIC MACUKRAINE "
    "MACGREEK MACTURKISH MACHEBREW MACARABIC MACTHAI X-MAC-ROMAN X-MAC-CYRILLIC X-MAC-CE "
    "SHIFT_JIS SHIFT-JIS SJIS MS_KANJI CSSHIFTJIS CP932 WINDOWS-31J EUC-JP EUCJP EUC-JISX0213 ISO-2022-JP "
    "ISO-2022-JP-1 ISO-2022-JP-2 ISO-2022-JP-3 CSISO2022JP GB2312 EUC-CN EUCCN CSGB2312 GBK CP936 GB18030 HZ "
    "HZ-GB-2312 ISO-2022-CN ISO-2022-CN-EXT BIG5 BIG-5 CN-BIG5 CSBIG5 CP950 BIG5-HKSCS EUC-TW EUC-KR EUCKR "
    "CSEUCKR CP949 UHC JOHAB ISO-2022-KR CSISO2022KR";

std::atomic<int> g_systemCodePage{kCpWindows1252};

std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return out;
}

std::string_view Trim(std::string_view text)
{
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// True when word occurs in the blank-separated list as a whole word.
bool HasWord(std::string_view list, std::string_view word)
{
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find(' ', pos);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        if (list.substr(pos, end - pos) == word) {
            return true;
        }
        pos = end + 1;
    }
    return false;
}

int LanguageCodePage(std::string_view locale)
{
    // "cs_CZ.UTF-8@euro", "sr-Latn-RS", "C": the language is the leading
    // letters; a Latin-script modifier moves Serbian to Central European.
    std::string lower;
    for (char c : locale) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::size_t end = 0;
    while (end < lower.size() && lower[end] >= 'a' && lower[end] <= 'z') {
        ++end;
    }
    const std::string lang = lower.substr(0, end);
    const bool latinScript = lower.find("@latin") != std::string::npos || lower.find("-latn") != std::string::npos
        || lower.find("_latn") != std::string::npos;
    const bool cyrillicScript = lower.find("-cyrl") != std::string::npos || lower.find("_cyrl") != std::string::npos
        || lower.find("@cyrillic") != std::string::npos;

    static constexpr std::string_view kCentral = "cs sk pl hu sl hr bs ro sq hsb dsb";
    static constexpr std::string_view kCyrillic = "ru uk be bg mk kk ky tg mn tt ba sah cv os";
    static constexpr std::string_view kTurkic = "tr az uz";
    if (lang.empty()) {
        return kCpWindows1252;
    }
    if (lang == "sr") {
        return latinScript ? kCpWindows1250 : kCpWindows1251;
    }
    if ((lang == "az" || lang == "uz") && cyrillicScript) {
        return kCpWindows1251;
    }
    if (HasWord(kCentral, lang)) {
        return kCpWindows1250;
    }
    if (HasWord(kCyrillic, lang)) {
        return kCpWindows1251;
    }
    if (lang == "el") {
        return kCpWindows1253;
    }
    if (HasWord(kTurkic, lang)) {
        return kCpWindows1254;
    }
    if (lang == "he" || lang == "iw" || lang == "yi") {
        return kCpWindows1255;
    }
    if (HasWord("ar fa ur ps ug ckb sd", lang)) {
        return kCpWindows1256;
    }
    if (HasWord("lt lv et", lang)) {
        return kCpWindows1257;
    }
    if (lang == "vi") {
        return kCpWindows1258;
    }
    return kCpWindows1252;
}

} // namespace

int GetCodePage(int index)
{
    if (index <= 0 || index >= kCodePageCount) {
        return GetSystemCodePage();
    }
    return kCodePages[static_cast<std::size_t>(index)].codePage;
}

std::string GetCodePageStr(int index)
{
    if (index <= 0 || index >= kCodePageCount) {
        return std::string(kWithoutConversionDefault);
    }
    return std::string(kCodePages[static_cast<std::size_t>(index)].displayName);
}

int GetCPIndex(int codePage)
{
    for (int i = 1; i < kCodePageCount; ++i) {
        if (kCodePages[static_cast<std::size_t>(i)].codePage == codePage) {
            return i;
        }
    }
    return 0;
}

int GetDefaultCP()
{
    return GetCPIndex(GetSystemCodePage());
}

TCharsetLookup LookupCharsetID(std::string_view id)
{
    const std::string word = Upper(Trim(id));
    TCharsetLookup result;
    if (word.find("KAMENICKY") != std::string::npos || word.find("895") != std::string::npos) {
        result.kind = TCharsetLookup::TKind::Listed;
        result.codePage = kCpKamenicky;
        return result;
    }
    if (word.find("MUTF-7") != std::string::npos) {
        result.kind = TCharsetLookup::TKind::Listed;
        result.codePage = kCpUtf7Modified;
        return result;
    }
    if (word.empty() || word.find(' ') != std::string::npos) {
        return result;
    }
    for (const TAlias& alias : kAliases) {
        if (HasWord(alias.words, word)) {
            result.kind = TCharsetLookup::TKind::Listed;
            result.codePage = alias.codePage;
            return result;
        }
    }
    if (HasWord(kUnlistedWords, word)) {
        result.kind = TCharsetLookup::TKind::KnownUnlisted;
    }
    return result;
}

int GetCPFromID(std::string_view id)
{
    const TCharsetLookup found = LookupCharsetID(id);
    switch (found.kind) {
    case TCharsetLookup::TKind::Listed:
        return found.codePage;
    case TCharsetLookup::TKind::KnownUnlisted:
        return GetSystemCodePage();
    case TCharsetLookup::TKind::Unknown:
        break;
    }
    return kCpIso8859_1;
}

std::string GetIDFromCP(int codePage)
{
    const int index = GetCPIndex(codePage);
    if (index == 0) {
        return "ISO-8859-1";
    }
    return std::string(kCodePages[static_cast<std::size_t>(index)].id);
}

bool IsListedCP(int codePage)
{
    return GetCPIndex(codePage) != 0;
}

bool IsSingleByteCP(int codePage)
{
    const int index = GetCPIndex(codePage);
    return index >= 1 && index <= 25;
}

int GetSystemCodePage()
{
    return g_systemCodePage.load(std::memory_order_relaxed);
}

bool SetSystemCodePage(int codePage)
{
    if (!IsSingleByteCP(codePage)) {
        return false;
    }
    g_systemCodePage.store(codePage, std::memory_order_relaxed);
    return true;
}

int ChooseSystemCodePage(std::optional<std::string_view> envValue, std::string_view localeName)
{
    if (envValue) {
        const TCharsetLookup found = LookupCharsetID(*envValue);
        if (found.kind == TCharsetLookup::TKind::Listed && IsSingleByteCP(found.codePage)) {
            return found.codePage;
        }
    }
    return LanguageCodePage(localeName);
}

} // namespace quillet
