#include "app/ui/WindowStateUi.h"

#include "core/SettingsStore.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>

namespace quillet {

namespace {

// Set on a document window once it was shown in the child state.
constexpr const char* kChildStateApplied = "quilletChildStateApplied";
// Set once it is shown in the child state; until then the document area is
// still arranging its windows for the newcomer.
constexpr const char* kChildStateSettled = "quilletChildStateSettled";

constexpr Qt::WindowStates kNotNormal = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

TRect FromQRect(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

TChildState StateOf(const QMdiSubWindow* window)
{
    if (window->isMinimized()) {
        return TChildState::Minimized;
    }
    return window->isMaximized() ? TChildState::Maximized : TChildState::Normal;
}

} // namespace

TWindowStateUi::TWindowStateUi(QMainWindow& window, TSettingsStore& store)
    : QObject(&window)
    , m_window(window)
    , m_store(store)
{
    m_normal = FromQRect(window.geometry());
    m_window.installEventFilter(this);
}

std::vector<TRect> TWindowStateUi::ScreenAreas()
{
    std::vector<TRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        areas.push_back(FromQRect(primary->availableGeometry()));
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            areas.push_back(FromQRect(screen->availableGeometry()));
        }
    }
    return areas;
}

void TWindowStateUi::Restore(const std::vector<TRect>& screens)
{
    const QSize designed = m_window.size();
    const TRect primary = screens.empty() ? TRect{0, 0, designed.width(), designed.height()} : screens.front();
    const TPositionState state =
        ReadPositionState(m_store, CentredBounds(primary, designed.width(), designed.height()));
    const TRect bounds = FitToScreens(state.mainBounds, screens, kMinimumWidth, kMinimumHeight);
    m_window.setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
    m_normal = bounds;
    m_childState = state.childState;
    m_asciiAtStart = ReadAsciiTableState(m_store);
    if (state.mainMaximized) {
        m_window.setWindowState((m_window.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    }
}

TRect TWindowStateUi::NormalBounds() const
{
    if (!(m_window.windowState() & kNotNormal)) {
        return FromQRect(m_window.geometry());
    }
    // Qt keeps the bounds from before maximizing; a desktop that resized the
    // window before reporting the new state can leave them at the maximized
    // size, and then the bounds seen last while normal are used.
    const QRect kept = m_window.normalGeometry();
    if (kept.isValid() && (m_window.isMinimized() || kept != m_window.geometry())) {
        return FromQRect(kept);
    }
    return m_normal;
}

bool TWindowStateUi::Save()
{
    TPositionState state;
    state.mainBounds = NormalBounds();
    state.mainMaximized = m_window.windowState().testFlag(Qt::WindowMaximized);
    state.childState = m_childState;
    TSettingsBatch batch(m_store);
    bool saved = WritePositionState(m_store, state);
    if (AsciiTableState) {
        saved = WriteAsciiTableState(m_store, AsciiTableState()) && saved;
    }
    return saved;
}

bool TWindowStateUi::eventFilter(QObject* watched, QEvent* event)
{
    // Saved while the window is still shown: a closing window may yet be kept
    // open by a document, and then the state saved is still the right one.
    if (watched == &m_window && event->type() == QEvent::Close && m_window.isVisible()) {
        Save();
    }
    if (watched == &m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && m_window.isVisible() && !(m_window.windowState() & kNotNormal)) {
        m_normal = FromQRect(m_window.geometry());
    }
    return QObject::eventFilter(watched, event);
}

void TWindowStateUi::WatchDocuments(QMdiArea* area)
{
    m_area = area;
    connect(area, &QMdiArea::subWindowActivated, this, &TWindowStateUi::OnDocumentActivated);
}

void TWindowStateUi::OnDocumentActivated(QMdiSubWindow* window)
{
    if (window == nullptr) {
        return;
    }
    if (window->property(kChildStateApplied).toBool()) {
        return;
    }
    // A new document window: it starts in the child state, and from now on the
    // state the user gives it becomes the child state.
    window->setProperty(kChildStateApplied, true);
    // Applied once the document area has shown it, which it does in the state
    // of the active window.
    QTimer::singleShot(0, window, [this, window] {
        ApplyChildState(window);
    });
}

void TWindowStateUi::ApplyChildState(QMdiSubWindow* window)
{
    switch (m_childState) {
    case TChildState::Normal:
        if (window->isMaximized() || window->isMinimized()) {
            window->showNormal();
        }
        break;
    case TChildState::Maximized:
        if (!window->isMaximized()) {
            window->showMaximized();
        }
        break;
    case TChildState::Minimized:
        if (!window->isMinimized()) {
            window->showMinimized();
        }
        break;
    }
    window->setProperty(kChildStateSettled, true);
    connect(window, &QMdiSubWindow::windowStateChanged, this, [this, window] {
        FollowDocumentState(window);
    });
}

void TWindowStateUi::FollowDocumentState(QMdiSubWindow* window)
{
    // Only the active window shows what the user did: the document area
    // restores and maximizes the others on its own as the active one changes
    // and while a new window arrives.
    if (m_area == nullptr || !window->isVisible() || window != m_area->currentSubWindow()) {
        return;
    }
    for (const QMdiSubWindow* other : m_area->subWindowList()) {
        if (!other->property(kChildStateSettled).toBool()) {
            return;
        }
    }
    m_childState = StateOf(window);
}

} // namespace quillet
