#pragma once

#include <QPointer>
#include <QTabBar>
#include <QWidget>

#include <functional>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

namespace quillet {

// One of the two document tab bars. A middle click on a tab and the context
// menu are handed to the owner; everything else is QTabBar's.
// The icon of a document that has none of its own.
QIcon GenericDocumentIcon();

class TDocumentTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TDocumentTabBar(QWidget* parent = nullptr);

signals:
    void MiddleClicked(int index);
    void ContextMenuRequested(int index, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// The document area with a tab bar above and one below it. Each bar has one
// tab per document window in the order the windows were created, showing the
// window's icon (a generic document icon when it has none) and the file-name
// part of its caption. At most one bar is chosen; it is shown while at least
// one document is open, or two with "hide the tabs for a single document".
// Choosing a tab activates its window; activating a window in any other way
// selects its tab in both bars. A middle click closes the tab's window through
// its normal close path, which asks about unsaved changes.
class TDocumentTabs : public QWidget {
    Q_OBJECT
public:
    enum class TPlace { None, Top, Bottom };

    // Takes `area` into its layout between the two bars.
    explicit TDocumentTabs(QMdiArea* area, QWidget* parent = nullptr);
    ~TDocumentTabs() override;

    QMdiArea* Area() const { return m_area; }
    TDocumentTabBar* Bar(TPlace place) const;

    TPlace Place() const { return m_place; }
    void SetPlace(TPlace place);
    // The Top Tabs / Bottom Tabs commands: choosing the chosen bar again
    // switches the tabs off, choosing the other bar moves them there.
    void TogglePlace(TPlace place);
    bool HideSingleTab() const { return m_hideSingle; }
    void SetHideSingleTab(bool hide);
    // The chosen bar, or nullptr when the tabs are off.
    TDocumentTabBar* ChosenBar() const { return Bar(m_place); }

    // The menu a right click on a tab shows after activating its window.
    void SetPopupMenu(QMenu* menu) { m_popup = menu; }
    // The documents the tabs show, in tab order.
    std::vector<QMdiSubWindow*> Windows() const;
    // The text of a document's tab: the caption after its last path separator,
    // at most 250 characters, with "&" shown as itself.
    static QString TabText(const QString& caption);

    // Brings both bars up to date with the document area now (normally this
    // happens by itself right after windows open, close or change).
    void Sync();

signals:
    // After a document was chosen from a tab or its caption changed.
    void TabsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Track(QMdiSubWindow* window);
    void ScheduleSync();
    void RefreshTab(QMdiSubWindow* window);
    void SelectActive();
    void UpdateVisibility();
    void Activate(int index);
    void CloseTab(int index);
    void ShowPopup(int index, const QPoint& globalPos);
    QIcon IconOf(QMdiSubWindow* window) const;

    QMdiArea* m_area = nullptr;
    TDocumentTabBar* m_top = nullptr;
    TDocumentTabBar* m_bottom = nullptr;
    QTimer* m_syncTimer = nullptr;
    QMenu* m_popup = nullptr;
    std::vector<QPointer<QMdiSubWindow>> m_windows; // tab order; the same in both bars
    TPlace m_place = TPlace::Top;
    bool m_hideSingle = false;
};

} // namespace quillet
