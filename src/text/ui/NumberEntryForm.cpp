#include "text/ui/NumberEntryForm.h"

#include "text/ui/FindForm.h"
#include "text/ui/ReplacePrompt.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quillet {

TNumberEntryForm::TNumberEntryForm(const char* labelName,
    const QString& labelText,
    const char* editName,
    const QString& digits,
    int widthChars,
    QWidget* parent)
    : QDialog(parent)
{
    m_label = new QLabel(labelText, this);
    m_label->setObjectName(QString::fromLatin1(labelName));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QString::fromLatin1(editName));
    // Typing and pasting both keep to the digits; editing keys pass as usual.
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(digits), m_edit));
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * widthChars);
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

TNumberEntryForm::~TNumberEntryForm() = default;

void TNumberEntryForm::RefuseEntry(const QString& message)
{
    ShowSearchError(this, message);
    m_edit->setFocus();
    m_edit->selectAll();
}

} // namespace quillet
