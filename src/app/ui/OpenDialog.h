#pragma once

#include "app/ui/DocumentManager.h"

#include <QFileDialog>
#include <QStringList>

#include <optional>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;

namespace quillet {

// Turns a filter "description|mask;mask|..." into the dialog's name filters.
// A description's own "(...)" is replaced by the masks, and "*.*" becomes
// "*" so that files without an extension are listed too.
QStringList DialogNameFilters(std::string_view filter);

// The open and save dialogs of documents: the toolkit's own file dialog (not
// the desktop's, so that controls can be added) with the label "Code page:"
// and the code page list below its controls. The open dialog also has the
// check box that opens the files in the hex editor (which disables the code
// page controls while checked) and a box that opens them read-only. The
// controls are made anew with every dialog.
class TOpenDialog : public QFileDialog {
    Q_OBJECT
public:
    enum class TMode { Open, Save };
    TOpenDialog(QWidget* parent, TMode mode, std::string_view filter, int codePageIndex);

    QLabel& CodePageLabel() { return *m_codePageLabel; }
    QComboBox& CodePageList() { return *m_codePageList; }
    // Only in the open dialog (nullptr in the save dialog).
    QCheckBox* HexBox() { return m_hexBox; }
    QCheckBox* ReadOnlyBox() { return m_readOnlyBox; }

    TOpenChoice OpenChoice() const;
    TSaveChoice SaveChoice() const;

    // Shows the dialog; nothing when it was cancelled.
    static std::optional<TOpenChoice> ExecOpen(QWidget* parent, std::string_view filter);
    static std::optional<TSaveChoice> ExecSave(
        QWidget* parent, std::string_view filter, const QString& startName, int codePageIndex);

private:
    TMode m_mode;
    QLabel* m_codePageLabel = nullptr;
    QComboBox* m_codePageList = nullptr;
    QCheckBox* m_hexBox = nullptr;
    QCheckBox* m_readOnlyBox = nullptr;
};

} // namespace quillet
