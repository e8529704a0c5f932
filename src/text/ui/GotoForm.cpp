#include "text/ui/GotoForm.h"

#include "core/Translations.h"
#include "text/ui/FindForm.h"
#include "text/ui/TarnMemo.h"

#include <QLineEdit>

#include <algorithm>

namespace quillet {

TGotoForm::TGotoForm(QWidget* parent)
    : TNumberEntryForm("LineNumberLabel",
        DialogText("LineNumberLabel", "&Line number:"),
        "LineNumberEdit",
        QStringLiteral("[0-9]*"),
        16,
        parent)
{
    setObjectName(QStringLiteral("GotoForm"));
    setWindowTitle(DialogText("GotoForm", "Go to Line"));
}

TGotoForm::~TGotoForm() = default;

void TGotoForm::accept()
{
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        return;
    }
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok) {
        RefuseEntry(QString::fromStdString(
            LangFormat("NotInteger", "\"%s\" is not a valid integer value.", {text.toStdString()})));
        return;
    }
    m_lineNumber = number;
    QDialog::accept();
}

std::optional<int> TGotoForm::Ask(QWidget* parent)
{
    TGotoForm form(parent);
    if (form.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.LineNumber();
}

void GoToLineNumber(TTarnMemo& view, int lineNumber)
{
    const int last = std::max(0, view.MemoSource().GetStrCount() - 1);
    const int line = lineNumber <= 1 ? 0 : std::min(lineNumber - 1, last);
    view.CenteredJumpTo(0, line);
}

} // namespace quillet
