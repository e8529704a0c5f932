#include "text/ui/MemoStyles.h"

#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "syntax/ui/StyleQt.h"

namespace quillet {

QChar SystemChar(unsigned char byte)
{
    // One table per run of the program's code page, rebuilt if it changes.
    static int tableCodePage = -1;
    static std::array<char16_t, 256> table{};
    const int codePage = GetSystemCodePage();
    if (codePage != tableCodePage) {
        for (int c = 0; c < 256; ++c) {
            const char32_t u = SingleByteToUnicode(codePage, static_cast<unsigned char>(c));
            table[static_cast<std::size_t>(c)] =
                u > 0 && u < 0x10000 ? static_cast<char16_t>(u) : static_cast<char16_t>(c);
        }
        tableCodePage = codePage;
    }
    return QChar(table[byte]);
}

QString FromSystemText(std::string_view text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text) {
        out.append(SystemChar(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string ToSystemText(const QString& text)
{
    const int codePage = GetSystemCodePage();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        const int byte = u < 128 ? u : UnicodeToSingleByte(codePage, u);
        out.push_back(byte >= 0 ? static_cast<char>(byte) : '?');
    }
    return out;
}

void PrepareGlyphs(TResolvedStyle& style)
{
    style.rawFont = QRawFont::fromFont(style.font);
    if (!style.rawFont.isValid()) {
        return;
    }
    QString all;
    for (int c = 0; c < 256; ++c) {
        // Control characters show as blanks rather than missing-glyph boxes.
        all.append(c < 32 || c == 127 ? QChar(u' ') : SystemChar(static_cast<unsigned char>(c)));
    }
    const QList<quint32> indexes = style.rawFont.glyphIndexesForString(all);
    for (int c = 0; c < 256 && c < indexes.size(); ++c) {
        style.glyphs[static_cast<std::size_t>(c)] = indexes[c];
    }
}

Qt::PenStyle PenStyleOf(int style)
{
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

QColor ToQColor(TColor color)
{
    return StyleColor(color);
}

std::vector<TMemoTextStyle> DefaultTextStyles()
{
    constexpr TColor black = 0x000000, maroon = 0x000080, green = 0x008000, gray = 0x808080, blue = 0xFF0000,
                     teal = 0x808000, red = 0x0000FF, navy = 0x800000, lime = 0x00FF00, window = 0x80000005;
    struct Row {
        const char* name;
        TColor fg;
        TColor bg;
        const char* emphasis;
        bool view;
    };
    const Row rows[kTextStyleCount] = {
        {"Whitespace", black, window, "", true},
        {"String", maroon, window, "", true},
        {"Comment", gray, window, "I", true},
        {"Identifier", black, window, "", true},
        {"Integer", green, window, "", true},
        {"Float", green, window, "", true},
        {"Reserved words", blue, window, "", true},
        {"Delimiters", black, window, "", true},
        {"Defines", green, window, "", true},
        {"Assembler", green, window, "", true},
        {"Html tags", blue, window, "", true},
        {"Html params", blue, window, "", true},
        {"Url", blue, window, "U", true},
        {"BreakPoint", window, red, "", false},
        {"Error line", window, maroon, "", false},
        {"Marked Block", window, navy, "", false},
        {"Search Match", lime, black, "", false},
        {"Emphasis", black, window, "B", true},
        {"System Variable", blue, window, "", true},
        {"Script Whitespace", teal, window, "", true},
        {"Script Delimiters", black, window, "", true},
        {"Script Comment", gray, window, "I", true},
        {"Script String", maroon, window, "", true},
        {"Script Number", blue, window, "", true},
        {"Script ResWord", black, window, "B", true},
        {"Plain Text", black, window, "", false},
        {"Added Lines", black, 0xF0CCA8, "", false},
        {"Deleted Lines", black, 0xBB77FF, "", false},
        {"Modified Lines", black, 0x6FFB8A, "", false},
    };
    std::vector<TMemoTextStyle> styles;
    styles.reserve(kTextStyleCount);
    for (const Row& r : rows) {
        TMemoTextStyle s;
        s.name = r.name;
        s.fontColor = r.fg;
        s.color = r.bg;
        const std::string emphasis = r.emphasis;
        s.bold = emphasis.find('B') != std::string::npos;
        s.italic = emphasis.find('I') != std::string::npos;
        s.underline = emphasis.find('U') != std::string::npos;
        s.useMemoColor = r.view;
        s.useMemoFont = false;
        styles.push_back(s);
    }
    return styles;
}

} // namespace quillet
