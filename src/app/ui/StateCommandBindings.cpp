#include "app/ui/StateCommandBindings.h"

#include "app/CommandTable.h"
#include "app/GlobalOptions.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/RecentMenu.h"
#include "app/ui/WindowStateUi.h"
#include "core/SettingsStore.h"
#include "text/ui/ChildForm.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QThread>
#include <QTimer>

#include <cstdlib>
#include <fstream>

namespace quillet {

namespace {

void WriteRect(std::ostream& out, const char* name, const TRect& r)
{
    out << name << ' ' << r.left << ' ' << r.top << ' ' << r.width << ' ' << r.height << '\n';
}

} // namespace

TStateCommands::TStateCommands(TQuilletMainForm& form, TDocumentManager& documents, TSettingsStore& store)
    : QObject(&form)
    , m_form(form)
{
    m_windowState = new TWindowStateUi(form, store);
    m_windowState->Restore();
    m_windowState->WatchDocuments(form.MdiArea());
    m_recent = new TRecentMenu(form, store);
    m_recent->Load();
    connect(&documents,
        &TDocumentManager::FileUsed,
        m_recent,
        [this](const std::string& fileName, int codePageIndex, int type) {
            if (!ProjectTakesFile || !ProjectTakesFile(fileName, codePageIndex, type)) {
                m_recent->AddFile(fileName, codePageIndex, type);
            }
        });
    // Closing the window saves the state; a run ended without closing it (the
    // desktop session ending) saves it here, while the window still exists.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_form.isVisible()) {
            m_windowState->Save();
        }
    });
    BindCommands();
    if (const char* log = std::getenv("QUILLET_TEST_STATE_LOG"); log != nullptr && *log != '\0') {
        StartTestStateLog();
    }
}

void TStateCommands::BindCommands()
{
    m_form.Commands().Bind("ConfigureSaveStatePosition", [this] {
        m_windowState->Save();
    });
    m_form.SetStartupActionHandler([this](TStartupAction action) {
        switch (action) {
        case TStartupAction::CreateNew:
            return m_form.Commands().Execute("FileNew");
        case TStartupAction::CreateNewBinary:
            return m_form.Commands().Execute("FileNewHex");
        case TStartupAction::OpenLast:
            // Nothing to reopen is not a failure of the action.
            m_recent->OpenLast();
            return true;
        case TStartupAction::DoNothing:
            break;
        }
        return true;
    });
}

// For tests of a whole run: once the start-up is done, the program writes the
// window state it restored, its documents and the recent lists to the file
// QUILLET_TEST_STATE_LOG names, then closes its window and ends as a user's
// Exit would.
void TStateCommands::StartTestStateLog()
{
    QTimer::singleShot(0, this, [this] {
        // Start-up (opening a project, say) lets pending events run before the
        // main event loop starts: wait for the loop itself.
        if (QThread::currentThread()->loopLevel() == 0) {
            StartTestStateLog();
            return;
        }
        std::ofstream out(std::getenv("QUILLET_TEST_STATE_LOG"), std::ios::binary | std::ios::trunc);
        const std::vector<TRect> screens = TWindowStateUi::ScreenAreas();
        WriteRect(out, "screen", screens.empty() ? TRect{} : screens.front());
        const QRect geometry = m_form.geometry();
        WriteRect(out, "geometry", {geometry.x(), geometry.y(), geometry.width(), geometry.height()});
        WriteRect(out, "normal", m_windowState->NormalBounds());
        out << "maximized " << (m_form.isMaximized() ? 1 : 0) << '\n';
        for (QMdiSubWindow* window : m_form.DocumentWindows()) {
            if (auto* document = qobject_cast<TChildForm*>(window)) {
                out << "document " << document->FileName().string() << '\t' << document->CodePage() << '\n';
            }
        }
        for (const TRecentEntry& e : m_recent->Lists().files.Entries()) {
            out << "recent " << e.path << '\t' << e.codePageIndex << '\t' << e.type << '\n';
        }
        for (const TRecentEntry& e : m_recent->Lists().projects.Entries()) {
            out << "project " << e.path << '\n';
        }
        out.close();
        if (m_form.close()) {
            QCoreApplication::quit();
        }
    });
}

TStateCommands& BindStateCommands(TQuilletMainForm& form, TDocumentManager& documents)
{
    return *new TStateCommands(form, documents, Settings());
}

} // namespace quillet
