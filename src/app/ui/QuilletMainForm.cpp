#include "app/ui/QuilletMainForm.h"

#include "app/CommandTable.h"
#include "app/InstanceHandover.h"
#include "app/ShellSeams.h"
#include "app/ui/CommandActions.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/DocumentOpeners.h"
#include "app/ui/DocumentTabs.h"
#include "app/ui/DocumentWindow.h"
#include "app/ui/MainMenus.h"
#include "app/ui/MainToolbars.h"
#include "app/ui/ShellUi.h"
#include "app/ui/StatusPanel.h"
#include "app/ui/Tray.h"
#include "app/ui/WidgetTranslation.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "platform/IGlobalHotKey.h"
#include "platform/UserPaths.h"
#include "platform/qt/X11GlobalHotKey.h"

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
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <filesystem>

namespace quillet {

namespace {

QString Stripped(QString text)
{
    return text.remove(QLatin1Char('&'));
}

std::filesystem::path ProgramFolder()
{
    return ToFileName(QCoreApplication::applicationDirPath());
}

TDocumentTabs::TPlace TabPlace(const TGlobalOptions& options)
{
    if (!options.documentTabs) {
        return TDocumentTabs::TPlace::None;
    }
    return options.documentTabsPos ? TDocumentTabs::TPlace::Top : TDocumentTabs::TPlace::Bottom;
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
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
        RefreshWindowMenu();
        RefreshCaption();
    });
    // Double-clicking the empty document area opens a file.
    m_mdiArea->viewport()->installEventFilter(this);

    CreateMenus();
    CreateDocumentTabs();
    CreateToolbars();
    CreateStatusBar();
    CreateTray();
    BindShellCommands();
    // Again now that the command actions have registered the resources.
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillet.svg")));

    manualloadres();
    nactiResource(this);
    RefreshCaption();
    // Stored toolbar contents and user toolbars come before their positions.
    m_mainToolbars->InitializeFromStore(Settings());
    LoadToolbarLayout();
    RefreshWindowMenu();
    UpdateCommands();

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
    // Before the desktop hot key it may hold goes away with the members.
    delete m_tray;
    m_tray = nullptr;
    // QWidget's destructor hides and deletes the document area and the tabs,
    // which report the windows going away; this part of the object, and the
    // document manager's view of it, are gone by then.
    m_mdiArea->disconnect();
    m_tabs->disconnect(this);
    m_windowMenu->disconnect(this);
}

void TQuilletMainForm::CreateMenus()
{
    m_commands = std::make_unique<TCommandRegistry>();
    m_actions = new TCommandActions(this, *m_commands);
    m_mainMenus = std::make_unique<TMainMenus>(this, menuBar(), *m_actions);
    m_menus = m_mainMenus->Menus();
    m_windowMenu = m_mainMenus->Menu(QStringLiteral("MenuWindow"));
    m_windowListSeparator = m_mainMenus->WindowListSeparator();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TQuilletMainForm::RefreshWindowMenu);
    m_documentPopup = TMainMenus::BuildPopup(QStringLiteral("DocumentPopup"), *m_actions, this);
    // The hidden exit command: Esc closes the window while "UseESCtoExit" is set.
    m_exit2 = m_actions->Action("FileExit2");
    ApplyEscToExit();
}

void TQuilletMainForm::CreateDocumentTabs()
{
    m_tabs = new TDocumentTabs(m_mdiArea, this);
    setCentralWidget(m_tabs);
    m_tabs->SetPopupMenu(m_documentPopup);
    m_tabs->SetHideSingleTab(m_options.hide1Tabs);
    m_tabs->SetPlace(TabPlace(m_options));
    connect(m_tabs, &TDocumentTabs::TabsChanged, this, [this] {
        RefreshWindowMenu();
        RefreshCaption();
    });
}

void TQuilletMainForm::CreateTray()
{
    m_desktopHotKey = CreateDesktopGlobalHotKey();
    QMenu* menu = TMainMenus::BuildPopup(QStringLiteral("TrayPopup"), *m_actions, this);
    m_tray = new TTray(this, menu, m_desktopHotKey.get());
}

void TQuilletMainForm::SetGlobalHotKey(IGlobalHotKey* hotKey)
{
    m_tray->SetHotKey(hotKey != nullptr ? hotKey : m_desktopHotKey.get());
}

void TQuilletMainForm::MinimizeToTray()
{
    m_tray->MinimizeToTray(isMaximized());
}

void TQuilletMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || !m_options.minimizeToSysTray
        || m_tray->IsInTray() || !m_tray->IsAvailable()) {
        return;
    }
    // The minimize button sends the window to the tray while the option is
    // set; without a tray it stays an ordinary minimize.
    const bool wasMaximized = static_cast<QWindowStateChangeEvent*>(event)->oldState().testFlag(Qt::WindowMaximized);
    QTimer::singleShot(0, this, [this, wasMaximized] {
        if (isMinimized() && !m_tray->IsInTray()) {
            m_tray->MinimizeToTray(wasMaximized);
        }
    });
}

bool TQuilletMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        m_commands->Execute("FileOpen");
        m_actions->ScheduleUpdate();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TQuilletMainForm::ApplyGlobalOptions(const TGlobalOptions& options)
{
    m_options = options;
    ApplyEscToExit();
    m_tabs->SetHideSingleTab(options.hide1Tabs);
    m_tabs->SetPlace(TabPlace(options));
    m_actions->ScheduleUpdate();
}

void TQuilletMainForm::ApplyEscToExit()
{
    m_exit2->setShortcut(m_options.useEscToExit ? QKeySequence(Qt::Key_Escape) : QKeySequence());
}

void TQuilletMainForm::UpdateCommands()
{
    m_actions->UpdateAll();
}

void TQuilletMainForm::SetAlwaysOnTop(bool onTop)
{
    if (m_alwaysOnTop == onTop) {
        return;
    }
    m_alwaysOnTop = onTop;
    // Changing the flag re-creates the native window; keep where it was.
    const QRect bounds = geometry();
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        setGeometry(bounds);
        show();
    }
    m_actions->ScheduleUpdate();
}

void TQuilletMainForm::BindShellCommands()
{
    TCommandRegistry& commands = *m_commands;
    commands.Bind("FileExit", [this] {
        close();
    });
    commands.Bind("FileExit2", [this] {
        if (m_options.useEscToExit) {
            close();
        }
    });
    commands.Bind("HelpAbout", [this] {
        ShowAbout();
    });
    commands.Bind("HelpHelpTopics", [this] {
        ShowHelp();
    });
    commands.Bind(
        "ViewAlwaysOnTop",
        [this] {
            SetAlwaysOnTop(!m_alwaysOnTop);
        },
        [this](TCommandState& state) {
            state.checked = m_alwaysOnTop;
        });
    commands.Bind("TrayOpen", [this] {
        DoslaZprava();
    });
    commands.Bind(
        "MinimizeToSystray",
        [this] {
            MinimizeToTray();
        },
        [this](TCommandState& state) {
            state.enabled = m_tray->IsAvailable() && !m_tray->IsInTray();
        });
    for (const auto& [name, place] : {std::pair{"ViewTabsTop", TDocumentTabs::TPlace::Top},
             std::pair{"ViewTabsBottom", TDocumentTabs::TPlace::Bottom}}) {
        commands.Bind(
            name,
            [this, place] {
                m_tabs->TogglePlace(place);
            },
            [this, place](TCommandState& state) {
                state.enabled = true;
                state.checked = m_tabs->Place() == place;
            });
    }
    // While the compare window is the active window it takes the commands.
    commands.SetGuard([this] {
        QWidget* compare = m_compareWindow ? m_compareWindow() : nullptr;
        return compare != nullptr && compare->isVisible() && compare->isActiveWindow();
    });
    BindWindowCommands(commands, m_mdiArea);
    auto active = [this] {
        return CurrentTextDocument(m_mdiArea);
    };
    BindTextDocumentCommands(commands, active);
    BindDocumentEditingCommands(commands, active);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, m_actions, &TCommandActions::ScheduleUpdate);
}

void TQuilletMainForm::CreateToolbars()
{
    m_mainToolbars = std::make_unique<TMainToolbars>(this, *m_actions, *m_mainMenus);
    m_toolbars = m_mainToolbars->Toolbars();
}

QMenu* TQuilletMainForm::createPopupMenu()
{
    return m_mainToolbars->BuildPopup(this);
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
    for (QToolBar* bar : m_mainToolbars->AllToolbars()) {
        const QString key = bar->property("quilletTitleKey").toString();
        const QString english = bar->property("quilletText").toString();
        bar->setWindowTitle(key.isEmpty() ? english : Stripped(Tr(key.toStdString(), english.toStdString())));
    }
    m_statusTexts.overwrite = Tr("Overwrite", "Overwrite");
    m_statusTexts.insert = Tr("Insert", "Insert");
    m_statusTexts.modified = Tr("Modified", "Modified");
    m_statusTexts.readOnly = Tr("ReadOnly", "Read Only");
    if (m_windowListSeparator != nullptr) {
        // A section heading shows its text as written: no accelerator mark.
        m_windowListSeparator->setText(Stripped(Tr("WindowList", "&Window List")));
    }
}

void TQuilletMainForm::UpdateLanguage(const std::string& fileName)
{
    setUpdatesEnabled(false);
    ResetLang(fileName);
    manualloadres();
    nactiResource(this);
    RefreshCaption();
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

void TQuilletMainForm::SetProjectOfDocument(TProjectOfDocument projectOf)
{
    m_projectOf = std::move(projectOf);
    RefreshCaption();
}

void TQuilletMainForm::SetCompareWindow(std::function<QWidget*()> compareWindow)
{
    m_compareWindow = std::move(compareWindow);
}

// --- caption ---

QString TQuilletMainForm::MainCaption(const std::optional<std::string>& projectFile, const QString& untitled)
{
    if (!projectFile) {
        return QStringLiteral("Quillet");
    }
    QString name = FromFileName(*projectFile);
    if (name.isEmpty()) {
        name = untitled;
        name.remove(QLatin1Char('*')).remove(QLatin1Char('\\'));
    }
    return QStringLiteral("Quillet - (%1)").arg(name);
}

void TQuilletMainForm::RefreshCaption()
{
    const std::optional<std::string> project =
        m_projectOf ? m_projectOf(m_mdiArea->currentSubWindow()) : std::optional<std::string>();
    const QString caption = MainCaption(project, Tr("Noname", "Untitled"));
    if (caption != windowTitle()) {
        setWindowTitle(caption);
    }
}

// --- documents ---

QMdiSubWindow* TQuilletMainForm::AddMdiChild(QMdiSubWindow* child)
{
    // Documents open maximized, like the first one, unless the user has
    // restored the active window to arrange several side by side.
    QMdiSubWindow* active = m_mdiArea->activeSubWindow();
    // A document without an icon of its own would show the toolkit's logo in
    // its title bar and in the menu bar while maximized.
    if (!child->testAttribute(Qt::WA_SetWindowIcon)) {
        child->setWindowIcon(GenericDocumentIcon());
    }
    m_mdiArea->addSubWindow(child);
    if (active == nullptr || active->isMaximized()) {
        child->showMaximized();
    } else {
        child->show();
    }
    m_mdiArea->setActiveSubWindow(child);
    m_tabs->Sync();
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
    m_actions->ScheduleUpdate();
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
    // Restores from the tray or a minimize, brings the window to the front,
    // hides the tray icon and releases the hot key.
    m_tray->Restore();
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
    m_tray->Release();
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
    for (QToolBar* bar : m_mainToolbars->AllToolbars()) {
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
    for (QToolBar* bar : m_mainToolbars->AllToolbars()) {
        store.WriteBool("Position\\" + bar->objectName().toStdString(), "Visible", !bar->isHidden());
    }
}

std::filesystem::path TQuilletMainForm::HelpPage(
    const std::string& language, const std::vector<std::filesystem::path>& folders)
{
    // The chosen language's pages first ("Docs/<language>/index.html"); only
    // the file-name part of the language name is used, so a stored name
    // cannot lead outside the Docs folder.
    std::vector<std::filesystem::path> candidates;
    const std::string stem = std::filesystem::path(language).filename().stem().string();
    const bool useLanguage = !stem.empty() && stem != "." && stem != "..";
    if (useLanguage) {
        for (const std::filesystem::path& folder : folders) {
            candidates.push_back(folder / "Docs" / stem / "index.html");
        }
    }
    for (const std::filesystem::path& folder : folders) {
        candidates.push_back(folder / "Docs" / "index.html");
    }
    for (const auto& page : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(page, ec)) {
            return page;
        }
    }
    return {};
}

void TQuilletMainForm::ShowHelp()
{
    const std::filesystem::path page = HelpPage(m_options.language, {TUserPaths().DataFolder(), ProgramFolder()});
    if (page.empty()) {
        ShowMessage(this, QMessageBox::Warning, Tr("HelpMissing", "The help pages (Docs/index.html) were not found."));
        return;
    }
    // Handed to the desktop as a file URL: no shell sees the path.
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromFileName(page.string())));
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
