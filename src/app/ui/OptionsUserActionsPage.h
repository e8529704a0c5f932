#pragma once

#include "app/UserActionSettings.h"
#include "app/ui/OptionsPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;
class QTreeWidget;

namespace quillet {

// The page User Actions: the 14 actions in a list and the fields of the
// chosen one. It works on a copy; every change of a field goes into the
// chosen row at once, and Store writes all 140 keys.
class TOptionsUserActionsPage : public TOptionsPageWidget {
    Q_OBJECT
public:
    TOptionsUserActionsPage(TSettingsStore& store, QWidget* parent = nullptr);

    bool Store(TSettingsStore& store, QString& error) override;
    const TUserActionList& Actions() const { return m_actions; }
    QTreeWidget* List() const { return m_list; }
    QLineEdit* CommandBox() const { return m_command; }
    QLineEdit* CaptionBox() const { return m_caption; }
    // Replaces the file chooser of "..." in tests.
    std::function<QString(const QString& current)> OnChooseProgram;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowAction(int index);
    void TakeFields();
    void CaptionFromCommand();
    void ChooseProgram();

    TUserActionList m_actions;
    QTreeWidget* m_list = nullptr;
    QLineEdit* m_command = nullptr;
    QToolButton* m_browse = nullptr;
    QLineEdit* m_startIn = nullptr;
    QLineEdit* m_params = nullptr;
    QLineEdit* m_caption = nullptr;
    QComboBox* m_save = nullptr;
    QCheckBox* m_dosNames = nullptr;
    QCheckBox* m_clear = nullptr;
    QCheckBox* m_capture = nullptr;
    QCheckBox* m_scroll = nullptr;
    QLineEdit* m_rule = nullptr;
    bool m_showing = false;
};

} // namespace quillet
