#include "app/ui/QuilletMainForm.h"

#include "app/InstanceHandover.h"
#include "app/SettingsStore.h"
#include "app/ShellSeams.h"
#include "app/Translations.h"
#include "app/ui/DocumentOpeners.h"
#include "app/ui/DocumentWindow.h"
#include "app/ui/ShellUi.h"
#include "app/ui/StatusPanel.h"
#include "app/ui/WidgetTranslation.h"
#include "platform/UserPaths.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSessionManager>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <filesystem>

namespace quillet {

namespace {

struct TToolbarSpec {
    const char* name; // object name
    const char* titleKey; // translation key of its caption ("" when not translated)
    const char* title; // English caption
    const char* toggleName; // its show/hide command
    const char* toggleCaption;
    const char* toggleHint;
    bool visibleAtFirst;
};

// The toolbars of the main window with their show/hide entries.
constexpr TToolbarSpec kToolbars[] = {
    {"StandardBar", "StandardBar", "File", "ViewStandard", "&Standard", "Standard|Show or hide the File toolbar", true},
    {"EditBar", "EditBar", "Edit", "ViewEdit", "&Edit", "Edit|Show or hide the Edit toolbar", true},
    {"SearchBar", "SearchBar", "Search", "ViewSearch", "Se&arch", "Search|Show or hide the Search toolbar", true},
    {"ViewBar", "ViewBar", "View", "ViewView", "&View", "View|Show or hide the View toolbar", true},
    {"WindowBar", "", "Window", "ViewWindow", "&Window", "Window|Show or hide the Window toolbar", true},
    {"ToolsBar", "ToolsBar", "Tools", "ViewTools", "&Tools", "Tools|Show or hide the Tools toolbar", true},
    {"ClipboardBar",
        "ClipboardsBar",
        "Clipboards",
        "ViewClipboards",
        "&Clipboards",
        "Clipboards|Show or hide the Clipboards toolbar",
        true},
    {"MacroBar", "MacroBar", "Macros", "ViewMacro", "&Macros", "Macros|Show or hide the Macros toolbar", false},
    {"QuickTemplatesForm", "QuickTemplatesForm", "Quick Templates", nullptr, nullptr, nullptr, false},
};

struct TMenuSpec {
    const char* key;
    const char* caption;
};

constexpr TMenuSpec kMenus[] = {
    {"MenuFile", "&File"},
    {"MenuEdit", "&Edit"},
    {"MenuSearch", "&Search"},
    {"MenuView", "&View"},
    {"MenuProject", "&Project"},
    {"MenuSyntax", "S&yntax"},
    {"MenuTools", "&Tools"},
    {"MenuWindow", "&Window"},
    {"MenuHelp", "&Help"},
};

QString Stripped(QString text)
{
    return text.remove(QLatin1Char('&'));
}

std::filesystem::path ProgramFolder()
{
    return ToFileName(QCoreApplication::applicationDirPath());
}

} // namespace

TQuilletMainForm::TQuilletMainForm(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("QuilletMainForm"));
    setWindowTitle(QStringLiteral("Quillet"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillet.svg")));
    resize(1000, 700);

    m_codePages.defaultCp = [] {
        return 0;
    };
    m_unavailableOpener = std::make_unique<TUnavailableDocumentOpener>(this);
    m_opener = m_unavailableOpener.get();

    // Settings of the shell; a language stored in them is used from now on.
    m_options = ReadGlobalOptions(Settings());
    if (Translator().CurrentLanguage() != m_options.language) {
        ResetLang(m_options.language);
    }

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MdiArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        RefreshWindowMenu();
    });

    CreateMenus();
    CreateToolbars();
    CreateStatusBar();

    manualloadres();
    nactiResource(this);
    LoadToolbarLayout();
    RefreshWindowMenu();

    setAcceptDrops(true);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (manager.allowsInteraction() && !(CloseQueryDocuments() && FormCloseQuery())) {
            manager.cancel();
        }
        manager.release();
    });
}

TQuilletMainForm::~TQuilletMainForm()
{
    FormDestroy();
}

void TQuilletMainForm::CreateMenus()
{
    for (const TMenuSpec& spec : kMenus) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(spec.caption));
        menu->setObjectName(QString::fromLatin1(spec.key));
        menu->setProperty("quilletText", QString::fromLatin1(spec.caption));
        m_menus.push_back(menu);
    }
    QMenu* file = m_menus[0];
    QAction* exit = AddCommand(file, "FileExit", QStringLiteral("E&xit"), QStringLiteral("Exit|Exit application"));
    exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    exit->setMenuRole(QAction::QuitRole);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    // The hidden exit command: Esc closes the window while "UseESCtoExit" is set.
    m_exit2 = new QAction(QStringLiteral("FileExit2"), this);
    m_exit2->setObjectName(QStringLiteral("FileExit2"));
    if (m_options.useEscToExit) {
        m_exit2->setShortcut(QKeySequence(Qt::Key_Escape));
    }
    m_exit2->setShortcutContext(Qt::WindowShortcut);
    addAction(m_exit2);
    connect(m_exit2, &QAction::triggered, this, [this] {
        if (m_options.useEscToExit) {
            close();
        }
    });

    m_windowMenu = m_menus[7];
    QMenu* window = m_windowMenu;
    struct TWindowCommand {
        const char* name;
        const char* caption;
        const char* hint;
        void (QMdiArea::*slot)();
    };
    const TWindowCommand windowCommands[] = {
        {"WindowCascade", "&Cascade", "Cascade|Arrange windows so they overlap", &QMdiArea::cascadeSubWindows},
        {"WindowTileHorizontal",
            "Tile &Horizontally",
            "Tile Horizontally|Arrange windows as tile down the screen",
            &QMdiArea::tileSubWindows},
        {"WindowTileVertical",
            "Tile &Vertically",
            "Tile Vertically|Arrange windows as tile across the screen",
            &QMdiArea::tileSubWindows},
        {"WindowPrior",
            "Previous Window",
            "Previous Window|Show previous window",
            &QMdiArea::activatePreviousSubWindow},
        {"WindowNext", "Next Window", "Next Window|Show next window", &QMdiArea::activateNextSubWindow},
    };
    for (const TWindowCommand& command : windowCommands) {
        if (std::string_view(command.name) == "WindowPrior") {
            window->addSeparator();
        }
        QAction* action =
            AddCommand(window, command.name, QString::fromLatin1(command.caption), QString::fromLatin1(command.hint));
        connect(action, &QAction::triggered, m_mdiArea, command.slot);
    }
    QAction* minimizeAll = AddCommand(window,
        "WindowMinimizeAll",
        QStringLiteral("&Minimize All"),
        QStringLiteral("Minimize All|Minimize all windows"));
    connect(minimizeAll, &QAction::triggered, this, [this] {
        for (QMdiSubWindow* child : DocumentWindows()) {
            child->showMinimized();
        }
    });
    m_windowListSeparator = window->addSeparator();
    connect(window, &QMenu::aboutToShow, this, &TQuilletMainForm::RefreshWindowMenu);

    QMenu* help = m_menus[8];
    QAction* topics = AddCommand(help,
        "HelpHelpTopics",
        QStringLiteral("&Help Topics..."),
        QStringLiteral("Help Topics|Display the help contents page for Quillet"));
    topics->setShortcut(QKeySequence(Qt::Key_F1));
    connect(topics, &QAction::triggered, this, &TQuilletMainForm::ShowHelp);
    help->addSeparator();
    QAction* about =
        AddCommand(help, "HelpAbout", QStringLiteral("&About Quillet..."), QStringLiteral("About Quillet"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &TQuilletMainForm::ShowAbout);
}

QAction* TQuilletMainForm::AddCommand(QMenu* menu, const char* name, const QString& caption, const QString& hint)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    SetCommandHint(action, hint);
    menu->addAction(action);
    return action;
}

void TQuilletMainForm::CreateToolbars()
{
    QMenu* toolbarsMenu = m_menus[3]->addMenu(QStringLiteral("&Toolbars"));
    toolbarsMenu->setObjectName(QStringLiteral("ViewToolbarsMenu"));
    for (const TToolbarSpec& spec : kToolbars) {
        QToolBar* bar = addToolBar(QString::fromLatin1(spec.title));
        bar->setObjectName(QString::fromLatin1(spec.name));
        bar->setProperty("quilletText", QString::fromLatin1(spec.title));
        bar->setProperty("quilletTitleKey", QString::fromLatin1(spec.titleKey));
        m_toolbars.push_back(bar);
        if (spec.toggleName != nullptr) {
            auto* toggle = new QAction(QString::fromLatin1(spec.toggleCaption), this);
            toggle->setObjectName(QString::fromLatin1(spec.toggleName));
            toggle->setCheckable(true);
            SetCommandHint(toggle, QString::fromLatin1(spec.toggleHint));
            toolbarsMenu->addAction(toggle);
            connect(toggle, &QAction::toggled, bar, &QToolBar::setVisible);
            connect(bar, &QToolBar::visibilityChanged, toggle, [toggle, bar] {
                toggle->setChecked(bar->isVisible());
            });
            bar->setProperty("quilletToggle", QVariant::fromValue(static_cast<QObject*>(toggle)));
        }
    }
    // The window toolbar carries the window commands; the others are filled
    // by the command table as the commands arrive. Empty bars stay hidden.
    QToolBar* windowBar = findChild<QToolBar*>(QStringLiteral("WindowBar"));
    windowBar->addAction(findChild<QAction*>(QStringLiteral("WindowPrior")));
    windowBar->addAction(findChild<QAction*>(QStringLiteral("WindowNext")));
    for (QToolBar* bar : m_toolbars) {
        bar->setVisible(!bar->actions().isEmpty());
        if (auto* toggle = qobject_cast<QAction*>(bar->property("quilletToggle").value<QObject*>())) {
            toggle->setChecked(!bar->isHidden());
        }
    }
}

QMenu* TQuilletMainForm::createPopupMenu()
{
    auto* menu = new QMenu(this);
    for (QToolBar* bar : m_toolbars) {
        if (auto* toggle = qobject_cast<QAction*>(bar->property("quilletToggle").value<QObject*>())) {
            menu->addAction(toggle);
        }
    }
    return menu;
}

void TQuilletMainForm::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < kStatusPanelCount; ++i) {
        const bool last = i == kStatusPanelCount - 1;
        auto* panel = new TStatusPanel(last ? 0 : kStatusPanelWidths[static_cast<std::size_t>(i)],
            i == 0 ? Qt::AlignHCenter : Qt::AlignLeft,
            i >= kPanelSyntax,
            bar);
        // Added as normal (not permanent) widgets, so a long hint shown with
        // showMessage covers all panels and they return when it is cleared.
        bar->addWidget(panel, last ? 1 : 0);
        m_panels[static_cast<std::size_t>(i)] = panel;
    }
}

void TQuilletMainForm::manualloadres()
{
    for (QMenu* menu : m_menus) {
        const QString english = menu->property("quilletText").toString();
        menu->setTitle(Tr(menu->objectName().toStdString(), english.toStdString()));
    }
    for (QToolBar* bar : m_toolbars) {
        const QString key = bar->property("quilletTitleKey").toString();
        const QString english = bar->property("quilletText").toString();
        bar->setWindowTitle(key.isEmpty() ? english : Stripped(Tr(key.toStdString(), english.toStdString())));
    }
    m_statusTexts.overwrite = Tr("Overwrite", "Overwrite");
    m_statusTexts.insert = Tr("Insert", "Insert");
    m_statusTexts.modified = Tr("Modified", "Modified");
    m_statusTexts.readOnly = Tr("ReadOnly", "Read Only");
    if (m_windowListSeparator != nullptr) {
        m_windowListSeparator->setText(Tr("WindowList", "&Window List"));
    }
}

void TQuilletMainForm::UpdateLanguage(const std::string& fileName)
{
    setUpdatesEnabled(false);
    ResetLang(fileName);
    manualloadres();
    nactiResource(this);
    setUpdatesEnabled(true);
    emit LanguageChanged();
}

// --- seams ---

void TQuilletMainForm::SetDocumentOpener(IDocumentOpener* opener)
{
    m_opener = opener != nullptr ? opener : m_unavailableOpener.get();
}

IDocumentOpener& TQuilletMainForm::DocumentOpener()
{
    return *m_opener;
}

void TQuilletMainForm::SetProjectSession(IProjectSession* project)
{
    m_project = project;
}

void TQuilletMainForm::SetMacroRecording(IMacroRecording* macros)
{
    m_macros = macros;
}

void TQuilletMainForm::SetStartupActionHandler(std::function<bool(TStartupAction)> handler)
{
    m_startupHandler = std::move(handler);
}

void TQuilletMainForm::SetCodePageFunctions(TCodePageFunctions functions)
{
    m_codePages = std::move(functions);
}

// --- documents ---

QMdiSubWindow* TQuilletMainForm::AddMdiChild(QMdiSubWindow* child)
{
    m_mdiArea->addSubWindow(child);
    child->show();
    m_mdiArea->setActiveSubWindow(child);
    RefreshWindowMenu();
    return child;
}

QList<QMdiSubWindow*> TQuilletMainForm::DocumentWindows() const
{
    return m_mdiArea->subWindowList(QMdiArea::CreationOrder);
}

void TQuilletMainForm::RefreshWindowMenu()
{
    // One entry per document window after the separator, the active one checked.
    const QList<QAction*> actions = m_windowMenu->actions();
    const int start = static_cast<int>(actions.indexOf(m_windowListSeparator));
    for (int i = start + 1; i < actions.size(); ++i) {
        m_windowMenu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = DocumentWindows();
    m_windowListSeparator->setVisible(!windows.isEmpty());
    int number = 1;
    for (QMdiSubWindow* child : windows) {
        QString caption = EscapeAmpersands(child->windowTitle());
        if (number <= 9) {
            caption = QStringLiteral("&%1 %2").arg(number).arg(caption);
        }
        ++number;
        QAction* entry = m_windowMenu->addAction(caption);
        entry->setCheckable(true);
        entry->setChecked(child == m_mdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, child] {
            if (child->isMinimized()) {
                child->showNormal();
            }
            m_mdiArea->setActiveSubWindow(child);
        });
    }
    for (const char* name : {"WindowCascade",
             "WindowTileHorizontal",
             "WindowTileVertical",
             "WindowPrior",
             "WindowNext",
             "WindowMinimizeAll"}) {
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name))) {
            action->setEnabled(!windows.isEmpty());
        }
    }
}

// --- status bar ---

void TQuilletMainForm::SetStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < kStatusPanelCount) {
        m_panels[static_cast<std::size_t>(panel)]->SetFullText(text);
    }
}

QString TQuilletMainForm::StatusText(int panel) const
{
    return panel >= 0 && panel < kStatusPanelCount ? m_panels[static_cast<std::size_t>(panel)]->FullText() : QString();
}

void TQuilletMainForm::SetStatusPanelEnabled(int panel, bool enabled)
{
    if (panel >= 0 && panel < kStatusPanelCount) {
        m_panels[static_cast<std::size_t>(panel)]->setEnabled(enabled);
    }
}

// --- start-up and messages ---

void TQuilletMainForm::RunStartup(const std::vector<std::string>& arguments, const std::string& startDirectory)
{
    if (!arguments.empty()) {
        OtevriDosleSoubory(BuildArgumentList(arguments, startDirectory));
        return;
    }
    const auto action = static_cast<TStartupAction>(m_options.onStartup);
    if (action != TStartupAction::DoNothing && !PerformStartupAction(action)) {
        statusBar()->showMessage(
            Tr("StartupNotAvailable", "The start-up action is not available in this build yet."), 8000);
    }
}

bool TQuilletMainForm::PerformStartupAction(TStartupAction action)
{
    return m_startupHandler && m_startupHandler(action);
}

void TQuilletMainForm::OtevriDosleSoubory(const std::vector<std::string>& list)
{
    TArgumentRun(m_codePages).OtevriDosleSoubory(list, *m_opener);
}

std::string TQuilletMainForm::WMCopyData(std::string_view message)
{
    return HandleOpenFilesMessage(message, [this](const std::vector<std::string>& lines) {
        OtevriDosleSoubory(lines);
        DoslaZprava();
    });
}

void TQuilletMainForm::DoslaZprava()
{
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void TQuilletMainForm::OpenDroppedFiles(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            continue;
        }
        TOpenRequest request;
        request.fileName = ToFileName(url.toLocalFile());
        request.codePageIndex = m_codePages.defaultCp ? m_codePages.defaultCp() : 0;
        request.closeEmptyActive = true;
        m_opener->CreateMDIChild(request);
    }
}

void TQuilletMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
}

void TQuilletMainForm::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    OpenDroppedFiles(urls);
}

// --- closing ---

bool TQuilletMainForm::CloseQueryDocuments()
{
    for (QMdiSubWindow* child : DocumentWindows()) {
        if (auto* document = dynamic_cast<IDocumentWindow*>(child); document != nullptr && !document->CloseQuery()) {
            return false;
        }
    }
    return true;
}

bool TQuilletMainForm::FormCloseQuery()
{
    if (m_project == nullptr || !m_project->IsOpen() || !m_project->IsModified()) {
        return true;
    }
    const std::string file = m_project->FileName();
    const QString name =
        file.empty() ? Tr("NonameProject", "Untitled Project") : QFileInfo(FromFileName(file)).completeBaseName();
    const auto answer = ShowMessage(this,
        QMessageBox::Question,
        FromUtf8(LangFormat("SaveProject", "Save changes to project \"%s\"?", {ToUtf8(name)})),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    return answer == QMessageBox::No || m_project->Save();
}

void TQuilletMainForm::closeEvent(QCloseEvent* event)
{
    if (!CloseQueryDocuments() || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
}

void TQuilletMainForm::FormDestroy()
{
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    if (m_macros != nullptr && m_macros->IsRecording()) {
        m_macros->StopRecording();
    }
    SaveToolbarLayout();
    Settings().Flush();
}

// The toolbar layout lives in sections below "Position\": one per toolbar
// with its visibility, and the whole arrangement as Qt's state record.
void TQuilletMainForm::LoadToolbarLayout()
{
    TSettingsStore& store = Settings();
    const std::string state = store.ReadString("Position\\Layout", "Toolbars", "");
    if (!state.empty()) {
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
    }
    for (QToolBar* bar : m_toolbars) {
        const std::string section = "Position\\" + bar->objectName().toStdString();
        if (!bar->actions().isEmpty() && store.SectionExists(section)) {
            bar->setVisible(store.ReadBool(section, "Visible", true));
        }
    }
}

void TQuilletMainForm::SaveToolbarLayout()
{
    TSettingsStore& store = Settings();
    TSettingsBatch batch(store);
    store.WriteString("Position\\Layout", "Toolbars", saveState().toBase64().toStdString());
    for (QToolBar* bar : m_toolbars) {
        store.WriteBool("Position\\" + bar->objectName().toStdString(), "Visible", !bar->isHidden());
    }
}

void TQuilletMainForm::ShowHelp()
{
    const std::filesystem::path candidates[] = {
        TUserPaths().DataFolder() / "Docs" / "index.html",
        ProgramFolder() / "Docs" / "index.html",
    };
    for (const auto& page : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(page, ec)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(FromFileName(page.string())));
            return;
        }
    }
    ShowMessage(this, QMessageBox::Warning, Tr("HelpMissing", "The help pages (Docs/index.html) were not found."));
}

void TQuilletMainForm::ShowAbout()
{
    QMessageBox box(QMessageBox::NoIcon,
        FromUtf8(kAppTitle),
        QStringLiteral("<b>Quillet 4.1</b><p>")
            + Tr("AboutText", "An editor for program source and binary files.").toHtmlEscaped(),
        QMessageBox::Ok,
        this);
    box.setIconPixmap(windowIcon().pixmap(64, 64));
    box.exec();
}

} // namespace quillet
