#pragma once

#include "hex/HexDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace quillet::test {

// A document loaded from bytes written to a fresh temporary folder.
class THexFixture : public ::testing::Test {
protected:
    void Load(std::string_view bytes, std::string_view name = "data.bin")
    {
        file = dir.Write(name, bytes);
        ASSERT_TRUE(doc.LoadFromFile(file)) << doc.LastError();
    }
    std::string Content()
    {
        if (doc.GetDataSize() == 0) {
            return {};
        }
        const std::vector<std::uint8_t> bytes = doc.BufferFromFile(0, static_cast<std::int64_t>(doc.GetDataSize()));
        return std::string(bytes.begin(), bytes.end());
    }
    void Type(std::string_view keys)
    {
        for (char c : keys) {
            doc.TypeChar(static_cast<std::uint8_t>(c));
        }
    }
    void Select(std::int64_t from, std::int64_t to)
    {
        doc.SetSelStart(from);
        doc.SetSelEnd(to);
    }

    TTempDir dir;
    std::filesystem::path file;
    THexDocument doc;
};

} // namespace quillet::test
