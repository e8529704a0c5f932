#include "app/CommandLine.h"

#include "app/OpenFilesMessage.h"

#include <gtest/gtest.h>
#include <map>

namespace quillet {
namespace {

// Records what the command line asked to open, as "name:index:hex".
class TRecordingOpener : public IDocumentOpener {
public:
    bool CreateMDIChild(const TOpenRequest& request) override
    {
        opened.push_back(
            request.fileName + ":" + std::to_string(request.codePageIndex) + (request.asBinary ? ":hex" : ":text"));
        return true;
    }
    std::vector<std::string> opened;
};

// Code page stand-ins: index 0 is the system code page; identifiers map to
// made-up list indexes, case ignored.
TCodePageFunctions TestCodePages()
{
    TCodePageFunctions f;
    f.cpFromId = [](std::string_view id) {
        std::string lower;
        for (char c : id) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        static const std::map<std::string, int> known{{"cp1250", 1250}, {"utf-8", 65001}, {"koi8-r", 20866}};
        const auto it = known.find(lower);
        return it == known.end() ? 28591 : it->second;
    };
    f.cpIndex = [](int cp) {
        return cp == 1250 ? 14 : cp == 65001 ? 31 : cp == 20866 ? 22 : cp == 28591 ? 1 : 0;
    };
    f.defaultCp = [] {
        return 0;
    };
    return f;
}

TEST(CommandLine, SwitchLanguage)
{
    struct Case {
        const char* name;
        std::vector<std::string> items;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {"plain files", {"a.txt", "b.txt"}, {"a.txt:0:text", "b.txt:0:text"}},
        {"hex until the next switch",
            {"a.txt", "-hex", "b.dat", "c.dat", "-x", "d.txt"},
            {"a.txt:0:text", "b.dat:0:hex", "c.dat:0:hex", "d.txt:0:text"}},
        {"allhex stays", {"-allhex", "a", "-codepageutf-8", "b"}, {"a:0:hex", "b:31:hex"}},
        {"codepage until the next switch",
            {"-codepageCP1250", "a", "b", "-other", "c"},
            {"a:14:text", "b:14:text", "c:0:text"}},
        {"allcodepage wins over later switches",
            {"-allcodepagecp1250", "a.txt", "-codepageutf-8", "b.txt"},
            {"a.txt:14:text", "b.txt:14:text"}},
        {"hex still toggles under allcodepage",
            {"-allcodepagekoi8-r", "-hex", "a", "-x", "b"},
            {"a:22:hex", "b:22:text"}},
        {"switch names ignore case", {"-HEX", "a", "-CodePageUTF-8", "b"}, {"a:0:hex", "b:31:text"}},
        {"unknown identifier", {"-codepagebogus", "a"}, {"a:1:text"}},
        {"empty item resets", {"-codepageutf-8", "", "a"}, {"a:0:text"}},
        {"slash is no switch on this system", {"/hex", "/usr/a"}, {"/hex:0:text", "/usr/a:0:text"}},
        {"lone dash is an unknown switch", {"-hex", "-", "a"}, {"a:0:text"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecordingOpener opener;
        TArgumentRun run(TestCodePages());
        run.OtevriDosleSoubory(c.items, opener);
        EXPECT_EQ(opener.opened, c.opened);
    }
}

TEST(CommandLine, EachRunStartsAfresh)
{
    TRecordingOpener opener;
    TArgumentRun run(TestCodePages());
    run.OtevriDosleSoubory({"-allhex", "-allcodepageutf-8", "a"}, opener);
    run.OtevriDosleSoubory({"b"}, opener);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{"a:31:hex", "b:0:text"}));
}

TEST(CommandLine, SwitchPassedAndArgumentList)
{
    const std::vector<std::string> args{"-RemoveFromRegistry", "x.txt", "sub/y.txt", "/abs/z.txt", "-hex", ""};
    EXPECT_TRUE(SwitchPassed(args, "removefromregistry"));
    EXPECT_FALSE(SwitchPassed(args, "allhex"));
    EXPECT_FALSE(SwitchPassed({"/removefromregistry"}, "removefromregistry"));

    EXPECT_EQ(MakeStartDirectory("/home/u"), "/home/u/");
    EXPECT_EQ(MakeStartDirectory("/"), "/");
    EXPECT_EQ(BuildArgumentList(args, "/start/"),
        (std::vector<std::string>{"-RemoveFromRegistry", "/start/x.txt", "sub/y.txt", "/abs/z.txt", "-hex", ""}));
}

TEST(CommandLine, HundredThousandArguments)
{
    std::vector<std::string> args;
    for (int i = 0; i < 100000; ++i) {
        args.push_back(i % 1000 == 0 ? "-hex" : i % 1000 == 500 ? "-x" : "f" + std::to_string(i));
    }
    const auto list = BuildArgumentList(args, "/d/");
    const std::string message = EncodeOpenFilesMessage(list);
    const TOpenFilesHeader header = DecodeOpenFilesHeader(message);
    ASSERT_EQ(header.status, TOpenFilesHeaderStatus::Ok);
    const auto lines = SplitOpenFilesText(std::string_view(message).substr(kOpenFilesHeaderSize));
    EXPECT_EQ(lines, list);

    TRecordingOpener opener;
    TArgumentRun(TestCodePages()).OtevriDosleSoubory(lines, opener);
    ASSERT_EQ(opener.opened.size(), 99800u);
    EXPECT_EQ(opener.opened[0], "/d/f1:0:hex");
    EXPECT_EQ(opener.opened[499], "/d/f501:0:text");
    EXPECT_EQ(opener.opened.back(), "/d/f99999:0:text");
}

TEST(OpenFilesMessage, EncodingAndBadPayloads)
{
    const std::string message = EncodeOpenFilesMessage({"/a b/x.txt", "-hex", "", "\xC3\xA4.txt", "bad\nname"});
    EXPECT_EQ(message.substr(0, 8), std::string("\x90\x28\x00\x00\x1C\x00\x00\x00", 8));
    EXPECT_EQ(message.substr(8), "/a b/x.txt\r\n-hex\r\n\r\n\xC3\xA4.txt\r\n");

    struct Case {
        const char* name;
        std::string bytes;
        TOpenFilesHeaderStatus status;
    };
    const Case cases[] = {
        {"too short", std::string("\x90\x28\x00", 3), TOpenFilesHeaderStatus::Incomplete},
        {"wrong identifier",
            std::string("\x91\x28\x00\x00\x00\x00\x00\x00", 8),
            TOpenFilesHeaderStatus::WrongIdentifier},
        {"huge byte count", std::string("\x90\x28\x00\x00\xFF\xFF\xFF\xFF", 8), TOpenFilesHeaderStatus::TooLarge},
        {"empty text", std::string("\x90\x28\x00\x00\x00\x00\x00\x00", 8), TOpenFilesHeaderStatus::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeOpenFilesHeader(c.bytes).status, c.status);
    }

    struct SplitCase {
        const char* text;
        std::vector<std::string> lines;
    };
    const SplitCase splits[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}}, // no final CR LF, other line ends
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
    };
    for (const SplitCase& c : splits) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitOpenFilesText(c.text), c.lines);
    }
}

} // namespace
} // namespace quillet
