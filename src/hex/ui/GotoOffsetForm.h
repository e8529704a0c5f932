#pragma once

#include "hex/HexText.h"
#include "text/ui/NumberEntryForm.h"

#include <optional>

namespace quillet {

// The "Go to Offset" dialog in the number base of the editor's offset column:
// hexadecimal, octal, or decimal (for decimal and none). Typing keeps to the
// base's digits; an entry that is not a number of the base or does not fit
// in 63 bits is refused with its message and the dialog stays open with the
// entry selected.
class TGotoOffsetForm : public TNumberEntryForm {
    Q_OBJECT

public:
    explicit TGotoOffsetForm(TOffsetDisplay display, QWidget* parent = nullptr);
    ~TGotoOffsetForm() override;

    QLineEdit* OffsetEdit() const { return Edit(); }
    std::int64_t Offset() const { return m_offset; }
    void accept() override;

    static std::optional<std::int64_t> Ask(QWidget* parent, TOffsetDisplay display);

private:
    TOffsetDisplay m_base;
    std::int64_t m_offset = 0;
};

} // namespace quillet
