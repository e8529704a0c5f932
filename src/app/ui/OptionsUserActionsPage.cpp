#include "app/ui/OptionsUserActionsPage.h"

#include "app/ui/ShellUi.h"
#include "core/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* RowLabel(const char* name, const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = Named(new QLabel(QString::fromUtf8(text), parent), name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TOptionsUserActionsPage::TOptionsUserActionsPage(TSettingsStore& store, QWidget* parent)
    : TOptionsPageWidget(parent)
    , m_actions(ReadUserActions(store))
{
    auto* layout = new QVBoxLayout(this);
    auto* group = Named(new QGroupBox(QStringLiteral(" Actions "), this), "GroupActions");
    auto* groupLayout = new QVBoxLayout(group);
    m_list = Named(new QTreeWidget(group), "ActionList");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("#"), Tr("Caption", "Caption")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (int i = 0; i < kUserActionCount; ++i) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, QString::number(i + 1));
        item->setText(1, FromUtf8(m_actions[static_cast<std::size_t>(i)].caption));
    }
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * 6);
    groupLayout->addWidget(m_list, 1);

    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    auto* commandRow = new QHBoxLayout;
    m_command = Named(new QLineEdit(group), "ActionCommand");
    m_browse = Named(new QToolButton(group), "SelectProgToExec");
    m_browse->setText(QStringLiteral("..."));
    m_browse->setToolTip(Tr("SelectProgToExec", "Select program to execute"));
    commandRow->addWidget(m_command, 1);
    commandRow->addWidget(m_browse);
    fields->addRow(RowLabel("ActionCommandLabel", "Command", m_command, group), commandRow);
    m_startIn = Named(new QLineEdit(group), "ActionStartIn");
    fields->addRow(RowLabel("ActionStartInLabel", "Start in", m_startIn, group), m_startIn);
    m_params = Named(new QLineEdit(group), "ActionParams");
    fields->addRow(RowLabel("ActionParamsLabel", "Parameters", m_params, group), m_params);
    m_caption = Named(new QLineEdit(group), "ActionCaption");
    fields->addRow(RowLabel("ActionCaptionLabel", "Caption", m_caption, group), m_caption);
    m_save = Named(new QComboBox(group), "ActionSave");
    m_save->addItems({Tr("SaveCurrent", "Current file before execution"),
        Tr("SaveAllFiles", "All files before execution"),
        Tr("SaveNothing", "Nothing")});
    fields->addRow(RowLabel("ActionSaveLabel", "Save", m_save, group), m_save);
    groupLayout->addLayout(fields);

    auto* checks = new QGridLayout;
    m_dosNames = Named(new QCheckBox(QStringLiteral("Use short DOS names"), group), "ActionUseDOSNames");
    m_clear = Named(new QCheckBox(QStringLiteral("Clear result window before execution"), group), "ActionClearResult");
    m_capture = Named(new QCheckBox(QStringLiteral("Capture console output"), group), "ActionCaptureOutput");
    m_scroll =
        Named(new QCheckBox(QStringLiteral("Scroll result window to the last line"), group), "ActionScrollResult");
    checks->addWidget(m_dosNames, 0, 0);
    checks->addWidget(m_capture, 0, 1);
    checks->addWidget(m_clear, 1, 1);
    checks->addWidget(m_scroll, 2, 1);
    groupLayout->addLayout(checks);
    auto* ruleForm = new QFormLayout;
    m_rule = Named(new QLineEdit(group), "ActionOutParserRule");
    auto* ruleLabel =
        RowLabel("ActionOutParserRuleLabel", "Compiler output parser rule (e.g. to find error line)", m_rule, group);
    ruleForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    ruleForm->addRow(ruleLabel, m_rule);
    groupLayout->addLayout(ruleForm);
    layout->addWidget(group, 1);

    auto* legend = Named(new QLabel(group), "ActionLegend");
    legend->setText(QStringLiteral("Optional parameters:  %n - file name with path,  %f - file name only,  "
                                   "%F - file name without extension,  %p - file path only,  %e - file extension,  "
                                   "%s - 'Start in' directory,  %l - line number,  %c - column number,  "
                                   "%% - percent sign"));
    legend->setWordWrap(true);
    layout->addWidget(legend);

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        ShowAction(item != nullptr ? m_list->indexOfTopLevelItem(item) : -1);
    });
    for (QLineEdit* edit : {m_command, m_startIn, m_params, m_caption, m_rule}) {
        connect(edit, &QLineEdit::textEdited, this, &TOptionsUserActionsPage::TakeFields);
    }
    connect(m_save, &QComboBox::activated, this, &TOptionsUserActionsPage::TakeFields);
    for (QCheckBox* box : {m_dosNames, m_clear, m_capture, m_scroll}) {
        connect(box, &QCheckBox::toggled, this, &TOptionsUserActionsPage::TakeFields);
    }
    connect(m_browse, &QToolButton::clicked, this, &TOptionsUserActionsPage::ChooseProgram);
    m_command->installEventFilter(this);
    m_list->setCurrentItem(m_list->topLevelItem(0));
}

void TOptionsUserActionsPage::ShowAction(int index)
{
    if (index < 0 || index >= kUserActionCount) {
        return;
    }
    m_showing = true;
    const TUserActionFields& a = m_actions[static_cast<std::size_t>(index)];
    m_command->setText(FromUtf8(a.command));
    m_startIn->setText(FromUtf8(a.startIn));
    m_params->setText(FromUtf8(a.params));
    m_caption->setText(FromUtf8(a.caption));
    m_save->setCurrentIndex(a.save);
    m_dosNames->setChecked(a.useDosNames);
    m_capture->setChecked(a.captureOutput);
    m_clear->setChecked(a.clearResult);
    m_scroll->setChecked(a.scrollResult);
    m_rule->setText(FromUtf8(a.outParserRule));
    m_showing = false;
    // The three controls that only matter for captured output.
    for (QWidget* w :
        {static_cast<QWidget*>(m_clear), static_cast<QWidget*>(m_scroll), static_cast<QWidget*>(m_rule)}) {
        w->setEnabled(a.captureOutput);
    }
}

void TOptionsUserActionsPage::TakeFields()
{
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (m_showing || index < 0) {
        return;
    }
    TUserActionFields& a = m_actions[static_cast<std::size_t>(index)];
    a.command = ToUtf8(m_command->text());
    a.startIn = ToUtf8(m_startIn->text());
    a.params = ToUtf8(m_params->text());
    a.caption = ToUtf8(m_caption->text());
    a.save = std::max(0, m_save->currentIndex());
    a.useDosNames = m_dosNames->isChecked();
    a.captureOutput = m_capture->isChecked();
    a.clearResult = m_clear->isChecked();
    a.scrollResult = m_scroll->isChecked();
    a.outParserRule = ToUtf8(m_rule->text());
    m_list->currentItem()->setText(1, m_caption->text());
    for (QWidget* w :
        {static_cast<QWidget*>(m_clear), static_cast<QWidget*>(m_scroll), static_cast<QWidget*>(m_rule)}) {
        w->setEnabled(a.captureOutput);
    }
}

void TOptionsUserActionsPage::CaptionFromCommand()
{
    if (m_caption->text().isEmpty() && !m_command->text().isEmpty()) {
        m_caption->setText(
            QFileInfo(m_command->text().replace(QLatin1Char('\\'), QLatin1Char('/'))).completeBaseName());
        TakeFields();
    }
}

void TOptionsUserActionsPage::ChooseProgram()
{
    QString chosen;
    if (OnChooseProgram) {
        chosen = OnChooseProgram(m_command->text());
    } else {
        QString filter = Tr("ExeBatFilesAndAllFiles",
            "Executable files (*.exe;*.com)|*.exe;*.com|Batch files (*.bat;*.cmd)|*.bat;*.cmd|All files (*.*)|*.*");
        // "description|mask|..." pairs become the dialog's "description (masks)" lines.
        const QStringList parts = filter.split(QLatin1Char('|'));
        QStringList lines;
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            lines << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                    + QStringLiteral(")");
        }
        chosen = QFileDialog::getOpenFileName(this, QString(), m_command->text(), lines.join(QStringLiteral(";;")));
    }
    if (!chosen.isEmpty()) {
        m_command->setText(chosen);
        TakeFields();
        CaptionFromCommand();
    }
}

bool TOptionsUserActionsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_command && event->type() == QEvent::FocusOut) {
        CaptionFromCommand();
    }
    return TOptionsPageWidget::eventFilter(watched, event);
}

bool TOptionsUserActionsPage::Store(TSettingsStore& store, QString& error)
{
    if (!WriteUserActions(store, m_actions)) {
        error = FromUtf8(store.LastError());
        return false;
    }
    return true;
}

} // namespace quillet
