#include "tools/ui/ResultWindow.h"

#include "core/Translations.h"
#include "platform/IClipboard.h"
#include "text/ui/MemoStyles.h"
#include "tools/ui/ResultPage.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QTabWidget>

namespace quillet {

namespace {

QString Text(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

// Splits a hint "short|long" into the tooltip and the status-bar text.
void SetHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QAction* MakeAction(QMenu* menu, const char* name, const char* themeIcon)
{
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    action->setIcon(QIcon::fromTheme(QLatin1String(themeIcon)));
    return action;
}

} // namespace

TResultWindow::TResultWindow(QWidget* parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("ResultWindow"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("ResultTabs"));
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    AddPage(kFindInFilesPage);
    AddPage(kConsoleOutputPage);
    setWidget(m_tabs);

    m_menu = new QMenu(this);
    m_menu->setToolTipsVisible(true);
    m_newDocument = MakeAction(m_menu, "ResultCopyToNewDocument", "document-new");
    m_copyLine = MakeAction(m_menu, "ResultCopySelectedLine", "edit-copy");
    m_copyAll = MakeAction(m_menu, "ResultCopyContent", "edit-copy");
    m_menu->addSeparator();
    m_clear = MakeAction(m_menu, "ResultClear", "edit-clear");
    connect(m_newDocument, &QAction::triggered, this, &TResultWindow::CopyContentIntoNewDocument);
    connect(m_copyLine, &QAction::triggered, this, &TResultWindow::CopySelectedLineToClipboard);
    connect(m_copyAll, &QAction::triggered, this, &TResultWindow::CopyContentToClipboard);
    connect(m_clear, &QAction::triggered, this, &TResultWindow::ClearVisiblePage);
    connect(m_menu, &QMenu::aboutToShow, this, &TResultWindow::UpdateActions);
    Translate();
    UpdateActions();
}

void TResultWindow::AddPage(TPageIndex index)
{
    auto* page = new TResultPage(index == kConsoleOutputPage, m_tabs);
    page->setObjectName(
        index == kFindInFilesPage ? QStringLiteral("FindInFilesPage") : QStringLiteral("ConsoleOutputPage"));
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page, &QWidget::customContextMenuRequested, this, [this, page](const QPoint& at) {
        m_menu->popup(page->viewport()->mapToGlobal(at));
    });
    connect(page, &TResultPage::RecordActivated, this, [this, page](int line) {
        if (line >= 0 && static_cast<std::size_t>(line) < page->List().Count()) {
            const TNavigationRecord record = page->List().Record(static_cast<std::size_t>(line));
            emit NavigateRequested(record);
        }
    });
    m_pages[index] = page;
    m_tabs->addTab(page, QString());
}

void TResultWindow::Translate()
{
    setWindowTitle(Text("ResultWindow", "Result Window"));
    m_tabs->setTabText(kFindInFilesPage, Text("FindInFilesPage", "Find in Files"));
    m_tabs->setTabText(kConsoleOutputPage, Text("ConsoleOutputPage", "Console Output"));
    const struct {
        QAction* action;
        const char* key;
        const char* caption;
        const char* hint;
    } entries[] = {
        {m_newDocument,
            "ResultCopyToNewDocument",
            "Copy Content into New Document",
            "Copy Content into New Document|Copy result window content into New document"},
        {m_copyLine,
            "ResultCopySelectedLine",
            "Copy Selected Line to Clipboard",
            "Copy Selected Line to Clipboard|Copy result window selected line to Clipboard"},
        {m_copyAll,
            "ResultCopyContent",
            "Copy Content to Clipboard",
            "Copy Content to Clipboard|Copy result window content to Clipboard"},
        {m_clear, "ResultClear", "Clear", "Clear|Clear result window"},
    };
    for (const auto& entry : entries) {
        entry.action->setText(Text(entry.key, entry.caption));
        SetHint(entry.action, Text(std::string(entry.key) + "Hint", entry.hint));
    }
}

TResultPage& TResultWindow::Page(TPageIndex page) const
{
    return *m_pages[page];
}

TResultPage& TResultWindow::VisiblePage() const
{
    return *m_pages[m_tabs->currentIndex() == kConsoleOutputPage ? kConsoleOutputPage : kFindInFilesPage];
}

void TResultWindow::ShowPage(TPageIndex page)
{
    m_tabs->setCurrentIndex(page);
}

void TResultWindow::UpdateActions()
{
    const bool any = !VisiblePage().List().IsEmpty();
    for (QAction* action : {m_newDocument, m_copyLine, m_copyAll, m_clear}) {
        action->setEnabled(any);
    }
}

void TResultWindow::PutOnClipboard(const std::string& text)
{
    if (m_clipboard != nullptr) {
        m_clipboard->SetText(text);
    } else {
        QGuiApplication::clipboard()->setText(FromSystemText(text));
    }
}

void TResultWindow::CopyContentIntoNewDocument()
{
    const std::string text = VisiblePage().List().PlainText("\r\n");
    if (!text.empty() && OnNewDocument) {
        OnNewDocument(text);
    }
}

void TResultWindow::CopySelectedLineToClipboard()
{
    const TResultPage& page = VisiblePage();
    const int line = page.SelectedLine();
    if (line >= 0 && static_cast<std::size_t>(line) < page.List().Count()) {
        PutOnClipboard(StripMarkers(page.List().Line(static_cast<std::size_t>(line))));
    }
}

void TResultWindow::CopyContentToClipboard()
{
    if (!VisiblePage().List().IsEmpty()) {
        PutOnClipboard(VisiblePage().List().PlainText("\r\n"));
    }
}

void TResultWindow::ClearVisiblePage()
{
    VisiblePage().Model().Clear();
}

} // namespace quillet
