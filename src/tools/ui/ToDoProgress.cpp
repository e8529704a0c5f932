#include "tools/ui/ToDoProgress.h"

#include "core/AppTitle.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace quillet {

TToDoProgress::TToDoProgress(QWidget* parent, const QString& text, int maximum)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ToDoProgress"));
    setWindowTitle(QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())));
    auto* layout = new QVBoxLayout(this);
    m_label = new QLabel(text, this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, std::max(maximum, 0));
    m_bar->setTextVisible(false);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setMinimumWidth(320);
    show();
    repaint();
}

void TToDoProgress::SetPosition(int position)
{
    using namespace std::chrono;
    const steady_clock::time_point now = steady_clock::now();
    if (now - m_lastPaint < milliseconds(50) && position < m_bar->maximum()) {
        return;
    }
    m_lastPaint = now;
    m_bar->setValue(position);
    m_bar->repaint();
    ++m_repaints;
}

} // namespace quillet
