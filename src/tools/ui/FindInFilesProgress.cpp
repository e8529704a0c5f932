#include "tools/ui/FindInFilesProgress.h"

#include "text/ui/FindForm.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillet {

TFindInFilesProgress::TFindInFilesProgress(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FindInFilesProgress"));
    m_title = DialogText("FindInFilesForm", "Find in Files");
    setWindowTitle(m_title);
    setWindowModality(Qt::ApplicationModal);
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("FileLabel"));
    m_file->setMinimumWidth(420);
    m_file->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setRange(0, 0);
    m_cancel = new QPushButton(DialogText("CancelButton", "Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setIcon(QIcon::fromTheme(QStringLiteral("process-stop")));
    connect(m_cancel, &QPushButton::clicked, this, &TFindInFilesProgress::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_bar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);
}

void TFindInFilesProgress::SetFileName(const QString& fileName)
{
    const int width = std::max(40, m_file->width() - 16);
    m_file->setText(QFontMetrics(m_file->font()).elidedText(fileName, Qt::ElideMiddle, width));
}

void TFindInFilesProgress::SetFileCount(int count)
{
    m_bar->setRange(0, std::max(count, 1));
    m_bar->setValue(0);
}

void TFindInFilesProgress::SetFileIndex(int index)
{
    m_bar->setValue(index);
}

void TFindInFilesProgress::SetMatchCount(int matches)
{
    setWindowTitle(m_title + QStringLiteral(": ") + QString::number(matches));
}

void TFindInFilesProgress::reject()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

} // namespace quillet
