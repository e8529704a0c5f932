#pragma once

#include <QComboBox>
#include <QWidget>

#include <cstdint>
#include <functional>

class QToolButton;

namespace quillet {

// A colour field: the drop-down list of the named and system colours, each
// with a swatch, and the button "Select custom Color" that opens a colour
// picker. A colour without a name shows as "$" and eight hexadecimal digits.
class TColorBox : public QWidget {
    Q_OBJECT
public:
    explicit TColorBox(QWidget* parent = nullptr);

    std::uint32_t Color() const;
    void SetColor(std::uint32_t color);
    QComboBox* Combo() const { return m_combo; }
    QToolButton* PickButton() const { return m_pick; }
    // Replaces the picker in tests: returns the chosen colour, or false.
    std::function<bool(std::uint32_t& color)> OnPick;

signals:
    void ColorChanged();

private:
    void Pick();

    QComboBox* m_combo = nullptr;
    QToolButton* m_pick = nullptr;
};

// A pen-style list "0" to "6" (solid, dash, dot, dash-dot, dash-dot-dot,
// clear, inside frame), each entry drawn as a sample line.
QComboBox* NewPenStyleCombo(QWidget* parent);
// The gutter's brush-style list "0" to "7" (solid, clear, horizontal,
// vertical, forward and backward diagonal, cross, diagonal cross), each entry
// drawn as a sample pattern.
QComboBox* NewBrushStyleCombo(QWidget* parent);

} // namespace quillet
