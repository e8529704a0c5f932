#include "syntax/ui/StyleQt.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace quillet {

QColor StyleColor(TColor color)
{
    if (color == clNone) {
        return {};
    }
    if ((color & 0xFF000000u) == 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (color & 0xFF) {
        case 5: // window
            return palette.color(QPalette::Base);
        case 8: // window text
            return palette.color(QPalette::Text);
        case 13: // highlight
            return palette.color(QPalette::Highlight);
        case 14: // highlighted text
            return palette.color(QPalette::HighlightedText);
        case 15: // button face
            return palette.color(QPalette::Button);
        case 16: // button shadow
            return palette.color(QPalette::Mid);
        case 17: // grey text
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18: // button text
            return palette.color(QPalette::ButtonText);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(
        static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>((color >> 16) & 0xFF));
}

QFont StyleFont(const TFontSpec& from)
{
    QFont font;
    if (!from.name.empty()) {
        font.setFamily(QString::fromStdString(from.name));
    }
    font.setPointSize(std::clamp(from.size, 1, 400));
    font.setBold(from.bold);
    font.setItalic(from.italic);
    font.setUnderline(from.underline);
    font.setStrikeOut(from.strikeOut);
    return font;
}

QFont EditorQFont(const TEditorFont& font)
{
    QFont result(QString::fromStdString(font.Name));
    result.setPointSize(std::clamp(font.Size, 1, 400));
    result.setStyleHint(QFont::Monospace);
    return result;
}

} // namespace quillet
