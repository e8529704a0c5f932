#include "app/ui/DocumentTabs.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>

#include <algorithm>
#include <initializer_list>

namespace quillet {

namespace {

constexpr int kMaxTabText = 250;
constexpr const char* kTrackedProperty = "quilletTabTracked";

} // namespace

QIcon GenericDocumentIcon()
{
    return QIcon::fromTheme(QStringLiteral("text-x-generic"), QIcon(QStringLiteral(":/icons/document.svg")));
}

TDocumentTabBar::TDocumentTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setDocumentMode(true);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::NoFocus);
}

void TDocumentTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0) {
            event->accept();
            emit MiddleClicked(index);
            return;
        }
    }
    QTabBar::mousePressEvent(event);
}

void TDocumentTabBar::contextMenuEvent(QContextMenuEvent* event)
{
    const int index = tabAt(event->pos());
    if (index >= 0) {
        event->accept();
        emit ContextMenuRequested(index, event->globalPos());
    }
}

TDocumentTabs::TDocumentTabs(QMdiArea* area, QWidget* parent)
    : QWidget(parent)
    , m_area(area)
{
    setObjectName(QStringLiteral("DocumentTabs"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_top = new TDocumentTabBar(this);
    m_top->setObjectName(QStringLiteral("TopTabs"));
    m_bottom = new TDocumentTabBar(this);
    m_bottom->setObjectName(QStringLiteral("BottomTabs"));
    m_bottom->setShape(QTabBar::RoundedSouth);
    layout->addWidget(m_top);
    layout->addWidget(area, 1);
    layout->addWidget(m_bottom);

    m_syncTimer = new QTimer(this);
    m_syncTimer->setSingleShot(true);
    m_syncTimer->setInterval(0);
    connect(m_syncTimer, &QTimer::timeout, this, &TDocumentTabs::Sync);
    connect(area, &QMdiArea::subWindowActivated, this, &TDocumentTabs::Sync);
    // Document windows become children of the viewport when they are added.
    area->viewport()->installEventFilter(this);

    for (TDocumentTabBar* bar : {m_top, m_bottom}) {
        connect(bar, &QTabBar::currentChanged, this, &TDocumentTabs::Activate);
        // Also a click on the tab already chosen: it restores a minimized window.
        connect(bar, &QTabBar::tabBarClicked, this, &TDocumentTabs::Activate);
        connect(bar, &TDocumentTabBar::MiddleClicked, this, &TDocumentTabs::CloseTab);
        connect(bar, &TDocumentTabBar::ContextMenuRequested, this, &TDocumentTabs::ShowPopup);
    }
    Sync();
}

TDocumentTabs::~TDocumentTabs()
{
    // QWidget's destructor deletes the area, its windows and the bars, which
    // signal as they go; the slots of this part of the object must not run then.
    for (QObject* sender : std::initializer_list<QObject*>{m_area, m_top, m_bottom, m_syncTimer}) {
        sender->disconnect(this);
    }
    for (QMdiSubWindow* window : m_area->findChildren<QMdiSubWindow*>()) {
        window->disconnect(this);
    }
}

TDocumentTabBar* TDocumentTabs::Bar(TPlace place) const
{
    switch (place) {
    case TPlace::Top:
        return m_top;
    case TPlace::Bottom:
        return m_bottom;
    case TPlace::None:
        break;
    }
    return nullptr;
}

void TDocumentTabs::SetPlace(TPlace place)
{
    m_place = place;
    UpdateVisibility();
}

void TDocumentTabs::TogglePlace(TPlace place)
{
    SetPlace(m_place == place ? TPlace::None : place);
}

void TDocumentTabs::SetHideSingleTab(bool hide)
{
    m_hideSingle = hide;
    UpdateVisibility();
}

std::vector<QMdiSubWindow*> TDocumentTabs::Windows() const
{
    std::vector<QMdiSubWindow*> windows;
    for (const QPointer<QMdiSubWindow>& window : m_windows) {
        if (!window.isNull()) {
            windows.push_back(window.data());
        }
    }
    return windows;
}

QString TDocumentTabs::TabText(const QString& caption)
{
    const qsizetype separator = std::max(caption.lastIndexOf(QLatin1Char('/')), caption.lastIndexOf(QLatin1Char('\\')));
    QString text = caption.mid(separator + 1).left(kMaxTabText);
    // QTabBar takes "&" as the mark of a mnemonic.
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QIcon TDocumentTabs::IconOf(QMdiSubWindow* window) const
{
    // A window without an icon of its own reports the main window's; documents
    // without one get the generic document icon instead.
    if (window->testAttribute(Qt::WA_SetWindowIcon) && !window->windowIcon().isNull()) {
        return window->windowIcon();
    }
    return GenericDocumentIcon();
}

void TDocumentTabs::Track(QMdiSubWindow* window)
{
    if (!window->property(kTrackedProperty).toBool()) {
        window->setProperty(kTrackedProperty, true);
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, this, &TDocumentTabs::ScheduleSync);
    }
}

void TDocumentTabs::ScheduleSync()
{
    if (!m_syncTimer->isActive()) {
        m_syncTimer->start();
    }
}

void TDocumentTabs::Sync()
{
    m_syncTimer->stop();
    std::vector<QPointer<QMdiSubWindow>> now;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        Track(window);
        // A window closed without being deleted stays in the area, hidden.
        if (!window->isHidden()) {
            now.emplace_back(window);
        }
    }
    if (now != m_windows) {
        m_windows = std::move(now);
        for (TDocumentTabBar* bar : {m_top, m_bottom}) {
            const QSignalBlocker blocker(bar);
            while (bar->count() > 0) {
                bar->removeTab(bar->count() - 1);
            }
            for (std::size_t i = 0; i < m_windows.size(); ++i) {
                bar->addTab(QString());
            }
        }
        for (const QPointer<QMdiSubWindow>& window : m_windows) {
            RefreshTab(window.data());
        }
    }
    SelectActive();
    UpdateVisibility();
}

void TDocumentTabs::RefreshTab(QMdiSubWindow* window)
{
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (window == nullptr || found == m_windows.end()) {
        return;
    }
    const int index = static_cast<int>(found - m_windows.begin());
    const QString caption = window->windowTitle();
    const QString text = TabText(caption);
    const QIcon icon = IconOf(window);
    for (TDocumentTabBar* bar : {m_top, m_bottom}) {
        if (index < bar->count()) {
            bar->setTabText(index, text);
            bar->setTabIcon(index, icon);
            bar->setTabToolTip(index, caption);
        }
    }
}

void TDocumentTabs::SelectActive()
{
    // The current window survives the main window losing the focus, unlike
    // the active one.
    const auto found = std::find(m_windows.begin(), m_windows.end(), m_area->currentSubWindow());
    const int index = found == m_windows.end() ? -1 : static_cast<int>(found - m_windows.begin());
    for (TDocumentTabBar* bar : {m_top, m_bottom}) {
        if (index >= 0 && bar->currentIndex() != index) {
            const QSignalBlocker blocker(bar);
            bar->setCurrentIndex(index);
        }
    }
}

void TDocumentTabs::UpdateVisibility()
{
    const auto count = std::count_if(m_windows.begin(), m_windows.end(), [](const QPointer<QMdiSubWindow>& window) {
        return !window.isNull();
    });
    const bool enough = count >= (m_hideSingle ? 2 : 1);
    m_top->setVisible(enough && m_place == TPlace::Top);
    m_bottom->setVisible(enough && m_place == TPlace::Bottom);
}

void TDocumentTabs::Activate(int index)
{
    if (index < 0 || index >= static_cast<int>(m_windows.size())
        || m_windows[static_cast<std::size_t>(index)].isNull()) {
        return;
    }
    QMdiSubWindow* window = m_windows[static_cast<std::size_t>(index)].data();
    if (window->isMinimized()) {
        window->showNormal();
    }
    m_area->setActiveSubWindow(window);
    // Keep the other bar on the same document even when the area did not
    // report a change (the window was active already).
    SelectActive();
    emit TabsChanged();
}

void TDocumentTabs::CloseTab(int index)
{
    if (index < 0 || index >= static_cast<int>(m_windows.size())) {
        return;
    }
    const QPointer<QMdiSubWindow> window = m_windows[static_cast<std::size_t>(index)];
    if (window.isNull()) {
        return;
    }
    Activate(index);
    // The window's own close path asks about unsaved changes and may refuse.
    window->close();
    ScheduleSync();
}

void TDocumentTabs::ShowPopup(int index, const QPoint& globalPos)
{
    Activate(index);
    if (m_popup != nullptr) {
        m_popup->popup(globalPos);
    }
}

bool TDocumentTabs::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area->viewport()) {
        if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved) {
            ScheduleSync();
        }
        return QWidget::eventFilter(watched, event);
    }
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (window != nullptr) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
            ScheduleSync();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
            RefreshTab(window);
            emit TabsChanged();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillet
