#include "compare/ui/CompareOverview.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace quillet {

TCompareOverview::TCompareOverview(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CompareOverview"));
    setFixedWidth(14);
}

int TCompareOverview::BitmapY(std::int64_t row, std::int64_t rowCount, int height)
{
    if (rowCount <= 0) {
        return 0;
    }
    return static_cast<int>(row * height / rowCount);
}

void TCompareOverview::SetRows(const std::vector<QColor>& colours)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int height = std::max(1, screen != nullptr ? screen->geometry().height() : 1024);
    m_bitmap = QImage(width(), height, QImage::Format_RGB32);
    m_bitmap.fill(palette().color(QPalette::Base));
    m_rowCount = static_cast<int>(colours.size());
    QPainter painter(&m_bitmap);
    for (std::size_t row = 0; row < colours.size(); ++row) {
        if (colours[row].isValid()) {
            // A row covers its share of the height, so the blocks of a short
            // comparison show as bands; at least the 2-pixel line.
            const int y = BitmapY(static_cast<std::int64_t>(row), m_rowCount, height);
            const int next = BitmapY(static_cast<std::int64_t>(row) + 1, m_rowCount, height);
            painter.fillRect(0, y, m_bitmap.width(), std::max(2, next - y), colours[row]);
        }
    }
    update();
}

void TCompareOverview::SetMarker(int row)
{
    if (row != m_marker) {
        m_marker = row;
        update();
    }
}

int TCompareOverview::MarkerY() const
{
    return BitmapY(m_marker, std::max(1, m_rowCount), height());
}

void TCompareOverview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!m_bitmap.isNull()) {
        painter.drawImage(rect(), m_bitmap);
    }
    painter.fillRect(0, std::min(MarkerY(), height() - 2), width(), 2, Qt::black);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace quillet
