#include "compare/ui/CompareForm.h"

#include "compare/LineIdentities.h"
#include "compare/ui/CompareOptionsForm.h"
#include "compare/ui/CompareOverview.h"
#include "compare/ui/CompareProgressForm.h"
#include "core/AppTitle.h"
#include "core/Translations.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/SyntaxParser.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SearchCommands.h"
#include "text/ui/TarnMemo.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillet {

namespace {

QPointer<TCompareForm> g_instance;
std::int32_t g_maxLines = TDiff::kMaxLines;

QString Text(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

QString AppTitle()
{
    return QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
}

struct TActionEntry {
    const char* name;
    const char* key; // translation key of the caption
    const char* caption;
    const char* hint;
    const char* shortcut;
    const char* icon;
};

// The window's own commands with their captions, hints, keys and icons.
constexpr TActionEntry kActions[] = {
    {"CompareUseLeft",
        "CompareUseLeft",
        "Use &Left / Up Merged",
        "Use Left / Up Merged File|Use Left / Up merged file as first compared",
        "",
        "go-first"},
    {"CompareUseRight",
        "CompareUseRight",
        "Use &Right / Down Merged",
        "Use Right / Down Merged File|Use Right / Down merged file as first compared",
        "",
        "go-last"},
    {"CompareUseLeftNew",
        "CompareUseLeftNew",
        "Use Left / &Up Merged as New",
        "Use Left / Up Merged as New|Use Left / Up merged file as new one",
        "",
        "document-new"},
    {"CompareUseRightNew",
        "CompareUseRightNew",
        "Use Right / &Down Merged as New",
        "Use Right / Down Merged as New|Use Right / Down merged file as new one",
        "",
        "document-new"},
    {"CompareClose", "CompareClose", "&Close", "Close|Close differences window", "Esc", "window-close"},
    {"CompareDifferencesOnly",
        "CompareDifferencesOnly",
        "&Show Differences Only",
        "Show Differences Only|Show differences between compared files only",
        "",
        "view-filter"},
    {"CompareRotateView",
        "CompareRotateView",
        "&Rotate View",
        "Rotate View|Rotate View between horizontally and vertically split",
        "",
        "object-rotate-right"},
    {"CompareNextDifference",
        "CompareNextDifference",
        "&Next Difference",
        "Next Difference|Go to next diffrence",
        "Ctrl+N",
        "go-down"},
    {"ComparePreviousDifference",
        "ComparePreviousDifference",
        "&Previous Difference",
        "Previous Difference|Go to previous diffrence",
        "Ctrl+P",
        "go-up"},
    {"CompareCopyBlockLeft",
        "CompareCopyBlockLeft",
        "Copy Block &Left / Up",
        "Copy Block Left / Up|Copy block from Right / Down window to Left / Up window",
        "",
        "go-previous"},
    {"CompareCopyBlockRight",
        "CompareCopyBlockRight",
        "Copy Block &Right / Down",
        "Copy Block Right / Down|Copy block from Left / Up window to Right / Down window",
        "",
        "go-next"},
};

struct TMenuEntry {
    const char* name; // object name and translation key
    const char* caption;
};

constexpr TMenuEntry kMenus[] = {
    {"MenuFile", "&File"},
    {"MenuView", "&View"},
    {"MenuMerge", "&Merge"},
};

} // namespace

TCompareForm::TCompareForm(const TCompareContext& context, TCompareSide left, TCompareSide right, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , m_context(context)
    , m_left(std::move(left))
    , m_right(std::move(right))
{
    setObjectName(QStringLiteral("CompareForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("CompareSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(CreatePane(0));
    m_splitter->addWidget(CreatePane(1));
    m_overview = new TCompareOverview(this);
    m_overview->hide();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_overview);
    setCentralWidget(central);
    CreateActions();
    CreateMenus();
    CreateStatusBar();
    Retranslate();
    for (int side = 0; side < 2; ++side) {
        PrepareView(side);
    }
    for (TCompareSide* side : {&m_left, &m_right}) {
        if (side->document) {
            side->document->installEventFilter(this);
            // A closed source can no longer take the merge. The document is
            // only a QObject by now, so the guard is cleared before anything
            // looks at it.
            connect(side->document.data(), &QObject::destroyed, this, [this, side] {
                side->document = nullptr;
                UpdateCommands();
            });
        }
    }
    resize(1000, 700);
    g_instance = this;
}

TCompareForm::~TCompareForm()
{
    for (TTarnMemo* view : m_views) {
        view->MemoSource().SetSyntaxParser(nullptr);
    }
}

TCompareForm* TCompareForm::Instance()
{
    return g_instance.data();
}

void TCompareForm::SetMaxLines(std::int32_t lines)
{
    g_maxLines = std::clamp<std::int32_t>(lines, 0, TDiff::kMaxLines);
}

QWidget* TCompareForm::CreatePane(int side)
{
    auto* pane = new QWidget(this);
    auto* caption = new QLabel(pane);
    caption->setObjectName(side == 0 ? QStringLiteral("LeftCaption") : QStringLiteral("RightCaption"));
    caption->setAutoFillBackground(true);
    caption->setMargin(2);
    auto* view = new TTarnMemo(pane);
    view->setObjectName(side == 0 ? QStringLiteral("LeftView") : QStringLiteral("RightView"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(caption);
    layout->addWidget(view, 1);
    m_captions[static_cast<std::size_t>(side)] = caption;
    m_views[static_cast<std::size_t>(side)] = view;
    return pane;
}

QAction* TCompareForm::Action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TCompareForm::CreateActions()
{
    for (const TActionEntry& entry : kActions) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(entry.icon)));
        if (*entry.shortcut != '\0') {
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        }
        addAction(action);
    }
    Action("CompareClose")->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::ALT | Qt::Key_F4)});
    Action("CompareDifferencesOnly")->setCheckable(true);
    connect(Action("CompareUseLeft"), &QAction::triggered, this, [this] {
        UseMerged(0);
    });
    connect(Action("CompareUseRight"), &QAction::triggered, this, [this] {
        UseMerged(1);
    });
    connect(Action("CompareUseLeftNew"), &QAction::triggered, this, [this] {
        UseMergedAsNew(0);
    });
    connect(Action("CompareUseRightNew"), &QAction::triggered, this, [this] {
        UseMergedAsNew(1);
    });
    connect(Action("CompareClose"), &QAction::triggered, this, &QWidget::close);
    connect(Action("CompareDifferencesOnly"), &QAction::triggered, this, [this] {
        ToggleDifferencesOnly();
    });
    connect(Action("CompareRotateView"), &QAction::triggered, this, [this] {
        RotateView();
    });
    connect(Action("CompareNextDifference"), &QAction::triggered, this, [this] {
        NextDifference();
    });
    connect(Action("ComparePreviousDifference"), &QAction::triggered, this, [this] {
        PreviousDifference();
    });
    connect(Action("CompareCopyBlockLeft"), &QAction::triggered, this, [this] {
        CopyBlock(0);
    });
    connect(Action("CompareCopyBlockRight"), &QAction::triggered, this, [this] {
        CopyBlock(1);
    });

    // Search and editing keys work on the focused view.
    const auto onView = [this](const char* name, QKeySequence key, std::function<void(TTarnMemo&)> run) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
            run(FocusedView());
        });
        addAction(action);
    };
    onView("CompareFind", QKeySequence(Qt::CTRL | Qt::Key_F), [this](TTarnMemo& view) {
        SearchFindInView(view, this);
    });
    onView("CompareFindNext", QKeySequence(Qt::Key_F3), [this](TTarnMemo& view) {
        SearchFindNextInView(view, this, false);
    });
    onView("CompareFindPrevious", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this](TTarnMemo& view) {
        SearchFindNextInView(view, this, true);
    });
    onView("CompareGoToLine", QKeySequence(Qt::CTRL | Qt::Key_G), [this](TTarnMemo& view) {
        SearchGoToLineInView(view, this);
    });
    onView("CompareReplace", QKeySequence(), [this](TTarnMemo& view) {
        SearchReplaceInView(view, this);
    });
    onView("CompareCopy", QKeySequence(Qt::CTRL | Qt::Key_C), [](TTarnMemo& view) {
        view.CopyToClipboard();
    });
    onView("ComparePaste", QKeySequence(Qt::CTRL | Qt::Key_V), [](TTarnMemo& view) {
        view.PasteFromClipboard();
    });
    onView("CompareCut", QKeySequence(Qt::CTRL | Qt::Key_X), [](TTarnMemo& view) {
        view.CutToClipboard();
    });
    onView("CompareUndo", QKeySequence(Qt::CTRL | Qt::Key_Z), [](TTarnMemo& view) {
        view.MemoSource().Undo();
    });
    onView("CompareRedo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [](TTarnMemo& view) {
        view.MemoSource().Redo();
    });
    // Bookmark, template and action keys do nothing here.
    auto* swallow = new QAction(this);
    swallow->setObjectName(QStringLiteral("CompareSwallowedKeys"));
    QList<QKeySequence> keys;
    for (int digit = 0; digit <= 9; ++digit) {
        keys << QKeySequence(Qt::CTRL | (Qt::Key_0 + digit))
             << QKeySequence(Qt::CTRL | Qt::SHIFT | (Qt::Key_0 + digit));
    }
    keys << QKeySequence(Qt::CTRL | Qt::Key_J) << QKeySequence(Qt::CTRL | Qt::Key_E)
         << QKeySequence(Qt::CTRL | Qt::Key_L);
    swallow->setShortcuts(keys);
    addAction(swallow);
}

void TCompareForm::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QString());
    file->setObjectName(QStringLiteral("MenuFile"));
    file->addAction(Action("CompareUseLeft"));
    file->addAction(Action("CompareUseRight"));
    file->addSeparator();
    file->addAction(Action("CompareUseLeftNew"));
    file->addAction(Action("CompareUseRightNew"));
    file->addSeparator();
    file->addAction(Action("CompareClose"));
    QMenu* view = menuBar()->addMenu(QString());
    view->setObjectName(QStringLiteral("MenuView"));
    view->addAction(Action("CompareDifferencesOnly"));
    view->addAction(Action("CompareRotateView"));
    view->addSeparator();
    view->addAction(Action("CompareNextDifference"));
    view->addAction(Action("ComparePreviousDifference"));
    QMenu* merge = menuBar()->addMenu(QString());
    merge->setObjectName(QStringLiteral("MenuMerge"));
    merge->addAction(Action("CompareCopyBlockLeft"));
    merge->addAction(Action("CompareCopyBlockRight"));

    QToolBar* bar = addToolBar(QString());
    bar->setObjectName(QStringLiteral("CompareToolBar"));
    bar->setMovable(false);
    for (const char* name : {"CompareUseLeft",
             "CompareUseRight",
             "",
             "ComparePreviousDifference",
             "CompareNextDifference",
             "",
             "CompareCopyBlockLeft",
             "CompareCopyBlockRight",
             "",
             "CompareDifferencesOnly",
             "CompareRotateView"}) {
        if (*name == '\0') {
            bar->addSeparator();
        } else {
            bar->addAction(Action(name));
        }
    }
}

void TCompareForm::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    const int widths[] = {90, 90, 80, 22, 22, 22, 0};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        if (widths[i] > 0) {
            panel->setMinimumWidth(widths[i]);
        }
        if (i >= 3 && i <= 5) {
            // The legend: "+", "~" and "-" in bold on the row colours.
            static const char* const kSigns[] = {"+", "~", "-"};
            static const int kStyles[] = {kAddedLinesStyle, kModifiedLinesStyle, kDeletedLinesStyle};
            const auto& styles = m_views[0]->TextStyles();
            const int style = kStyles[i - 3];
            const QColor back = style < static_cast<int>(styles.size())
                ? ToQColor(styles[static_cast<std::size_t>(style)].color)
                : QColor(Qt::lightGray);
            panel->setText(QString::fromLatin1(kSigns[i - 3]));
            panel->setAlignment(Qt::AlignCenter);
            panel->setStyleSheet(
                QStringLiteral("QLabel { font-weight: bold; color: black; background: %1; }").arg(back.name()));
        }
        // Normal (not permanent) widgets, as in the main window: a command's
        // hint shown with showMessage covers them and they return after it.
        bar->addWidget(panel, i + 1 == m_panels.size() ? 1 : 0);
        m_panels[i] = panel;
    }
}

void TCompareForm::PrepareView(int side)
{
    TTarnMemo& view = View(side);
    const TCompareSide& source = Side(side);
    ApplyEditorSettings(view, m_context.viewSettings);
    ApplyEditorSettings(view.MemoSource(), m_context.viewSettings);
    if (m_context.syntax.styles != nullptr) {
        view.SetTextStyles(ToMemoTextStyles(*m_context.syntax.styles));
    }
    view.SetWordWrap(false);
    view.SetScrollBarsBoth(true);
    // Our own row numbers replace the view's line numbers.
    view.SetOptions(WithOption(WithOption(view.Options(), moLineNumbers, false), moColoredLineStyle, true));
    if (!source.syntaxFile.empty() && m_context.syntax.catalog != nullptr) {
        auto parser = std::make_unique<TSyntaxParser>();
        const std::filesystem::path path = m_context.syntax.catalog->FindDefinition(source.syntaxFile);
        if (!path.empty() && parser->LoadFromFile(path).ok) {
            if (m_context.syntax.styles != nullptr) {
                UpdateSyntaxParser(*parser, *m_context.syntax.styles, m_context.syntax.styles->EditorFont());
            }
            view.MemoSource().SetSyntaxParser(parser.get());
            m_parsers[static_cast<std::size_t>(side)] = std::move(parser);
        }
    }
    view.MemoSource().SetReadOnly(source.document != nullptr && source.document->MemoSource().ReadOnly());
    view.OnStateChange = [this](TTarnMemo& memo, std::uint32_t flags) {
        if ((flags & (chLineCount | chTextChanged | chSelection)) != 0) {
            NumbersChanged(SideOf(memo));
        }
        if ((flags & chCaretMoved) != 0) {
            CursorMoved(memo);
        }
        UpdateStatus();
        UpdateCommands();
    };
    view.OnMemoScroll = [this](TTarnMemo& memo, int deltaRows, int deltaColumns) {
        ViewScrolled(memo, deltaRows, deltaColumns);
    };
    view.OnDrawGutter = [this, side](TTarnMemo&, QPainter& painter, const QRect& cell, int line, bool&) {
        DrawGutterNumber(side, painter, cell, line);
    };
    view.installEventFilter(this);
}

TTarnMemo& TCompareForm::FocusedView()
{
    for (TTarnMemo* view : m_views) {
        if (view->hasFocus()) {
            return *view;
        }
    }
    // While a menu or dialog holds the focus, the view that had it last.
    return m_lastFocused != nullptr ? *m_lastFocused : *m_views[1];
}

TTarnMemo& TCompareForm::Other(const TTarnMemo& view)
{
    return &view == m_views[0] ? *m_views[1] : *m_views[0];
}

void TCompareForm::SearchDifferences(const TCompareContext& context)
{
    if (TCompareForm* open = Instance()) {
        if (open->isVisible()) {
            if (open->isMinimized()) {
                open->showNormal();
            }
            open->raise();
            open->activateWindow();
        }
        return; // shown, or still comparing: never a second one
    }
    TCompareOptionsForm options(context, context.mainWindow);
    if (options.exec() != QDialog::Accepted) {
        return;
    }
    std::array<TSideLoad, 2> sides;
    for (int side = 0; side < 2; ++side) {
        sides[static_cast<std::size_t>(side)] = LoadCompareSide(options.Choice(side));
        const TSideLoad& load = sides[static_cast<std::size_t>(side)];
        if (!load.ok) {
            if (!load.error.isEmpty()) {
                QMessageBox::warning(context.mainWindow, AppTitle(), load.error);
            }
            return;
        }
    }
    if (sides[0].side.lines.empty() || sides[1].side.lines.empty()) {
        QMessageBox::warning(
            context.mainWindow, AppTitle(), Text("CouldNotCompareEmpty", "Could not compare with empty file."));
        return;
    }
    auto* form = new TCompareForm(context, std::move(sides[0].side), std::move(sides[1].side));
    const TCompareOutcome outcome = form->Compare(options.IgnoreBlanks(), options.IgnoreCase());
    switch (outcome) {
    case TCompareOutcome::Differences:
        form->show();
        form->activateWindow();
        form->FocusedView().setFocus();
        return;
    case TCompareOutcome::Identical:
        delete form;
        QMessageBox::information(context.mainWindow, AppTitle(), Text("FilesEqual", "Compared files are identical."));
        return;
    case TCompareOutcome::Cancelled:
        delete form; // the user stopped it: nothing is claimed
        return;
    case TCompareOutcome::Failed:
        delete form;
        QMessageBox::critical(context.mainWindow,
            AppTitle(),
            Text("CompareFailed", "The files could not be compared: they are too long or memory ran out."));
        return;
    }
}

TCompareOutcome TCompareForm::Compare(bool ignoreBlanks, bool ignoreCase)
{
    if (m_comparing) {
        return TCompareOutcome::Failed;
    }
    m_ignoreBlanks = ignoreBlanks;
    m_ignoreCase = ignoreCase;
    m_comparing = true;
    m_progress = new TCompareProgressForm(m_context.mainWindow != nullptr ? m_context.mainWindow : this);
    bool cancelled = false;
    m_progress->OnCancel = [this, &cancelled] {
        cancelled = true;
        m_diff.Cancel();
    };
    m_progress->show();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QElapsedTimer sincePump;
    sincePump.start();
    m_diff.OnStep = [&sincePump] {
        // Pending events every 10 ms keep the window alive at little cost.
        if (sincePump.elapsed() >= 10) {
            QApplication::processEvents();
            sincePump.restart();
        }
    };
    m_diff.OnProgress = [this](TDiff&, int value) {
        m_progress->SetProgress(value);
    };
    QApplication::processEvents();
    bool ok = false;
    if (m_left.lines.size() <= static_cast<std::size_t>(g_maxLines)
        && m_right.lines.size() <= static_cast<std::size_t>(g_maxLines)) {
        try {
            const TLineIdentities ids = NumberLines(m_left.lines, m_right.lines, ignoreCase, ignoreBlanks);
            ok = !cancelled
                && m_diff.Execute(ids.left.data(),
                    ids.right.data(),
                    static_cast<std::int32_t>(ids.left.size()),
                    static_cast<std::int32_t>(ids.right.size()));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    m_diff.OnStep = nullptr;
    m_diff.OnProgress = nullptr;
    QApplication::restoreOverrideCursor();
    m_progress->hide();
    m_progress->deleteLater();
    m_progress = nullptr;
    m_comparing = false;
    if (!ok) {
        return cancelled ? TCompareOutcome::Cancelled : TCompareOutcome::Failed;
    }
    if (m_diff.ChangeCount() == 0) {
        return TCompareOutcome::Identical;
    }
    m_compared = true;
    m_overview->show();
    BuildRows();
    UpdateSummary();
    UpdateCaptions();
    UpdateStatus();
    UpdateCommands();
    return TCompareOutcome::Differences;
}

void TCompareForm::Retranslate()
{
    setWindowTitle(Text("CompareForm", "Differences Viewer"));
    for (const TActionEntry& entry : kActions) {
        QAction* action = Action(entry.name);
        action->setText(Text(entry.key, entry.caption));
        // Hints are "short|long": the tooltip, and the status bar text.
        const QString hint = Text(std::string(entry.key) + "Hint", entry.hint);
        action->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        action->setStatusTip(hint.section(QLatin1Char('|'), 1));
    }
    for (const TMenuEntry& entry : kMenus) {
        findChild<QMenu*>(QString::fromLatin1(entry.name))->setTitle(Text(entry.name, entry.caption));
    }
    findChild<QToolBar*>(QStringLiteral("CompareToolBar"))->setWindowTitle(Text("CompareToolBar", "Differences"));
    if (m_compared) {
        UpdateSummary();
    }
    UpdateStatus();
}

void TCompareForm::UpdateSummary()
{
    QString options;
    if (m_ignoreCase) {
        options = Text("CaseIgnored", "Case Ignored");
    }
    if (m_ignoreBlanks) {
        options += (options.isEmpty() ? QString() : QStringLiteral(", ")) + Text("BlanksIgnored", "Blanks Ignored");
    }
    const QString optionText = options.isEmpty() ? QString() : QStringLiteral("  (") + options + QStringLiteral(")");
    m_panels[6]->setText(QString::fromStdString(
        LangFormat("Differences", "Differences: %d %s", {m_diff.ChangeCount(), optionText.toStdString()})));
}

void TCompareForm::UpdateCaptions()
{
    for (int side = 0; side < 2; ++side) {
        QLabel* caption = m_captions[static_cast<std::size_t>(side)];
        const bool focused = &FocusedView() == m_views[static_cast<std::size_t>(side)];
        QPalette palette = caption->palette();
        const QPalette& app = QApplication::palette();
        palette.setColor(QPalette::Window, focused ? app.color(QPalette::Highlight) : app.color(QPalette::Mid));
        palette.setColor(
            QPalette::WindowText, focused ? app.color(QPalette::HighlightedText) : app.color(QPalette::WindowText));
        caption->setPalette(palette);
        const QString name = caption->fontMetrics().elidedText(
            Side(side).displayName, Qt::ElideMiddle, std::max(20, caption->width() - 5));
        caption->setText(QStringLiteral(" ") + name);
        caption->setToolTip(Side(side).displayName);
    }
}

void TCompareForm::UpdateStatus()
{
    TTarnMemo& view = FocusedView();
    const TTextPoint caret = view.MemoSource().GetCaretPoint();
    m_panels[0]->setText(QStringLiteral("%1: %2").arg(caret.line + 1).arg(caret.col + 1));
    const TMemoSource& source = view.MemoSource();
    m_panels[1]->setText(source.ReadOnly() ? QStringLiteral(" ") + Text("ReadOnly", "Read Only")
            : source.Modified()            ? QStringLiteral(" ") + Text("Modified", "Modified")
                                           : QString());
    m_panels[2]->setText(QStringLiteral(" ")
        + (TMemoSource::GetOverwrite() ? Text("Overwrite", "Overwrite") : Text("Insert", "Insert")));
}

void TCompareForm::UpdateCommands()
{
    Action("CompareUseLeft")->setEnabled(CanUseMerged(0));
    Action("CompareUseRight")->setEnabled(CanUseMerged(1));
    Action("CompareUseLeftNew")->setEnabled(m_compared && !m_comparing);
    Action("CompareUseRightNew")->setEnabled(m_compared && !m_comparing);
    Action("CompareDifferencesOnly")->setEnabled(m_compared && !m_comparing);
    Action("CompareDifferencesOnly")->setChecked(m_differencesOnly);
    Action("CompareNextDifference")->setEnabled(m_hasNext);
    Action("ComparePreviousDifference")->setEnabled(m_hasPrevious);
    Action("CompareCopyBlockLeft")->setEnabled(CanCopyBlock(0));
    Action("CompareCopyBlockRight")->setEnabled(CanCopyBlock(1));
}

bool TCompareForm::AskLoseChanges(int side)
{
    if (!View(side).MemoSource().Modified()) {
        return true;
    }
    const QString text = QString::fromStdString(LangFormat("CompareChanged",
        "Compared document \"%s\" was changed. Continue and lose changes?",
        {Side(side).displayName.toStdString()}));
    return QMessageBox::question(this, AppTitle(), text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TCompareForm::closeEvent(QCloseEvent* event)
{
    if (m_comparing || !AskLoseChanges(0) || !AskLoseChanges(1)) {
        event->ignore();
        return;
    }
    event->accept();
    // No longer showing: the next "Differences..." starts afresh even before
    // this window is deleted.
    g_instance = nullptr;
}

bool TCompareForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && m_comparing
        && (watched == m_left.document.data() || watched == m_right.document.data())) {
        event->ignore(); // a source stays open while it is being compared
        return true;
    }
    if (event->type() == QEvent::FocusIn && (watched == m_views[0] || watched == m_views[1])) {
        m_lastFocused = static_cast<TTarnMemo*>(watched);
        UpdateCaptions();
        UpdateStatus();
        UpdateNavigation();
        UpdateCommands();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quillet
