#include "app/ui/StatusPanel.h"

#include <QFontMetrics>

namespace quillet {

TStatusPanel::TStatusPanel(int width, Qt::Alignment alignment, bool elide, QWidget* parent)
    : QLabel(parent)
    , m_elide(elide)
{
    setAlignment(alignment | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    if (width > 0) {
        setFixedWidth(width);
    } else {
        setMinimumWidth(40);
    }
}

void TStatusPanel::SetFullText(const QString& text)
{
    m_fullText = text;
    Refresh();
}

void TStatusPanel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Refresh();
}

void TStatusPanel::Refresh()
{
    if (!m_elide) {
        setText(m_fullText);
        return;
    }
    const int room = contentsRect().width() - 2 * margin() - 4;
    setText(fontMetrics().elidedText(m_fullText, Qt::ElideRight, room > 0 ? room : 0));
    setToolTip(text() != m_fullText ? m_fullText : QString());
}

} // namespace quillet
