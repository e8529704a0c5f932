#include "hex/ui/GotoOffsetForm.h"

#include "core/Translations.h"
#include "text/ui/FindForm.h"

#include <QLineEdit>

namespace quillet {

namespace {

// Hexadecimal and octal keep their base; decimal and none enter decimal.
TOffsetDisplay EntryBase(TOffsetDisplay display)
{
    return display == odHex || display == odOctal ? display : odDec;
}

QString BaseLabel(TOffsetDisplay base)
{
    const char* key = base == odHex ? "Hex" : base == odOctal ? "Octal" : "Dec";
    return QString::fromStdString(LangFormat("OffsetLabel", "Adress (%s)", {LangStr(key, key)})) + QLatin1Char(':');
}

QString BaseDigits(TOffsetDisplay base)
{
    return base == odHex  ? QStringLiteral("[0-9a-fA-F]*")
        : base == odOctal ? QStringLiteral("[0-7]*")
                          : QStringLiteral("[0-9]*");
}

} // namespace

TGotoOffsetForm::TGotoOffsetForm(TOffsetDisplay display, QWidget* parent)
    : TNumberEntryForm(
        "OffsetLabel", BaseLabel(EntryBase(display)), "OffsetEdit", BaseDigits(EntryBase(display)), 24, parent)
    , m_base(EntryBase(display))
{
    setObjectName(QStringLiteral("GotoOffsetForm"));
    setWindowTitle(DialogText("GotoOffsetForm", "Go to Offset"));
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
        RefuseEntry(QString::fromStdString(LangFormat(key, english, {text.toStdString()})));
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
