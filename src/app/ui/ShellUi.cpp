#include "app/ui/ShellUi.h"

#include "app/CommandLine.h"
#include "core/Translations.h"

#include <QAction>
#include <QFile>
#include <QVariant>

namespace quillet {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text)
{
    return text.toStdString();
}

QString FromFileName(std::string_view bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToFileName(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString Tr(std::string_view key, std::string_view defaultText)
{
    return FromUtf8(LangStr(key, defaultText));
}

QString EscapeAmpersands(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QMessageBox::StandardButton ShowMessage(QWidget* parent,
    QMessageBox::Icon icon,
    const QString& text,
    QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, FromUtf8(kAppTitle), text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(defaultButton);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetCommandHint(QAction* action, const QString& hint)
{
    action->setProperty("quilletHint", hint);
    const int bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace quillet
