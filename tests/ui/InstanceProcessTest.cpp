#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quillet {
namespace {

using test::TTempDir;

// Two real processes of the built program with a private home and runtime
// folder. Each logs what it was asked to open (QUILLET_TEST_OPEN_LOG).
class InstanceProcess : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(m_dir.Path() / "start dir"); }

    QProcessEnvironment Environment(const std::string& log) const
    {
        QProcessEnvironment env = test::PrivateProgramEnvironment(m_dir.Path());
        env.insert("QUILLET_TEST_OPEN_LOG", Q(m_dir.Path() / log));
        return env;
    }

    void Start(QProcess& process, const std::string& log, const QStringList& args, const std::string& cwd = "start dir")
    {
        process.setProcessEnvironment(Environment(log));
        process.setWorkingDirectory(Q(m_dir.Path() / cwd));
        process.start(QStringLiteral(QUILLET_BINARY_DIR "/quillet"), args);
        ASSERT_TRUE(process.waitForStarted(30000));
    }

    // Waits (bounded, as a guard against a hang) until the log holds n lines.
    std::vector<std::string> WaitForLog(const std::string& log, std::size_t n) const
    {
        QElapsedTimer timer;
        timer.start();
        std::vector<std::string> lines;
        do {
            lines.clear();
            const std::string text = TTempDir::Read(m_dir.Path() / log);
            std::size_t pos = 0;
            while (pos < text.size()) {
                const std::size_t end = text.find('\n', pos);
                lines.push_back(text.substr(pos, end - pos));
                pos = end == std::string::npos ? text.size() : end + 1;
            }
            if (lines.size() >= n) {
                break;
            }
            QThread::msleep(50);
        } while (timer.elapsed() < 60000);
        return lines;
    }

    static QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
    std::string StartDir() const { return (m_dir.Path() / "start dir").string() + "/"; }

    TTempDir m_dir;
};

TEST_F(InstanceProcess, SecondStartHandsItsFilesToTheFirst)
{
    QProcess first;
    Start(first, "first.log", {QStringLiteral("first.txt")});
    ASSERT_EQ(WaitForLog("first.log", 1).size(), 1u); // up and listening

    QProcess second;
    Start(second, "second.log", {"x.txt", "-hex", "sub/y.dat", "/abs/z.bin", "-codepageutf-8", "w.txt"});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 1);

    const auto lines = WaitForLog("first.log", 5);
    ASSERT_EQ(lines.size(), 5u);
    // "name<TAB>code page index<TAB>text|hex"; the first line has the
    // system code page's index.
    const std::string systemCp = lines[0].substr(lines[0].find('\t'), lines[0].rfind('\t') - lines[0].find('\t'));
    EXPECT_EQ(lines[0], StartDir() + "first.txt" + systemCp + "\ttext");
    EXPECT_EQ(lines[1], StartDir() + "x.txt" + systemCp + "\ttext");
    EXPECT_EQ(lines[2], "sub/y.dat" + systemCp + "\thex"); // a directory part: not completed
    EXPECT_EQ(lines[3], "/abs/z.bin" + systemCp + "\thex");
    EXPECT_EQ(lines[4].substr(0, lines[4].find('\t')), StartDir() + "w.txt");
    EXPECT_NE(lines[4], StartDir() + "w.txt" + systemCp + "\ttext"); // decoded as UTF-8
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "second.log"));

    // Without arguments a second start just ends; nothing is sent.
    QProcess third;
    Start(third, "third.log", {});
    ASSERT_TRUE(third.waitForFinished(60000));
    EXPECT_EQ(third.exitCode(), 1);
    EXPECT_EQ(WaitForLog("first.log", 5).size(), 5u);

    first.terminate();
    first.waitForFinished(30000);
}

TEST_F(InstanceProcess, MultipleInstanceLetsTheSecondRunBeside)
{
    m_dir.Write("config/Norvane/Quillet.ini", "[Global]\nMultipleInstance=1\n");
    QProcess first;
    Start(first, "first.log", {QStringLiteral("a.txt")});
    ASSERT_EQ(WaitForLog("first.log", 1).size(), 1u);

    QProcess second;
    Start(second, "second.log", {QStringLiteral("b.txt")});
    const auto own = WaitForLog("second.log", 1);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].substr(0, own[0].find('\t')), StartDir() + "b.txt");
    EXPECT_EQ(second.state(), QProcess::Running);
    EXPECT_EQ(WaitForLog("first.log", 1).size(), 1u);

    second.terminate();
    first.terminate();
    second.waitForFinished(30000);
    first.waitForFinished(30000);
}

} // namespace
} // namespace quillet
