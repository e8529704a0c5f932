#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Charsets are identified by integer code page numbers. The single-byte and
// Unicode numbers follow the common desktop numbering; modified UTF-7 has no
// such number and takes one of ours.
inline constexpr int kCpIso8859_1 = 28591;
inline constexpr int kCpIso8859_2 = 28592;
inline constexpr int kCpIso8859_3 = 28593;
inline constexpr int kCpIso8859_4 = 28594;
inline constexpr int kCpIso8859_5 = 28595;
inline constexpr int kCpIso8859_6 = 28596;
inline constexpr int kCpIso8859_7 = 28597;
inline constexpr int kCpIso8859_8 = 28598;
inline constexpr int kCpIso8859_9 = 28599;
inline constexpr int kCpIso8859_10 = 28600;
inline constexpr int kCpIso8859_13 = 28603;
inline constexpr int kCpIso8859_14 = 28604;
inline constexpr int kCpIso8859_15 = 28605;
inline constexpr int kCpWindows1250 = 1250;
inline constexpr int kCpWindows1251 = 1251;
inline constexpr int kCpWindows1252 = 1252;
inline constexpr int kCpWindows1253 = 1253;
inline constexpr int kCpWindows1254 = 1254;
inline constexpr int kCpWindows1255 = 1255;
inline constexpr int kCpWindows1256 = 1256;
inline constexpr int kCpWindows1257 = 1257;
inline constexpr int kCpWindows1258 = 1258;
inline constexpr int kCpKoi8R = 20866;
inline constexpr int kCpKamenicky = 895;
inline constexpr int kCpDos852 = 852;
inline constexpr int kCpUcs2BE = 1201;
inline constexpr int kCpUcs2LE = 1200;
inline constexpr int kCpUcs4BE = 12001;
inline constexpr int kCpUcs4LE = 12000;
inline constexpr int kCpUtf8 = 65001;
inline constexpr int kCpUtf7 = 65000;
inline constexpr int kCpUtf7Modified = 65100;

// Number of entries in the code page list (indexes 0 to 32).
inline constexpr int kCodePageCount = 33;

// Entry 0 of the list is the system code page; its display name is a
// translated text. The engine returns the English default; windows show
// LangStr(kWithoutConversionKey, kWithoutConversionDefault) instead.
inline constexpr std::string_view kWithoutConversionKey = "WithoutConversion";
inline constexpr std::string_view kWithoutConversionDefault = "unknown code page";

// Charset of a code page list entry; entry 0 (and any index outside the list)
// is the system code page.
int GetCodePage(int index);
// Display name of a code page list entry ("ISO_8859_2 (Latin-2)"); index 0
// and indexes outside the list give kWithoutConversionDefault.
std::string GetCodePageStr(int index);
// Lowest index from 1 to 32 whose charset is codePage, else 0.
int GetCPIndex(int codePage);
// GetCPIndex of the system code page.
int GetDefaultCP();

// Charset named by an identifier as found in project files, the recent list
// and on the command line. Case does not matter; surrounding blanks are
// ignored. A charset known by name but not in the list gives the system code
// page; an unknown identifier gives ISO-8859-1.
int GetCPFromID(std::string_view id);
// Identifier written for a charset ("WINDOWS-1250"); a charset outside the
// list gives "ISO-8859-1".
std::string GetIDFromCP(int codePage);

// How an identifier was recognised: a listed charset, a charset known by name
// but not in the list, or not at all. GetCPFromID is built on this.
struct TCharsetLookup {
    enum class TKind { Listed, KnownUnlisted, Unknown };
    TKind kind = TKind::Unknown;
    int codePage = 0; // valid only when kind is Listed
};
TCharsetLookup LookupCharsetID(std::string_view id);

// True for the single-byte charsets of the list (everything but the Unicode
// forms).
bool IsSingleByteCP(int codePage);
// True for the charsets that appear in the code page list.
bool IsListedCP(int codePage);

// The system code page: the single-byte charset the text buffer holds. It is
// Windows-1252 until SetSystemCodePage is called at start.
int GetSystemCodePage();
// Sets the system code page; a charset that is not a single-byte list charset
// is refused and false returned.
bool SetSystemCodePage(int codePage);
// Chooses the system code page at start: the charset named by envValue (the
// value of QUILLET_CODEPAGE, or nullopt when unset) when it names a listed
// single-byte charset, else from the language of localeName ("cs_CZ.UTF-8",
// "sr_RS@latin", "de-DE").
int ChooseSystemCodePage(std::optional<std::string_view> envValue, std::string_view localeName);

} // namespace quillet
