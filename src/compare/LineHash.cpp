#include "compare/Diff.h"
#include "compare/LineIdentities.h"
#include "text/Checksum.h"

#include <string>

namespace quillet {

std::uint32_t TDiff::CalcCRC32(const void* bytes, std::size_t length)
{
    if (length == 0) {
        return 0;
    }
    TCrc32 crc;
    crc.Update(std::string_view(static_cast<const char*>(bytes), length));
    return crc.Value();
}

std::uint32_t TDiff::HashLine(std::string_view line, bool ignoreCase, bool ignoreBlanks)
{
    if (!ignoreCase && !ignoreBlanks) {
        return CalcCRC32(line.data(), line.size());
    }
    const std::string kept = NormalizedLine(line, ignoreCase, ignoreBlanks);
    return CalcCRC32(kept.data(), kept.size());
}

} // namespace quillet
