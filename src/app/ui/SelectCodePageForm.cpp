#include "app/ui/SelectCodePageForm.h"

#include "app/ui/ShellUi.h"
#include "core/CodePages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace quillet {

QString CodePageName(int index)
{
    if (index <= 0 || index >= kCodePageCount) {
        return Tr(kWithoutConversionKey, kWithoutConversionDefault);
    }
    return FromUtf8(GetCodePageStr(index));
}

void FillCodePageList(QComboBox& list)
{
    list.clear();
    for (int i = 0; i < kCodePageCount; ++i) {
        list.addItem(CodePageName(i));
    }
    list.setMaxVisibleItems(kCodePageCount);
}

int SystemCodePageEntry()
{
    const int system = GetSystemCodePage();
    for (int i = kCodePageCount - 1; i > 0; --i) {
        if (GetCodePage(i) == system) {
            return i;
        }
    }
    return 0;
}

TSelectCodePageForm::TSelectCodePageForm(QWidget* parent, int codePageIndex)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectCodePageForm"));
    setWindowTitle(Tr("SelectCodePage", "Select Code Page"));
    auto* layout = new QVBoxLayout(this);
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("CodePageList"));
    FillCodePageList(*m_list);
    m_list->setCurrentIndex(codePageIndex >= 0 && codePageIndex < kCodePageCount ? codePageIndex : 0);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

int TSelectCodePageForm::CodePageIndex() const
{
    return m_list->currentIndex();
}

std::optional<int> TSelectCodePageForm::Choose(QWidget* parent, int codePageIndex)
{
    TSelectCodePageForm form(parent, codePageIndex);
    if (form.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.CodePageIndex();
}

} // namespace quillet
