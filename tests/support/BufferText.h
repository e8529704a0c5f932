#pragma once

#include "text/MemoSource.h"

#include <string>

namespace quillet::test {

// The buffer's lines as stored, joined with LF (no line end after the last).
inline std::string JoinedLines(const TMemoSource& source)
{
    std::string text;
    for (int i = 0; i < source.GetStrCount(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += source.GetRawLine(i);
    }
    return text;
}

} // namespace quillet::test
