// What survives a restart: the main window's bounds and state and the state of
// new document windows, in one process, and a whole run of the built program
// started twice.
#include "app/CommandTable.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/StateCommandBindings.h"
#include "app/ui/WindowStateUi.h"
#include "core/SettingsStore.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace quillet {

void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.width << "x" << r.height << "}";
}

namespace {

using test::TTempDir;
namespace fs = std::filesystem;

TRect Bounds(const QWidget& w)
{
    return {w.geometry().x(), w.geometry().y(), w.geometry().width(), w.geometry().height()};
}

TRect StoredBounds(TSettingsStore& store)
{
    return {store.ReadInteger("Position", "MainLeft", -1),
        store.ReadInteger("Position", "MainTop", -1),
        store.ReadInteger("Position", "MainWidth", -1),
        store.ReadInteger("Position", "MainHeight", -1)};
}

TEST(WindowStateUi, BoundsAreFittedAtStartAndTheNormalOnesSavedWhileMaximized)
{
    const std::vector<TRect> screens = TWindowStateUi::ScreenAreas();
    ASSERT_FALSE(screens.empty());
    const TRect screen = screens.front();
    struct Case {
        const char* name;
        std::string stored;
        TRect expected;
    };
    const Case cases[] = {
        {"on screen", "MainLeft=30\nMainTop=40\nMainWidth=500\nMainHeight=350\n", {30, 40, 500, 350}},
        {"off screen and from a larger monitor",
            "MainLeft=-30000\nMainTop=90000\nMainWidth=99999\nMainHeight=10\n",
            FitToScreens(
                {-30000, 90000, 99999, 10}, screens, TWindowStateUi::kMinimumWidth, TWindowStateUi::kMinimumHeight)},
        {"corrupt",
            "MainLeft=left\nMainTop=\nMainWidth=0x\nMainHeight=-\n",
            FitToScreens(CentredBounds(screen, 640, 480),
                screens,
                TWindowStateUi::kMinimumWidth,
                TWindowStateUi::kMinimumHeight)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        TSettingsStore store(dir.Write("q.ini", "[Position]\n" + c.stored + "MainState=1\n"), TSettingsForm::PerUser);
        TQuilletMainForm form;
        form.resize(640, 480); // the designed size
        auto* state = new TWindowStateUi(form, store);
        state->Restore(screens);
        EXPECT_EQ(Bounds(form), c.expected);
        form.show();
        QApplication::processEvents();
        EXPECT_TRUE(form.isMaximized());

        // Maximized, the bounds from before maximizing are saved.
        ASSERT_TRUE(state->Save());
        EXPECT_EQ(StoredBounds(store), c.expected);
        EXPECT_EQ(store.ReadInteger("Position", "MainState", -1), 1);

        // Restored and moved, the new bounds are saved.
        form.showNormal();
        QApplication::processEvents();
        form.setGeometry(screen.left + 10, screen.top + 20, 420, 310);
        QApplication::processEvents();
        ASSERT_TRUE(state->Save());
        EXPECT_EQ(StoredBounds(store), (TRect{screen.left + 10, screen.top + 20, 420, 310}));
        EXPECT_EQ(store.ReadInteger("Position", "MainState", -1), 0);
    }
}

TEST(WindowStateUi, NewDocumentWindowsStartInTheLastStateTheUserGaveOne)
{
    TTempDir dir;
    TSettingsStore store(dir.Write("q.ini", "[Position]\nChildState=0\n"), TSettingsForm::PerUser);
    TQuilletMainForm form;
    auto* documents = new TDocumentManager(form);
    form.SetDocumentOpener(documents);
    auto* commands = new TStateCommands(form, *documents, store);
    form.show();
    auto open = [&](const char* name) {
        TOpenRequest request;
        request.fileName = dir.Write(name, "text\n").string();
        EXPECT_TRUE(documents->CreateMDIChild(request));
        QApplication::processEvents();
        return form.MdiArea()->activeSubWindow();
    };

    QMdiSubWindow* first = open("a.txt");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isMaximized());
    EXPECT_FALSE(open("b.txt")->isMaximized());

    // The user maximizes a document: the child state follows, and is saved.
    form.MdiArea()->activeSubWindow()->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(commands->WindowState().ChildState(), TChildState::Maximized);
    EXPECT_TRUE(open("c.txt")->isMaximized());
    form.Commands().Execute("ConfigureSaveStatePosition");
    EXPECT_EQ(store.ReadInteger("Position", "ChildState", -1), 1);
    // Switching among maximized documents keeps it.
    form.MdiArea()->setActiveSubWindow(first);
    QApplication::processEvents();
    EXPECT_EQ(commands->WindowState().ChildState(), TChildState::Maximized);

    // Restoring it makes the next one normal again.
    form.MdiArea()->activeSubWindow()->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(commands->WindowState().ChildState(), TChildState::Normal);
    EXPECT_FALSE(open("d.txt")->isMaximized());

    // Minimizing one makes new ones start minimized.
    form.MdiArea()->activeSubWindow()->showMinimized();
    QApplication::processEvents();
    EXPECT_EQ(commands->WindowState().ChildState(), TChildState::Minimized);
    QMdiSubWindow* minimized = open("e.txt");
    ASSERT_NE(minimized, nullptr);
    EXPECT_TRUE(minimized->isMinimized());
}

// The built program with a private home, started, asked to open two files,
// ended, and started again.
class Restart : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_dir.Path() / "work"); }

    // Runs the program to its end; returns its state log as "name" -> lines.
    std::multimap<std::string, std::string> Run(const QStringList& args, const std::string& log)
    {
        QProcessEnvironment env = test::PrivateProgramEnvironment(m_dir.Path());
        env.insert("QUILLET_TEST_STATE_LOG", Q(m_dir.Path() / log));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(Q(m_dir.Path() / "work"));
        process.start(QStringLiteral(QUILLET_BINARY_DIR "/quillet"), args);
        EXPECT_TRUE(process.waitForStarted(30000));
        const bool finished = process.waitForFinished(90000);
        EXPECT_TRUE(finished) << "the program did not end";
        if (!finished) {
            process.kill();
            process.waitForFinished(10000);
        }
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

        std::multimap<std::string, std::string> lines;
        std::istringstream in(TTempDir::Read(m_dir.Path() / log));
        for (std::string line; std::getline(in, line);) {
            const std::size_t blank = line.find(' ');
            lines.emplace(line.substr(0, blank), blank == std::string::npos ? "" : line.substr(blank + 1));
        }
        return lines;
    }

    static std::vector<std::string> All(const std::multimap<std::string, std::string>& log, const std::string& name)
    {
        std::vector<std::string> values;
        const auto [from, to] = log.equal_range(name);
        for (auto it = from; it != to; ++it) {
            values.push_back(it->second);
        }
        return values;
    }

    static TRect Rect(const std::string& text)
    {
        TRect r;
        std::istringstream(text) >> r.left >> r.top >> r.width >> r.height;
        return r;
    }

    fs::path StoreFile() const { return m_dir.Path() / "config" / "Norvane" / "Quillet.ini"; }
    static QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

    TTempDir m_dir;
};

TEST_F(Restart, WindowStateAndRecentListsSurviveARestart)
{
    const fs::path a = m_dir.Write("work/a.txt", "first\n");
    const fs::path b = m_dir.Write("work/b.txt", "second\n");

    // First run: the two files of the command line are opened.
    const auto first = Run({QStringLiteral("a.txt"), QStringLiteral("b.txt")}, "first.log");
    EXPECT_EQ(All(first, "document").size(), 2u);
    {
        TSettingsStore store(StoreFile(), TSettingsForm::PerUser);
        EXPECT_EQ(store.ReadString("Recent", "Recent1", ""), b.string());
        EXPECT_EQ(store.ReadString("Recent", "Recent2", ""), a.string());
        EXPECT_EQ(store.ReadString("Recent", "Recent3", "x"), "");
        EXPECT_EQ(store.ReadInteger("Recent", "Recent1Type", -1), 0);
        EXPECT_FALSE(store.ReadString("Recent", "Recent1CodePage", "").empty());
        EXPECT_EQ(store.ReadInteger("Recent", "LastTyp", -1), 1);
        EXPECT_EQ(store.ReadInteger("Position", "MainState", -1), 0);
        EXPECT_EQ(StoredBounds(store), Rect(All(first, "geometry").at(0)));

        // Between the runs: bounds far off the screen, maximized, and the
        // last document reopened at start.
        TSettingsBatch batch(store);
        store.WriteInteger("Position", "MainLeft", -40000);
        store.WriteInteger("Position", "MainTop", 70000);
        store.WriteInteger("Position", "MainWidth", 100);
        store.WriteInteger("Position", "MainHeight", 50000);
        store.WriteInteger("Position", "MainState", 1);
        store.WriteInteger("Global", "OnStartup", 3);
    }

    // Second run, without arguments.
    const auto second = Run({}, "second.log");
    const TRect screen = Rect(All(second, "screen").at(0));
    const TRect normal = Rect(All(second, "normal").at(0));
    EXPECT_EQ(All(second, "maximized"), std::vector<std::string>{"1"});
    EXPECT_EQ(normal,
        FitToScreens(
            {-40000, 70000, 100, 50000}, {screen}, TWindowStateUi::kMinimumWidth, TWindowStateUi::kMinimumHeight));
    const std::vector<std::string> recent = All(second, "recent");
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0].substr(0, recent[0].find('\t')), b.string());
    EXPECT_EQ(recent[1].substr(0, recent[1].find('\t')), a.string());
    const std::vector<std::string> documents = All(second, "document");
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].substr(0, documents[0].find('\t')), b.string());

    // Its end stored the fitted bounds and the maximized state.
    TSettingsStore store(StoreFile(), TSettingsForm::PerUser);
    EXPECT_EQ(StoredBounds(store), normal);
    EXPECT_EQ(store.ReadInteger("Position", "MainState", -1), 1);
    EXPECT_EQ(store.ReadString("Recent", "Recent1", ""), b.string());
}

} // namespace
} // namespace quillet
