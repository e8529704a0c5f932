#pragma once

#include "compare/ui/CompareContext.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QToolButton;

namespace quillet {

class TChildForm;

// "Compare Options": chooses the two sides ("Compare" and "With"), each an
// open text document or a file picked with "...", and the two options.
class TCompareOptionsForm : public QDialog {
    Q_OBJECT

public:
    TCompareOptionsForm(const TCompareContext& context, QWidget* parent = nullptr);

    // The side chosen in list 0 ("Compare") or 1 ("With").
    TCompareChoice Choice(int side) const;
    bool IgnoreBlanks() const;
    bool IgnoreCase() const;

    QComboBox* List(int side) const { return m_lists[static_cast<std::size_t>(side)]; }
    QToolButton* FileButton(int side) const { return m_fileButtons[static_cast<std::size_t>(side)]; }
    QPushButton* CompareButton() const { return m_compare; }
    QCheckBox* IgnoreBlanksBox() const { return m_ignoreBlanks; }
    QCheckBox* IgnoreCaseBox() const { return m_ignoreCase; }
    // What the "..." button of a side does (the context's chooser).
    void ChooseFile(int side);

private:
    void UpdateControls();
    QString Shortened(const QString& text, const QComboBox& list) const;

    const TCompareContext& m_context;
    std::vector<QPointer<TChildForm>> m_documents; // list entry i + 1
    std::array<QComboBox*, 2> m_lists{};
    std::array<QToolButton*, 2> m_fileButtons{};
    std::array<std::optional<TCompareFile>, 2> m_files;
    QCheckBox* m_ignoreBlanks = nullptr;
    QCheckBox* m_ignoreCase = nullptr;
    QPushButton* m_compare = nullptr;
};

// Shortens a path to fit the width by replacing middle folders with "...",
// keeping the file name visible.
QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width);

} // namespace quillet
