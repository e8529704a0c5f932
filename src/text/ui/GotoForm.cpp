#include "text/ui/GotoForm.h"

#include "core/AppTitle.h"
#include "core/Translations.h"
#include "text/ui/FindForm.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/ReplacePrompt.h"
#include "text/ui/TarnMemo.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace quillet {

TGotoForm::TGotoForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("GotoForm"));
    setWindowTitle(DialogText("GotoForm", "Go to Line"));

    m_label = new QLabel(DialogText("LineNumberLabel", "&Line number:"), this);
    m_label->setObjectName(QStringLiteral("LineNumberLabel"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("LineNumberEdit"));
    // Typing and pasting both keep to digits; editing keys pass as usual.
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16);
    m_label->setBuddy(m_edit);

    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    m_ok = new QPushButton(DialogText("OKButton", "OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_cancel = new QPushButton(DialogText("CancelButton", "Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_edit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_ok->setEnabled(false);
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_ok->setEnabled(!text.isEmpty());
    });
    m_edit->setFocus();
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
        const std::string message =
            LangFormat("NotInteger", "\"%s\" is not a valid integer value.", {text.toStdString()});
        const QString shown = QString::fromStdString(message);
        if (ISearchPrompt* prompt = SearchPromptOverride()) {
            prompt->ShowError(ToSystemText(shown));
        } else {
            QMessageBox::critical(
                this, QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())), shown);
        }
        m_edit->setFocus();
        m_edit->selectAll();
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
