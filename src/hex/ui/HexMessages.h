#pragma once

#include <QString>

class QWidget;

namespace quillet {

// Messages of the binary window and its dialogs, through the search prompt
// override when one is installed (tests), else message boxes titled with the
// application title.
void ShowHexError(QWidget* parent, const QString& text);
void ShowHexInfo(QWidget* parent, const QString& text);

} // namespace quillet
