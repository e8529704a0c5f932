#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;

namespace quillet {

// Display name of a code page list entry; entry 0 is the translated
// "without conversion" text.
QString CodePageName(int index);
// Fills a drop-down list with the 33 entries of the code page list.
void FillCodePageList(QComboBox& list);
// The last list entry whose charset is the system code page (the entry the
// open dialog starts at).
int SystemCodePageEntry();

// The "Select Code Page" dialog: one drop-down list of the code page list,
// OK and Cancel.
class TSelectCodePageForm : public QDialog {
    Q_OBJECT
public:
    TSelectCodePageForm(QWidget* parent, int codePageIndex);
    QComboBox& List() { return *m_list; }
    int CodePageIndex() const;

    // Shows the dialog; the chosen entry, or nothing when it was cancelled.
    static std::optional<int> Choose(QWidget* parent, int codePageIndex);

private:
    QComboBox* m_list = nullptr;
};

} // namespace quillet
