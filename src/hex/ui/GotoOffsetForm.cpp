#include "hex/ui/GotoOffsetForm.h"

#include "core/Translations.h"
#include "hex/ui/HexMessages.h"
#include "text/ui/FindForm.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quillet {

TGotoOffsetForm::TGotoOffsetForm(TOffsetDisplay display, QWidget* parent)
    : QDialog(parent)
    , m_base(display == odHex      ? odHex
              : display == odOctal ? odOctal
                                   : odDec)
{
    setObjectName(QStringLiteral("GotoOffsetForm"));
    setWindowTitle(DialogText("GotoOffsetForm", "Go to Offset"));
    const char* baseKey = m_base == odHex ? "Hex" : m_base == odOctal ? "Octal" : "Dec";
    const std::string baseName = LangStr(baseKey, baseKey);
    m_label = new QLabel(
        QString::fromStdString(LangFormat("OffsetLabel", "Adress (%s)", {baseName})) + QLatin1Char(':'), this);
    m_label->setObjectName(QStringLiteral("OffsetLabel"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("OffsetEdit"));
    const QString digits = m_base == odHex ? QStringLiteral("[0-9a-fA-F]*")
        : m_base == odOctal                ? QStringLiteral("[0-7]*")
                                           : QStringLiteral("[0-9]*");
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(digits), m_edit));
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);
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

TGotoOffsetForm::~TGotoOffsetForm() = default;

void TGotoOffsetForm::accept()
{
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        return;
    }
    const std::optional<std::int64_t> value = ParseOffset(text.toStdString(), m_base);
    if (!value) {
        const char* key = m_base == odHex ? "NotHex" : m_base == odOctal ? "NotOctal" : "NotInteger";
        const char* english = m_base == odHex ? "\"%s\" is not a valid hex value."
            : m_base == odOctal               ? "\"%s\" is not a valid octal value."
                                              : "\"%s\" is not a valid integer value.";
        ShowHexError(this, QString::fromStdString(LangFormat(key, english, {text.toStdString()})));
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_offset = *value;
    QDialog::accept();
}

std::optional<std::int64_t> TGotoOffsetForm::Ask(QWidget* parent, TOffsetDisplay display)
{
    TGotoOffsetForm form(display, parent);
    if (form.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.Offset();
}

} // namespace quillet
