// The built program given a project file: on its command line, and handed over
// by a second start to the running one.
#include "core/SettingsStore.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;
namespace fs = std::filesystem;

QString Q(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

class ProjectProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("p/src/a.c", "int a;\n");
        m_dir.Write("p/b.txt", "b\n");
        m_project = m_dir.Write("p/p.qpr",
            "[General]\nSignature=Quillet project file\nFilesCount=2\nActiveFile=2\n"
            "[File1]\nName=src/a.c\nOpen=1\n[File2]\nName=b.txt\nOpen=1\n");
    }
    void Start(QProcess& process, const QStringList& args, const std::string& stateLog = {})
    {
        QProcessEnvironment env = test::PrivateProgramEnvironment(m_dir.Path());
        if (!stateLog.empty()) {
            env.insert("QUILLET_TEST_STATE_LOG", Q(m_dir.Path() / stateLog));
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(Q(m_dir.Path() / "p"));
        process.start(QStringLiteral(QUILLET_BINARY_DIR "/quillet"), args);
        ASSERT_TRUE(process.waitForStarted(30000));
    }
    std::string StoredProject() const
    {
        TSettingsStore store(m_dir.Path() / "config" / "Norvane" / "Quillet.ini", TSettingsForm::PerUser);
        return store.ReadString("Recent", "RecentProj1", "");
    }

    TTempDir m_dir;
    fs::path m_project;
};

TEST_F(ProjectProcess, ProjectOnTheCommandLineOpensItsMembers)
{
    QProcess process;
    Start(process, {QStringLiteral("p.qpr")}, "state.log");
    ASSERT_TRUE(process.waitForFinished(90000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const std::string log = TTempDir::Read(m_dir.Path() / "state.log");
    EXPECT_NE(log.find("document " + (m_dir.Path() / "p" / "src" / "a.c").string()), std::string::npos) << log;
    EXPECT_NE(log.find("document " + (m_dir.Path() / "p" / "b.txt").string()), std::string::npos) << log;
    EXPECT_NE(log.find("project " + m_project.string()), std::string::npos) << log;
    EXPECT_EQ(log.find("recent "), std::string::npos) << "members do not enter the recent files";
}

TEST_F(ProjectProcess, SecondStartHandsTheProjectOver)
{
    QProcess first;
    Start(first, {});
    QProcess second;
    // The first may still be starting: the second then runs on its own and
    // would open the project itself, so wait until the first listens.
    QThread::msleep(1500);
    Start(second, {Q(m_project)});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 1) << "the running instance took it";
    QElapsedTimer timer;
    timer.start();
    while (StoredProject().empty() && timer.elapsed() < 60000) {
        QThread::msleep(100);
    }
    EXPECT_EQ(StoredProject(), m_project.string());
    first.terminate();
    first.waitForFinished(30000);
}

} // namespace
} // namespace quillet
