#include "hex/ui/HexMessages.h"

#include "core/AppTitle.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/ReplacePrompt.h"

#include <QMessageBox>

namespace quillet {

namespace {

QString Title()
{
    return QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
}

} // namespace

void ShowHexError(QWidget* parent, const QString& text)
{
    if (ISearchPrompt* prompt = SearchPromptOverride()) {
        prompt->ShowError(ToSystemText(text));
        return;
    }
    QMessageBox::critical(parent, Title(), text);
}

void ShowHexInfo(QWidget* parent, const QString& text)
{
    if (ISearchPrompt* prompt = SearchPromptOverride()) {
        prompt->ShowInfo(ToSystemText(text));
        return;
    }
    QMessageBox::information(parent, Title(), text);
}

} // namespace quillet
