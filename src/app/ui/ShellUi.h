#pragma once

#include <QMessageBox>
#include <QString>

#include <string>
#include <string_view>

class QAction;
class QWidget;

namespace quillet {

// The translation of key as a QString (language files hold UTF-8).
QString Tr(std::string_view key, std::string_view defaultText);
QString FromUtf8(std::string_view text);
std::string ToUtf8(const QString& text);
// File names travel as the file system's bytes.
QString FromFileName(std::string_view bytes);
std::string ToFileName(const QString& path);

// Doubles every "&" so a caption built from data shows it instead of taking
// the next letter as an accelerator.
QString EscapeAmpersands(QString text);

// A message box with the application title as its caption; returns the
// button chosen.
QMessageBox::StandardButton ShowMessage(QWidget* parent,
    QMessageBox::Icon icon,
    const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Gives a command its hint "short|long": the short text becomes the tooltip,
// the long one the status-bar text. The hint is kept as the English default
// for later translation.
void SetCommandHint(QAction* action, const QString& hint);

} // namespace quillet
