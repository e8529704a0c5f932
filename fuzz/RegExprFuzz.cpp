// The search dialect's compiler and matcher: any pattern compiles or is
// refused with a position inside it; every search of any line stays within
// the step bound of the matching machine, so a pattern that would take too
// long is a finding, and found matches lie inside the line.
#include "FuzzSupport.h"
#include "text/RegExpr.h"

using namespace quillet;

namespace {

void CheckBound(const TRegExpr& re, std::size_t lineLength)
{
    const std::uint64_t bound = 4 * (static_cast<std::uint64_t>(re.ProgramSize()) + 1) * (lineLength + 2);
    fuzz::Check(re.StepsOfLastSearch() <= bound, "search within the step bound");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // First byte: case sensitivity; then the pattern up to a NUL; the rest is the line.
    const bool caseSensitive = (data[0] & 1) != 0;
    const std::string_view rest = fuzz::Bytes(data + 1, size - 1);
    const std::size_t split = rest.find('\0');
    const std::string_view pattern = rest.substr(0, split);
    const std::string_view line = split == std::string_view::npos ? rest : rest.substr(split + 1);

    TRegExpr re(pattern, caseSensitive);
    if (!re.IsValid()) {
        fuzz::Check(re.ErrorPosition() >= 1 && static_cast<std::size_t>(re.ErrorPosition()) <= pattern.size() + 1,
            "an error position inside the pattern");
        fuzz::Check(!re.ErrorMessage().empty(), "an error message");
        fuzz::Check(!re.FindForward(line, 0).has_value(), "a refused pattern matches nothing");
        return 0;
    }
    if (const auto found = re.FindForward(line, 0)) {
        fuzz::Check(found->position + found->length <= line.size(), "a forward match inside the line");
        const auto at = re.MatchAt(line, found->position);
        fuzz::Check(
            at.has_value() && *at == found->position + found->length, "the match found is the one at its start");
    }
    CheckBound(re, line.size());
    if (const auto found = re.FindBackward(line, line.size() + 1)) {
        fuzz::Check(found->position + found->length <= line.size(), "a backward match inside the line");
    }
    CheckBound(re, line.size());
    re.MatchAt(line, line.size() / 2);
    CheckBound(re, line.size());
    return 0;
}
