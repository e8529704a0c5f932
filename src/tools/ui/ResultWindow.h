#pragma once

#include "tools/ResultLines.h"

#include <QDockWidget>

#include <functional>
#include <string>

class QAction;
class QMenu;
class QTabWidget;

namespace quillet {

class IClipboard;
class TResultPage;

// The docked "Result Window" with its two pages, "Find in Files" and "Console
// Output". Both pages share the drawing, the context menu (copy into a new
// document, copy the selected line or everything to the clipboard, clear) and
// the double-click that reports a line's navigation record.
class TResultWindow : public QDockWidget {
    Q_OBJECT
public:
    enum TPageIndex { kFindInFilesPage = 0, kConsoleOutputPage = 1 };

    explicit TResultWindow(QWidget* parent = nullptr);

    TResultPage& Page(TPageIndex page) const;
    TResultPage& VisiblePage() const;
    void ShowPage(TPageIndex page);
    QTabWidget* Tabs() const { return m_tabs; }

    // Where "Copy ... to Clipboard" puts text (8-bit system text); nullptr
    // uses the application's clipboard.
    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }
    // Opens a new text document holding `text`; unset, the command does nothing.
    std::function<void(const std::string& text)> OnNewDocument;

    // The context menu's commands on the visible page.
    void CopyContentIntoNewDocument();
    void CopySelectedLineToClipboard();
    void CopyContentToClipboard();
    void ClearVisiblePage();
    QMenu* ContextMenu() const { return m_menu; }
    // Translates the captions, page titles and menu hints again.
    void Translate();

signals:
    // A line of a page was double-clicked: its navigation record.
    void NavigateRequested(const quillet::TNavigationRecord& record);

private:
    void AddPage(TPageIndex index);
    void UpdateActions();
    void PutOnClipboard(const std::string& text);

    QTabWidget* m_tabs = nullptr;
    TResultPage* m_pages[2] = {nullptr, nullptr};
    QMenu* m_menu = nullptr;
    QAction* m_newDocument = nullptr;
    QAction* m_copyLine = nullptr;
    QAction* m_copyAll = nullptr;
    QAction* m_clear = nullptr;
    IClipboard* m_clipboard = nullptr;
};

} // namespace quillet
