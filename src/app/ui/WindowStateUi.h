#pragma once

#include "app/WindowState.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;

namespace quillet {

class TSettingsStore;

// The main window's position and state and the state of new document windows,
// kept in [Position]: restored before the window is first shown (fitted to the
// screens attached now), saved by Save State & Position and at the end of the
// run. While the window is maximized its normal bounds are the ones saved.
class TWindowStateUi : public QObject {
    Q_OBJECT
public:
    // Smallest main window a stored size can give.
    static constexpr int kMinimumWidth = 400;
    static constexpr int kMinimumHeight = 300;

    TWindowStateUi(QMainWindow& window, TSettingsStore& store);

    // Reads [Position] and applies it to the window, which is not shown yet:
    // its current size is the designed size the defaults centre on the
    // primary screen. `screens` are the available areas, the primary first.
    void Restore(const std::vector<TRect>& screens);
    void Restore() { Restore(ScreenAreas()); }
    // Writes the main window's normal bounds and state, the child state and,
    // when the ASCII table was created during the run, its state.
    bool Save();

    // The normal (not maximized) bounds of the main window.
    TRect NormalBounds() const;

    // Document windows of the area follow the child state: each new one is
    // shown in it, and a state the user gives a document window becomes the
    // child state.
    void WatchDocuments(QMdiArea* area);
    TChildState ChildState() const { return m_childState; }
    void SetChildState(TChildState state) { m_childState = state; }

    // The ASCII table state read at start (to reopen the table when it was
    // open), and the window's current state once it exists: the ASCII table
    // window sets this when it is created.
    const TAsciiTableState& AsciiTableAtStart() const { return m_asciiAtStart; }
    std::function<TAsciiTableState()> AsciiTableState;

    // The available areas of the attached screens, the primary first.
    static std::vector<TRect> ScreenAreas();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnDocumentActivated(QMdiSubWindow* window);
    void ApplyChildState(QMdiSubWindow* window);
    void FollowDocumentState(QMdiSubWindow* window);

    QMainWindow& m_window;
    TSettingsStore& m_store;
    TRect m_normal; // the last bounds the window had while neither maximized nor minimized
    TChildState m_childState = TChildState::Maximized;
    TAsciiTableState m_asciiAtStart;
    QPointer<QMdiArea> m_area;
};

} // namespace quillet
