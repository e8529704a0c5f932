#include "support/TempDir.h"
#include "syntax/SyntaxParser.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quillet {
namespace {

std::vector<std::filesystem::path> DefinitionFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.is_regular_file() && entry.path().extension() == ".def") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Reports the first line where the saved text departs from the file.
std::string FirstDifference(const std::string& file, const std::string& expected, const std::string& actual)
{
    std::size_t line = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
        if (expected[i] != actual[i]) {
            const auto lineOf = [&](const std::string& text) {
                return text.substr(start, text.find('\n', start) - start);
            };
            return file + ":" + std::to_string(line) + ": saving gives \"" + lineOf(actual) + "\" instead of \""
                + lineOf(expected) + "\"";
        }
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    return file + ":" + std::to_string(line) + ": saved text is " + std::to_string(actual.size()) + " bytes, the file "
        + std::to_string(expected.size());
}

// Every definition we ship loads without a single skipped property, compiles,
// and saves back to exactly the bytes it was read from.
TEST(ShippedDefinitions, LoadCleanlyAndSaveByteForByte)
{
    const std::vector<std::filesystem::path> files =
        DefinitionFiles(std::filesystem::path(QUILLET_SOURCE_DIR) / "Syntax Definitions");
    if (files.empty()) {
        GTEST_SKIP() << "no definitions shipped yet";
    }
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string original = test::TTempDir::Read(file);
        TSyntaxParser parser;
        const TDefResult result = parser.LoadFromFile(file);
        EXPECT_TRUE(result.ok);
        for (const std::string& diagnostic : result.diagnostics) {
            ADD_FAILURE() << diagnostic;
        }
        if (!result.ok) {
            continue;
        }
        const TSyntaxScheme& scheme = parser.SyntaxScheme();
        EXPECT_FALSE(scheme.Name.empty()) << file.string() << ": definition has no name";
        const std::string saved = scheme.SaveToText();
        if (saved != original) {
            ADD_FAILURE() << FirstDifference(file.string(), original, saved);
        }
        for (std::size_t i = 0; i < scheme.CompiledBlocks().size(); ++i) {
            EXPECT_TRUE(scheme.CompiledBlocks()[i].valid)
                << file.string() << ": block \"" << scheme.SyntaxBlocks[i].Name
                << "\" cannot be reached (bad ID or parent)";
        }
        // A quick smoke run over a line of mixed text.
        std::vector<std::uint8_t> attrs;
        parser.ColorString("x = \"s\" /* c */ 12 // end", 0, attrs);
    }
}

} // namespace
} // namespace quillet
