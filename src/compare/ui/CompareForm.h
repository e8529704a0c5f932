#pragma once

#include "compare/CompareRows.h"
#include "compare/Diff.h"
#include "compare/ui/CompareContext.h"
#include "compare/ui/CompareSides.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QSplitter;

namespace quillet {

class TCompareOverview;
class TCompareProgressForm;
class TSyntaxParser;
class TTarnMemo;

// How a comparison ended.
enum class TCompareOutcome { Differences, Identical, Cancelled, Failed };

// "Differences Viewer": two editor views aligned row by row so that equal
// lines face each other, filler rows where one side lacks lines, difference
// rows coloured and marked in the gutter. The user steps between
// differences, copies blocks across, edits either side and hands a merged
// side back to its document or to a new one. One window exists at a time.
class TCompareForm : public QMainWindow {
    Q_OBJECT

public:
    TCompareForm(const TCompareContext& context, TCompareSide left, TCompareSide right, QWidget* parent = nullptr);
    ~TCompareForm() override;

    // "Differences...": brings an open compare window to the front, or asks
    // for the sides and compares them, showing the window when they differ.
    static void SearchDifferences(const TCompareContext& context);
    // The window while it exists (shown or being compared), else nullptr.
    static TCompareForm* Instance();
    // The most lines a side may have (TDiff::kMaxLines); a longer side makes
    // the comparison fail with a message.
    static void SetMaxLines(std::int32_t lines);

    // Runs the comparison with the progress window; on differences the rows
    // are built and the strip shown (the caller shows the window).
    TCompareOutcome Compare(bool ignoreBlanks, bool ignoreCase);
    bool IsComparing() const { return m_comparing; }
    bool IsCompared() const { return m_compared; }
    bool DifferencesOnly() const { return m_differencesOnly; }
    const TDiff& Diff() const { return m_diff; }
    TCompareProgressForm* ProgressForm() const { return m_progress; }
    const TCompareSide& Side(int side) const { return side == 0 ? m_left : m_right; }

    TTarnMemo& View(int side) { return *m_views[static_cast<std::size_t>(side)]; }
    // The view the focused-view commands work on: the one with the focus, or
    // the right one when neither has it.
    TTarnMemo& FocusedView();
    QAction* Action(const char* name) const;
    QLabel* StatusPanel(int index) const { return m_panels[static_cast<std::size_t>(index)]; }
    TCompareOverview* Overview() const { return m_overview; }
    bool IsRotated() const { return m_rotated; }
    // The number shown in the gutter of a row (1-based), 0 for none.
    int RowNumber(int side, int row);
    // The text a merge hands on: every row that stands for a line.
    std::vector<std::string> MergedLines(int side) const;

    // Commands.
    void UseMerged(int side);
    void UseMergedAsNew(int side);
    void ToggleDifferencesOnly();
    void RotateView();
    void NextDifference() { StepDifference(true); }
    void PreviousDifference() { StepDifference(false); }
    void CopyBlock(int targetSide);
    bool CanUseMerged(int side) const;
    bool CanCopyBlock(int targetSide) const;
    bool HasNextDifference() const { return m_hasNext; }
    bool HasPreviousDifference() const { return m_hasPrevious; }
    void UpdateCommands();
    // Sets every caption, hint and status text again in the current
    // language (after the main window changed it).
    void Retranslate();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateStatusBar();
    QWidget* CreatePane(int side);
    void PrepareView(int side);
    void BuildRows();
    void FillView(int side, const std::vector<TCompareRow>& rows);
    void UpdateCaptions();
    void UpdateStatus();
    void UpdateSummary();
    void UpdateNavigation();
    void CursorMoved(TTarnMemo& view);
    void ViewScrolled(TTarnMemo& view, int deltaRows, int deltaColumns);
    int FindDifference(const TTarnMemo& view, bool forward) const;
    TTarnMemo& SteppingView() const;
    void StepDifference(bool forward);
    void DrawGutterNumber(int side, QPainter& painter, const QRect& cell, int line);
    bool AskLoseChanges(int side);
    void NumbersChanged(int side) { m_numbersDirty[static_cast<std::size_t>(side)] = true; }
    TTarnMemo& Other(const TTarnMemo& view);
    int SideOf(const TTarnMemo& view) const { return &view == m_views[1] ? 1 : 0; }

    TCompareContext m_context;
    TCompareSide m_left;
    TCompareSide m_right;
    TDiff m_diff;
    bool m_ignoreBlanks = false;
    bool m_ignoreCase = false;
    bool m_comparing = false;
    bool m_compared = false;
    bool m_differencesOnly = false;
    bool m_hasNext = false;
    bool m_hasPrevious = false;
    bool m_rotated = false;
    bool m_syncing = false; // a view is being moved to follow the other
    std::array<TTarnMemo*, 2> m_views{};
    std::array<QLabel*, 2> m_captions{};
    std::array<std::unique_ptr<TSyntaxParser>, 2> m_parsers;
    std::array<std::vector<int>, 2> m_numbers; // per row, 0 for none (normal mode)
    std::array<bool, 2> m_numbersDirty{true, true};
    std::array<int, 2> m_lastTop{};
    std::array<int, 2> m_lastLeft{};
    int m_digits = 1;
    TTarnMemo* m_lastFocused = nullptr;
    QSplitter* m_splitter = nullptr;
    TCompareOverview* m_overview = nullptr;
    TCompareProgressForm* m_progress = nullptr;
    std::array<QLabel*, 7> m_panels{};
};

} // namespace quillet
