#include "SchemeFixtures.h"
#include "support/TempDir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenRoot = fs::path(QUILLET_TEST_DATA) / "syntax";
const fs::path kDefinitions = fs::path(QUILLET_SOURCE_DIR) / "Syntax Definitions";
const fs::path kActualRoot = fs::path(QUILLET_BINARY_DIR) / "syntax-golden";

// Attribute bytes as one character each: 0-9, A-Z, a-z for 0-61, "~" for 255.
std::string GoldenAttrs(const std::vector<std::uint8_t>& attrs)
{
    std::string text;
    for (std::uint8_t a : attrs) {
        text += a < 10 ? static_cast<char>('0' + a)
            : a < 36   ? static_cast<char>('A' + a - 10)
            : a < 62   ? static_cast<char>('a' + a - 36)
            : a == 255 ? '~'
                       : '?';
    }
    return text;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// "T <text>" then "A <attribute characters> <end state in hex>" per line.
std::string GoldenText(TSyntaxParser& parser, const std::vector<std::string>& lines)
{
    std::string out;
    std::uint32_t state = 0;
    std::vector<std::uint8_t> attrs;
    for (const std::string& line : lines) {
        state = parser.ColorString(line, state, attrs);
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", state);
        out += "T " + line + "\n";
        out += "A " + GoldenAttrs(attrs) + " " + hex + "\n";
    }
    return out;
}

std::string ReadFirstLine(const fs::path& file)
{
    std::string line = SplitLines(test::TTempDir::Read(file)).empty() ? "" : SplitLines(test::TTempDir::Read(file))[0];
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    return line;
}

// Each folder tests/data/syntax/<language>/ names its definition in a file
// "definition" (a file of the shipped definitions, or one beside it); every
// other file without ".expected" is a case coloured from state 0 and compared
// with <case>.expected. A mismatch leaves <case>.actual in the build folder for
// review; tests/update-expected.sh copies reviewed files over.
TEST(GoldenColoring, CasesMatchTheirExpectedAttributes)
{
    int cases = 0;
    for (const auto& folder : fs::directory_iterator(kGoldenRoot)) {
        const fs::path definitionFile = folder.path() / "definition";
        if (!folder.is_directory() || !fs::exists(definitionFile)) {
            continue;
        }
        const std::string language = folder.path().filename().string();
        const std::string name = ReadFirstLine(definitionFile);
        const fs::path local = folder.path() / name;
        const fs::path def = fs::exists(local) ? local : kDefinitions / name;
        TSyntaxParser parser;
        const TDefResult loaded = parser.LoadFromFile(def);
        ASSERT_TRUE(loaded.ok) << def.string() << (loaded.diagnostics.empty() ? "" : ": " + loaded.diagnostics[0]);

        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            const fs::path& p = entry.path();
            if (entry.is_regular_file() && p.extension() != ".expected" && p.extension() != ".def"
                && p.filename() != "definition") {
                files.push_back(p);
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            ++cases;
            const std::string actual = GoldenText(parser, SplitLines(test::TTempDir::Read(file)));
            fs::path expectedFile = file;
            expectedFile += ".expected";
            const std::string expected = test::TTempDir::Read(expectedFile);
            if (actual == expected) {
                continue;
            }
            const fs::path actualFile = kActualRoot / language / (file.filename().string() + ".actual");
            fs::create_directories(actualFile.parent_path());
            std::ofstream(actualFile, std::ios::binary) << actual;
            const std::vector<std::string> want = SplitLines(expected);
            const std::vector<std::string> got = SplitLines(actual);
            std::size_t line = 0;
            while (line < want.size() && line < got.size() && want[line] == got[line]) {
                ++line;
            }
            ADD_FAILURE() << expectedFile.string() << ":" << line + 1 << ": expected \""
                          << (line < want.size() ? want[line] : "<end>") << "\", got \""
                          << (line < got.size() ? got[line] : "<end>") << "\"; see " << actualFile.string();
        }
    }
    EXPECT_GT(cases, 0);
}

// The definition whose Extensions masks name the extension of file.
const fs::path* DefinitionFor(
    const std::vector<std::pair<fs::path, std::vector<std::string>>>& masks, const fs::path& file)
{
    std::string ext = "*" + file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) {
        return std::tolower(c);
    });
    for (const auto& [def, list] : masks) {
        if (std::find(list.begin(), list.end(), ext) != list.end()) {
            return &def;
        }
    }
    return nullptr;
}

// Over the sample of every language: colouring lines again in reverse order
// from their stored start states gives what colouring top to bottom gave.
TEST(GoldenColoring, SamplesColourTheSameLineByLine)
{
    std::vector<std::pair<fs::path, std::vector<std::string>>> masks;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kDefinitions, ec)) {
        if (entry.path().extension() != ".def") {
            continue;
        }
        TSyntaxScheme scheme;
        if (!scheme.LoadFromFile(entry.path()).ok) {
            continue; // reported by the shipped-definitions test
        }
        std::vector<std::string> list;
        for (const std::string& extension : scheme.Extensions) {
            const std::size_t bar = extension.find('|');
            std::string rest = bar == std::string::npos ? "" : extension.substr(bar + 1);
            std::replace(rest.begin(), rest.end(), ',', ';');
            std::size_t start = 0;
            while (start <= rest.size()) {
                const std::size_t end = std::min(rest.find(';', start), rest.size());
                std::string mask = rest.substr(start, end - start);
                std::transform(mask.begin(), mask.end(), mask.begin(), [](unsigned char c) {
                    return std::tolower(c);
                });
                list.push_back(mask);
                start = end + 1;
            }
        }
        masks.emplace_back(entry.path(), list);
    }
    std::sort(masks.begin(), masks.end());
    for (const auto& entry : fs::directory_iterator(kGoldenRoot / "samples", ec)) {
        const fs::path* def = DefinitionFor(masks, entry.path());
        if (def == nullptr) {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string() + " with " + def->filename().string());
        TSyntaxParser parser;
        ASSERT_TRUE(parser.LoadFromFile(*def).ok);
        const std::vector<std::string> lines = SplitLines(test::TTempDir::Read(entry.path()));
        const test::TColoredLines whole = test::ColorLines(parser, lines);
        for (std::size_t i = lines.size(); i-- > 0;) {
            std::vector<std::uint8_t> attrs;
            EXPECT_EQ(parser.ColorString(lines[i], whole.startStates[i], attrs), whole.endStates[i])
                << "line " << i + 1;
            EXPECT_EQ(test::AttrText(attrs), whole.attrs[i]) << "line " << i + 1;
        }
    }
}

} // namespace
} // namespace quillet
