#include "platform/qt/FreedesktopAssociations.h"
#include "support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <map>

namespace quillet {
namespace {

using test::TTempDir;

TEST(AppFileAssociations, OnlyOurEntriesLeaveTheMimeList)
{
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"ours alone: the line goes",
            "[Default Applications]\ntext/x-c=norvane-quillet.desktop;\n",
            "[Default Applications]\n"},
        {"others stay in order",
            "[Added Associations]\ntext/plain=a.desktop;norvane-quillet.desktop;b.desktop;\n",
            "[Added Associations]\ntext/plain=a.desktop;b.desktop;\n"},
        {"names that merely contain ours stay",
            "[Added Associations]\ntext/plain=my-norvane-quillet.desktop;\n",
            "[Added Associations]\ntext/plain=my-norvane-quillet.desktop;\n"},
        {"comments, blank lines and a missing final newline stay", "# c\n\n[X]\nk=v", "# c\n\n[X]\nk=v"},
        {"variant desktop files are ours",
            "[Default Applications]\na/b=norvane-quillet-hex.desktop\nc/d=x.desktop\n",
            "[Default Applications]\nc/d=x.desktop\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TFreedesktopAssociations::WithoutOurEntries(c.before), c.after);
    }
}

// The program run with the single switch removes the associations and ends
// with exit code 0, without a window; with a second argument it does not.
TEST(AppFileAssociations, RemoveFromRegistrySwitch)
{
    TTempDir dir;
    const auto ours = dir.Write("data/applications/norvane-quillet.desktop", "[Desktop Entry]\n");
    const auto theirs = dir.Write("data/applications/other.desktop", "[Desktop Entry]\n");
    const auto list = dir.Write(
        "config/mimeapps.list", "[Default Applications]\ntext/plain=norvane-quillet.desktop;other.desktop;\n");
    std::filesystem::create_directories(dir.Path() / "run");
    std::filesystem::permissions(dir.Path() / "run", std::filesystem::perms::owner_all);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(dir.Path().string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((dir.Path() / "data").string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir.Path() / "run").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUILLET_BINARY_DIR "/quillet"), {QStringLiteral("-RemoveFromRegistry")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(ours));
    EXPECT_TRUE(std::filesystem::exists(theirs));
    EXPECT_EQ(TTempDir::Read(list), "[Default Applications]\ntext/plain=other.desktop;\n");
}

} // namespace
} // namespace quillet
