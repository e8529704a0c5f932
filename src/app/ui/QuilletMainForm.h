#pragma once

#include "app/CommandLine.h"
#include "app/GlobalOptions.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QUrl;

namespace quillet {

class IDocumentOpener;
class IGlobalHotKey;
class IMacroRecording;
class TCommandActions;
class TCommandRegistry;
class TMainMenus;
class TMainToolbars;
class IProjectSession;
class TStatusPanel;
class TDocumentTabs;
class TTray;

// The main window: a multiple-document frame with the menus, toolbars and the
// five-panel status bar. It reads its settings and translates itself when it
// is created, opens the files of the command line or performs the start-up
// action when first shown, receives the files of later starts and dropped
// files, and closes only when every document window and the open project
// agree.
//
// Parts built elsewhere are reached through seams set after construction: the
// document opener (CreateMDIChild), the project and the macro recorder. Until
// an opener is set, opening a document says plainly that it is not available.
class TQuilletMainForm : public QMainWindow {
    Q_OBJECT
public:
    enum TStatusPanelIndex { kPanelCaret = 0, kPanelState = 1, kPanelMode = 2, kPanelSyntax = 3, kPanelCodePage = 4 };
    static constexpr int kStatusPanelCount = 5;
    static constexpr std::array<int, kStatusPanelCount> kStatusPanelWidths{75, 75, 75, 185, 1000};

    // The translated status texts, refreshed on every language change.
    struct TStatusTexts {
        QString overwrite, insert, modified, readOnly;
    };

    explicit TQuilletMainForm(QWidget* parent = nullptr);
    ~TQuilletMainForm() override;

    // --- seams (not owned; nullptr restores the built-in behaviour) ---
    void SetDocumentOpener(IDocumentOpener* opener);
    IDocumentOpener& DocumentOpener();
    void SetProjectSession(IProjectSession* project);
    void SetMacroRecording(IMacroRecording* macros);
    // Performs a start-up action; returns false when it is not available.
    void SetStartupActionHandler(std::function<bool(TStartupAction)> handler);
    void SetCodePageFunctions(TCodePageFunctions functions);
    const TCodePageFunctions& CodePageFunctions() const { return m_codePages; }
    // The open project's full file name when `document` belongs to it ("" for
    // a project not saved yet), nullopt otherwise. Without it there is no
    // project and the caption is plain "Quillet".
    using TProjectOfDocument = std::function<std::optional<std::string>(QMdiSubWindow* document)>;
    void SetProjectOfDocument(TProjectOfDocument projectOf);
    // The compare window while it exists (nullptr otherwise). While it is shown
    // and active, every command of the main window is consumed unrun.
    void SetCompareWindow(std::function<QWidget*()> compareWindow);
    // The system-wide hot key used while in the tray (not owned); nullptr
    // returns to the desktop's own service.
    void SetGlobalHotKey(IGlobalHotKey* hotKey);

    // --- documents ---
    QMdiArea* MdiArea() const { return m_mdiArea; }
    // Adds a document window to the document area, shows and activates it.
    QMdiSubWindow* AddMdiChild(QMdiSubWindow* child);
    // The document windows in the order they were created.
    QList<QMdiSubWindow*> DocumentWindows() const;
    // The document tab bars around the document area.
    TDocumentTabs& DocumentTabs() { return *m_tabs; }
    TTray& Tray() { return *m_tray; }
    // Sends the window to the tray (a plain minimize where there is no tray).
    void MinimizeToTray();

    // --- caption ---
    // "Quillet", or "Quillet - (<project file>)" while the active document
    // belongs to the open project; an unsaved project shows `untitled`
    // without "*" and backslashes.
    static QString MainCaption(const std::optional<std::string>& projectFile, const QString& untitled);
    // Recomputes the caption for the active document (also after project changes).
    void RefreshCaption();

    // --- status bar ---
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;
    // Draws a panel normal or greyed (the blinking macro indicator).
    void SetStatusPanelEnabled(int panel, bool enabled);
    const TStatusTexts& StatusTexts() const { return m_statusTexts; }

    const TGlobalOptions& Options() const { return m_options; }
    // Takes changed [Global] options (the options dialog): Esc to exit, the
    // chosen tab bar and hiding a single tab.
    void ApplyGlobalOptions(const TGlobalOptions& options);

    // --- commands ---
    // Every command of the window, by name: other parts bind their execute and
    // update operations here (`Commands().Bind("FileNew", ...)`).
    TCommandRegistry& Commands() { return *m_commands; }
    // The actions showing the commands; UpdateCommands runs the update pass now.
    TCommandActions& CommandActions() { return *m_actions; }
    void UpdateCommands();
    TMainMenus& MainMenus() { return *m_mainMenus; }
    TMainToolbars& MainToolbars() { return *m_mainToolbars; }
    // The document pop-up menu (editor views, binary views, the top tab bar).
    QMenu* DocumentPopup() const { return m_documentPopup; }
    // Re-reads [Global] "UseESCtoExit" from Options(): Esc closes the window while set.
    void ApplyEscToExit();
    bool AlwaysOnTop() const { return m_alwaysOnTop; }
    void SetAlwaysOnTop(bool onTop);

    // --- start-up and messages ---
    // The start of the run once the window is shown: with arguments, open
    // them (bare names completed with startDirectory); without, perform the
    // [Global] "OnStartup" action.
    void RunStartup(const std::vector<std::string>& arguments, const std::string& startDirectory);
    void OtevriDosleSoubory(const std::vector<std::string>& list);
    // A message from a later start; returns the answer bytes.
    std::string WMCopyData(std::string_view message);
    // Brings the window to the front (restoring it when minimized).
    void DoslaZprava();
    void OpenDroppedFiles(const QList<QUrl>& urls);

    // --- closing ---
    // Asks every document window in window order; stops at the first refusal.
    bool CloseQueryDocuments();
    // Asks about a modified project; false when the close is cancelled.
    bool FormCloseQuery();

    // --- language ---
    void manualloadres();
    // Switches to another language file and translates the window again.
    void UpdateLanguage(const std::string& fileName);

    // The help page Help Topics opens: "Docs/<language>/index.html" for the
    // chosen language file (its name without folder and extension), else
    // "Docs/index.html", looked up in each folder in turn; empty when none exists.
    static std::filesystem::path HelpPage(
        const std::string& language, const std::vector<std::filesystem::path>& folders);

    // The toolbar area's pop-up menu: the show/hide entries of the View menu.
    QMenu* createPopupMenu() override;

signals:
    // After every language change; other open windows translate themselves.
    void LanguageChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateToolbars();
    void CreateStatusBar();
    void CreateDocumentTabs();
    void CreateTray();
    void BindShellCommands();
    void LoadToolbarLayout();
    void SaveToolbarLayout();
    void FormDestroy();
    void ShowHelp();
    void ShowAbout();
    void RefreshWindowMenu();
    bool PerformStartupAction(TStartupAction action);
    void OnSessionEnd();

    TGlobalOptions m_options;
    TCodePageFunctions m_codePages;
    TStatusTexts m_statusTexts;
    QMdiArea* m_mdiArea = nullptr;
    std::array<TStatusPanel*, kStatusPanelCount> m_panels{};
    std::vector<QMenu*> m_menus;
    std::vector<QToolBar*> m_toolbars;
    QMenu* m_windowMenu = nullptr;
    QAction* m_windowListSeparator = nullptr;
    QAction* m_exit2 = nullptr;
    std::unique_ptr<TCommandRegistry> m_commands;
    TCommandActions* m_actions = nullptr;
    std::unique_ptr<TMainMenus> m_mainMenus;
    std::unique_ptr<TMainToolbars> m_mainToolbars;
    QMenu* m_documentPopup = nullptr;
    bool m_alwaysOnTop = false;
    TDocumentTabs* m_tabs = nullptr;
    TTray* m_tray = nullptr;
    std::unique_ptr<IGlobalHotKey> m_desktopHotKey;
    TProjectOfDocument m_projectOf;
    std::function<QWidget*()> m_compareWindow;

    std::unique_ptr<IDocumentOpener> m_unavailableOpener;
    IDocumentOpener* m_opener = nullptr;
    IProjectSession* m_project = nullptr;
    IMacroRecording* m_macros = nullptr;
    std::function<bool(TStartupAction)> m_startupHandler;
    bool m_destroyed = false;
};

} // namespace quillet
