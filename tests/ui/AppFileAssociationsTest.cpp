#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;

// The program run with the single switch releases exactly the associations
// it recorded, restoring their previous defaults, and ends with exit code 0
// without a window. Another program's default, a type we lead but never
// recorded and our installed desktop entry stay as they are.
TEST(AppFileAssociations, RemoveFromRegistrySwitch)
{
    TTempDir dir;
    const auto entry = dir.Write("data/applications/norvane-quillet.desktop", "[Desktop Entry]\n");
    dir.Write("config/Norvane/Quillet.ini",
        "[File Associations]\ntext/plain=+other.desktop;\ntext/x-csrc=-\n"
        "[File Association Extensions]\ntxt=text/plain\nc=text/x-csrc\n");
    const auto list = dir.Write("config/mimeapps.list",
        "[Default Applications]\ntext/plain=norvane-quillet.desktop;other.desktop;\n"
        "text/x-csrc=norvane-quillet.desktop;\nimage/png=norvane-quillet.desktop;\n"
        "application/x-foo=their.desktop\n");

    QProcess process;
    process.setProcessEnvironment(test::PrivateProgramEnvironment(dir.Path()));
    process.start(QStringLiteral(QUILLET_BINARY_DIR "/quillet"), {QStringLiteral("-RemoveFromRegistry")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(TTempDir::Read(list),
        "[Default Applications]\ntext/plain=other.desktop;\nimage/png=norvane-quillet.desktop;\n"
        "application/x-foo=their.desktop\n");
    EXPECT_TRUE(std::filesystem::exists(entry));
    const std::string settings = TTempDir::Read(dir.Path() / "config/Norvane/Quillet.ini");
    EXPECT_EQ(settings.find("txt="), std::string::npos) << settings;
}

} // namespace
} // namespace quillet
