#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace quillet {

// The narrow strip beside the compare views: each difference row in that
// row's colour, drawn into a bitmap as high as the screen from
// y = row × screen height / row count down to the next row's y (at least 2
// pixels) and stretched to the strip, and a 2-pixel black marker at the
// cursor row's height.
class TCompareOverview : public QWidget {
    Q_OBJECT

public:
    explicit TCompareOverview(QWidget* parent = nullptr);

    // colours[i] is row i's colour; an invalid colour marks an equal row.
    void SetRows(const std::vector<QColor>& colours);
    void SetMarker(int row);
    int RowCount() const { return m_rowCount; }
    // The bitmap row of a row (64-bit product: row counts pass a million).
    static int BitmapY(std::int64_t row, std::int64_t rowCount, int height);
    const QImage& Bitmap() const { return m_bitmap; }
    int MarkerY() const;

    QSize sizeHint() const override { return {14, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
    int m_rowCount = 0;
    int m_marker = 0;
};

} // namespace quillet
