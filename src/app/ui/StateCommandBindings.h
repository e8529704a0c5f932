#pragma once

#include <QObject>

#include <functional>
#include <string>

namespace quillet {

class TDocumentManager;
class TQuilletMainForm;
class TRecentMenu;
class TSettingsStore;
class TWindowStateUi;

// What the main window remembers between runs: the recent lists and the saved
// window state. It restores the window before it is first shown, records the
// files the document manager opens or saves, binds Save State & Position,
// performs the start-up action and saves the state when the run ends.
class TStateCommands : public QObject {
    Q_OBJECT
public:
    TStateCommands(TQuilletMainForm& form, TDocumentManager& documents, TSettingsStore& store);

    TRecentMenu& Recent() { return *m_recent; }
    TWindowStateUi& WindowState() { return *m_windowState; }
    // Takes a file the document manager used when it belongs to the open
    // project (true); the recent files list takes the others.
    std::function<bool(const std::string& fileName, int codePageIndex, int type)> ProjectTakesFile;

private:
    void BindCommands();
    void StartTestStateLog();

    TQuilletMainForm& m_form;
    TWindowStateUi* m_windowState = nullptr;
    TRecentMenu* m_recent = nullptr;
};

// Creates the state commands of the main window (owned by it), with the
// program's settings store. Called once, before the window is shown.
TStateCommands& BindStateCommands(TQuilletMainForm& form, TDocumentManager& documents);

} // namespace quillet
