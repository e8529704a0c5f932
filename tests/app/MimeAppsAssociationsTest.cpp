#include "app/MimeAppsAssociations.h"

#include "core/SettingsStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quillet {
namespace {

using test::TTempDir;

TEST(MimeAppsAssociations, EntryEditsKeepEveryOtherByte)
{
    struct Case {
        const char* name;
        const char* before;
        std::optional<std::string> value; // nullopt removes
        const char* after;
    };
    const Case cases[] = {
        {"replace keeps comments and other groups",
            "# mine\n[Added Associations]\ntext/x-csrc=a.desktop;\n[Default Applications]\ntext/x-csrc=b.desktop;\n"
            "text/plain=c.desktop\n",
            "q.desktop;",
            "# mine\n[Added Associations]\ntext/x-csrc=a.desktop;\n[Default Applications]\ntext/x-csrc=q.desktop;\n"
            "text/plain=c.desktop\n"},
        {"added after the group's last key, before a blank line",
            "[Default Applications]\ntext/plain=c.desktop\n\n[Other]\nk=v\n",
            "q.desktop;",
            "[Default Applications]\ntext/plain=c.desktop\ntext/x-csrc=q.desktop;\n\n[Other]\nk=v\n"},
        {"missing group appended to a text without final newline",
            "[Other]\nk=v",
            "q.desktop;",
            "[Other]\nk=v\n[Default Applications]\ntext/x-csrc=q.desktop;\n"},
        {"empty file", "", "q.desktop;", "[Default Applications]\ntext/x-csrc=q.desktop;\n"},
        {"removed with its line end",
            "[Default Applications]\ntext/x-csrc=q.desktop;\ntext/plain=c.desktop\n",
            std::nullopt,
            "[Default Applications]\ntext/plain=c.desktop\n"},
        {"CR LF lines stay CR LF",
            "[Default Applications]\r\ntext/x-csrc=b.desktop\r\n",
            "q.desktop;",
            "[Default Applications]\r\ntext/x-csrc=q.desktop;\r\n"},
        {"a key of a later group with the same name is not ours",
            "[Default Applications]\na/b=x\n[Removed Associations]\ntext/x-csrc=z\n",
            std::nullopt,
            "[Default Applications]\na/b=x\n[Removed Associations]\ntext/x-csrc=z\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WithDefaultApplicationEntry(c.before, "text/x-csrc", c.value), c.after);
    }
    EXPECT_EQ(
        DefaultApplicationEntry("[Default Applications]\r\ntext/x-csrc=b.desktop\r\n", "text/x-csrc"), "b.desktop");
    EXPECT_EQ(DefaultApplicationEntry("[Added Associations]\ntext/x-csrc=b\n", "text/x-csrc"), std::nullopt);
}

class MimeAppsAssociationsTest : public ::testing::Test {
protected:
    std::filesystem::path List() const { return m_dir.Path() / "config" / "mimeapps.list"; }
    TMimeAppsAssociations Associations() { return TMimeAppsAssociations(List(), std::string(kDesktopId), m_store); }

    TTempDir m_dir;
    TSettingsStore m_store{std::filesystem::path{}, TSettingsForm::PerUser};
};

// Associating and releasing restores the previous default exactly, whether
// the type had one or not, and never touches another type's default.
TEST_F(MimeAppsAssociationsTest, ReleaseRestoresThePreviousDefaultExactly)
{
    const std::string original = "# keep me\n[Default Applications]\ntext/x-csrc = other.desktop;more.desktop\n"
                                 "image/png=viewer.desktop;\n\n[Added Associations]\ntext/plain=a.desktop;\n";
    m_dir.Write("config/mimeapps.list", original);
    TMimeAppsAssociations associations = Associations();
    std::string error;
    ASSERT_TRUE(associations.Associate("c", "text/x-csrc", error)) << error;
    ASSERT_TRUE(associations.Associate("txt", "text/plain", error)) << error;
    EXPECT_TRUE(associations.IsOurs("text/x-csrc"));
    EXPECT_TRUE(associations.IsOurs("text/plain"));
    EXPECT_FALSE(associations.IsOurs("image/png"));
    EXPECT_EQ(DefaultApplicationEntry(TTempDir::Read(List()), "text/x-csrc"),
        "norvane-quillet.desktop;other.desktop;more.desktop;");
    EXPECT_EQ(associations.RecordedExtensions(),
        (std::vector<std::pair<std::string, std::string>>{{"c", "text/x-csrc"}, {"txt", "text/plain"}}));

    // A second association of a type already ours keeps the first record.
    ASSERT_TRUE(associations.Associate("h", "text/x-csrc", error));
    ASSERT_TRUE(associations.Release("text/x-csrc", error));
    ASSERT_TRUE(associations.Release("text/plain", error));
    EXPECT_EQ(TTempDir::Read(List()), original);
    EXPECT_TRUE(associations.RecordedExtensions().empty());
}

// The start with -removefromregistry releases what we recorded and nothing
// else: a type another program took over since stays theirs.
TEST_F(MimeAppsAssociationsTest, ReleaseAllLeavesOtherProgramsDefaults)
{
    TMimeAppsAssociations associations = Associations();
    std::string error;
    ASSERT_TRUE(associations.Associate("c", "text/x-csrc", error));
    ASSERT_TRUE(associations.Associate("py", "text/x-python", error));
    // Another program makes itself the default for Python afterwards.
    std::string text = TTempDir::Read(List());
    text = WithDefaultApplicationEntry(text, "text/x-python", std::string("their.desktop;norvane-quillet.desktop;"));
    text += "[Added Associations]\ntext/x-csrc=norvane-quillet.desktop;\n";
    m_dir.Write("config/mimeapps.list", text);

    ASSERT_TRUE(associations.ReleaseAll(error)) << error;
    EXPECT_EQ(TTempDir::Read(List()),
        "[Default Applications]\ntext/x-python=their.desktop;norvane-quillet.desktop;\n"
        "[Added Associations]\ntext/x-csrc=norvane-quillet.desktop;\n");
    EXPECT_TRUE(associations.RecordedExtensions().empty());
    EXPECT_FALSE(m_store.SectionExists("File Associations") && !m_store.ReadSection("File Associations").empty());
}

TEST_F(MimeAppsAssociationsTest, AFailedWriteReportsAndRecordsNothing)
{
    m_dir.Write("blocker", "a file where a folder should be");
    TMimeAppsAssociations associations(m_dir.Path() / "blocker" / "mimeapps.list", std::string(kDesktopId), m_store);
    std::string error;
    EXPECT_FALSE(associations.Associate("c", "text/x-csrc", error));
    EXPECT_NE(error.find("mimeapps.list"), std::string::npos) << error;
    EXPECT_TRUE(associations.RecordedExtensions().empty());
    EXPECT_TRUE(m_store.ReadSection("File Associations").empty());
}

// A list that cannot be read is reported, and nothing is recorded; a named
// pipe is refused at once instead of waiting for a writer.
TEST_F(MimeAppsAssociationsTest, AnUnreadableListReportsAndRecordsNothing)
{
    std::filesystem::create_directories(List().parent_path());
    ASSERT_EQ(::mkfifo(List().c_str(), 0600), 0);
    TMimeAppsAssociations associations = Associations();
    std::string error;
    EXPECT_FALSE(associations.Associate("c", "text/x-csrc", error));
    EXPECT_EQ(error.rfind(List().string() + ": ", 0), 0u) << error;
    EXPECT_FALSE(associations.IsOurs("text/x-csrc"));
    EXPECT_TRUE(m_store.ReadSection("File Associations").empty());
}

TEST(MimeAppsAssociations, DesktopEntryIsFoundInTheStandardPlaces)
{
    TTempDir dir;
    EXPECT_TRUE(FindDesktopEntry(kDesktopId, dir.Path() / "home", (dir.Path() / "sys").string()).empty());
    const auto system = dir.Write("sys/applications/norvane-quillet.desktop", "[Desktop Entry]\n");
    EXPECT_EQ(
        FindDesktopEntry(kDesktopId, dir.Path() / "home", "/nonexistent:" + (dir.Path() / "sys").string()), system);
    const auto user = dir.Write("home/applications/norvane-quillet.desktop", "[Desktop Entry]\n");
    EXPECT_EQ(FindDesktopEntry(kDesktopId, dir.Path() / "home", (dir.Path() / "sys").string()), user);
}

} // namespace
} // namespace quillet
