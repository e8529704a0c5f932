#pragma once

#include <QLabel>

namespace quillet {

// One panel of the main status bar: a fixed width (or the rest of the bar),
// optionally centred, optionally cutting its text with an ellipsis.
class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    TStatusPanel(int width, Qt::Alignment alignment, bool elide, QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    const QString& FullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();

    QString m_fullText;
    bool m_elide;
};

} // namespace quillet
