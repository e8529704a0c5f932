#include "app/ui/OpenDialog.h"

#include "app/ui/SelectCodePageForm.h"
#include "app/ui/ShellUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace quillet {

QStringList DialogNameFilters(std::string_view filter)
{
    const QStringList fields = FromUtf8(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString description = fields[i].trimmed();
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0) {
                description = description.left(open).trimmed();
            }
        }
        QStringList masks;
        for (const QString& mask : fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = mask.trimmed();
            masks << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (masks.isEmpty()) {
            masks << QStringLiteral("*");
        }
        result << QStringLiteral("%1 (%2)").arg(description, masks.join(QLatin1Char(' ')));
    }
    if (result.isEmpty()) {
        result << QStringLiteral("(*)");
    }
    return result;
}

TOpenDialog::TOpenDialog(QWidget* parent, TMode mode, std::string_view filter, int codePageIndex)
    : QFileDialog(parent)
    , m_mode(mode)
{
    setObjectName(mode == TMode::Open ? QStringLiteral("OpenDialog") : QStringLiteral("SaveDialog"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setNameFilters(DialogNameFilters(filter));
    if (mode == TMode::Open) {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFiles);
    } else {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        // The caller asks about overwriting, after the extension is settled.
        setOption(QFileDialog::DontConfirmOverwrite, true);
    }

    m_codePageLabel = new QLabel(Tr("CodePage", "Code page:"), this);
    m_codePageLabel->setObjectName(QStringLiteral("CodePageLabel"));
    m_codePageList = new QComboBox(this);
    m_codePageList->setObjectName(QStringLiteral("CodePageList"));
    FillCodePageList(*m_codePageList);
    m_codePageList->setCurrentIndex(codePageIndex >= 0 && codePageIndex < m_codePageList->count() ? codePageIndex : 0);
    m_codePageLabel->setBuddy(m_codePageList);

    auto* grid = qobject_cast<QGridLayout*>(layout());
    const int row = grid != nullptr ? grid->rowCount() : 0;
    if (grid != nullptr) {
        grid->addWidget(m_codePageLabel, row, 0);
        grid->addWidget(m_codePageList, row, 1);
    }
    if (mode == TMode::Open) {
        m_hexBox = new QCheckBox(Tr("OpenInHex", "Open in Hex editor (don't autodetect file type)"), this);
        m_hexBox->setObjectName(QStringLiteral("OpenInHexBox"));
        m_readOnlyBox = new QCheckBox(Tr("OpenReadOnly", "Open as &read-only"), this);
        m_readOnlyBox->setObjectName(QStringLiteral("OpenReadOnlyBox"));
        if (grid != nullptr) {
            grid->addWidget(m_hexBox, row + 1, 1);
            grid->addWidget(m_readOnlyBox, row + 2, 1);
        }
        connect(m_hexBox, &QCheckBox::toggled, this, [this](bool checked) {
            m_codePageLabel->setEnabled(!checked);
            m_codePageList->setEnabled(!checked);
        });
    }
}

TOpenChoice TOpenDialog::OpenChoice() const
{
    TOpenChoice choice;
    for (const QString& file : selectedFiles()) {
        choice.files.push_back(ToFileName(file));
    }
    choice.codePageIndex = m_codePageList->currentIndex();
    choice.asHex = m_hexBox != nullptr && m_hexBox->isChecked();
    choice.readOnly = m_readOnlyBox != nullptr && m_readOnlyBox->isChecked();
    return choice;
}

TSaveChoice TOpenDialog::SaveChoice() const
{
    TSaveChoice choice;
    const QStringList files = selectedFiles();
    choice.fileName = files.isEmpty() ? std::string() : ToFileName(files.front());
    choice.filterIndex = static_cast<int>(nameFilters().indexOf(selectedNameFilter())) + 1;
    choice.codePageIndex = m_codePageList->currentIndex();
    return choice;
}

std::optional<TOpenChoice> TOpenDialog::ExecOpen(QWidget* parent, std::string_view filter)
{
    TOpenDialog dialog(parent, TMode::Open, filter, SystemCodePageEntry());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.OpenChoice();
}

std::optional<TSaveChoice> TOpenDialog::ExecSave(
    QWidget* parent, std::string_view filter, const QString& startName, int codePageIndex)
{
    TOpenDialog dialog(parent, TMode::Save, filter, codePageIndex);
    dialog.selectFile(startName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.SaveChoice();
}

} // namespace quillet
