#include "compare/ui/CompareProgressForm.h"

#include "core/AppTitle.h"
#include "core/Translations.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace quillet {

TCompareProgressForm::TCompareProgressForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CompareProgressForm"));
    setWindowTitle(QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())));
    setModal(true);
    m_text = new QLabel(QString::fromStdString(LangStr("ComparingFiles", "Comparing files. Please wait...")), this);
    m_text->setObjectName(QStringLiteral("ProgressText"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_cancel = new QPushButton(QString::fromStdString(LangStr("bCancel", "Cancel")), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setIcon(QIcon::fromTheme(QStringLiteral("process-stop")));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (OnCancel) {
            OnCancel();
        }
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void TCompareProgressForm::SetProgress(int value)
{
    if (value > m_bar->maximum()) {
        m_bar->setMaximum(static_cast<int>(std::trunc(value * 2.17)));
    }
    m_bar->setValue(std::max(0, value));
}

int TCompareProgressForm::Progress() const
{
    return m_bar->value();
}

int TCompareProgressForm::Maximum() const
{
    return m_bar->maximum();
}

void TCompareProgressForm::reject()
{
    // Esc and the window's close button cancel as the button does; the
    // comparison closes the window when it has stopped.
    if (OnCancel) {
        OnCancel();
    }
}

void TCompareProgressForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

} // namespace quillet
