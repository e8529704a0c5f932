#include "app/ui/OptionsControls.h"

#include "app/OptionsCatalog.h"
#include "app/ui/ShellUi.h"
#include "syntax/ui/StyleQt.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include <array>

namespace quillet {

namespace {

constexpr int kSwatchSize = 14;

QIcon Swatch(std::uint32_t color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(StyleColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}

QString ColorText(std::uint32_t color)
{
    return QString::fromStdString(ColorToText(color));
}

// A sample drawn in the palette's text colour, so it stays visible on a
// dark background.
QPixmap SampleCanvas(QWidget* parent)
{
    QPixmap pixmap(48, kSwatchSize);
    pixmap.fill(parent->palette().color(QPalette::Base));
    return pixmap;
}

} // namespace

TColorBox::TColorBox(QWidget* parent)
    : QWidget(parent)
    , m_combo(new QComboBox(this))
    , m_pick(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_combo, 1);
    layout->addWidget(m_pick);
    for (const TNamedColor& named : NamedColors()) {
        m_combo->addItem(Swatch(named.value), QString::fromLatin1(named.name.data(), named.name.size()), named.value);
    }
    m_pick->setObjectName(QStringLiteral("SelectCustomColor"));
    m_pick->setText(QStringLiteral("..."));
    m_pick->setToolTip(Tr("SelectCustomColor", "Select custom Color"));
    connect(m_pick, &QToolButton::clicked, this, &TColorBox::Pick);
    connect(m_combo, &QComboBox::currentIndexChanged, this, &TColorBox::ColorChanged);
}

std::uint32_t TColorBox::Color() const
{
    return m_combo->currentData().toUInt();
}

void TColorBox::SetColor(std::uint32_t color)
{
    int index = m_combo->findData(color);
    if (index < 0) {
        m_combo->addItem(Swatch(color), ColorText(color), color);
        index = m_combo->count() - 1;
    }
    m_combo->setCurrentIndex(index);
}

void TColorBox::Pick()
{
    std::uint32_t color = Color();
    if (OnPick) {
        if (!OnPick(color)) {
            return;
        }
    } else {
        const QColor chosen =
            QColorDialog::getColor(StyleColor(color), this, Tr("SelectCustomColor", "Select custom Color"));
        if (!chosen.isValid()) {
            return;
        }
        color = static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8)
            | (static_cast<std::uint32_t>(chosen.blue()) << 16);
    }
    SetColor(color);
}

QComboBox* NewPenStyleCombo(QWidget* parent)
{
    static constexpr std::array<Qt::PenStyle, 7> kStyles{
        Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen, Qt::SolidLine};
    auto* combo = new QComboBox(parent);
    combo->setIconSize(QSize(48, kSwatchSize));
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
        QPixmap pixmap = SampleCanvas(parent);
        QPainter painter(&pixmap);
        painter.setPen(QPen(parent->palette().color(QPalette::Text), 1, kStyles[i]));
        painter.drawLine(2, kSwatchSize / 2, 46, kSwatchSize / 2);
        painter.end();
        combo->addItem(QIcon(pixmap), QString::number(i));
    }
    return combo;
}

QComboBox* NewBrushStyleCombo(QWidget* parent)
{
    static constexpr std::array<Qt::BrushStyle, 8> kStyles{Qt::SolidPattern,
        Qt::NoBrush,
        Qt::HorPattern,
        Qt::VerPattern,
        Qt::FDiagPattern,
        Qt::BDiagPattern,
        Qt::CrossPattern,
        Qt::DiagCrossPattern};
    auto* combo = new QComboBox(parent);
    combo->setIconSize(QSize(48, kSwatchSize));
    for (std::size_t i = 0; i < kStyles.size(); ++i) {
        QPixmap pixmap = SampleCanvas(parent);
        QPainter painter(&pixmap);
        painter.setPen(parent->palette().color(QPalette::Text));
        painter.setBrush(QBrush(parent->palette().color(QPalette::Text), kStyles[i]));
        painter.drawRect(1, 1, 45, kSwatchSize - 3);
        painter.end();
        combo->addItem(QIcon(pixmap), QString::number(i));
    }
    return combo;
}

} // namespace quillet
