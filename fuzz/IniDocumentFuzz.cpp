// INI text of settings files: any bytes parse; the text written reads back to
// the same sections and values, and writing it again gives the same text; a
// value set from the input reads back unchanged.
#include "FuzzSupport.h"
#include "core/IniDocument.h"

using namespace quillet;

namespace {

void CheckSameContent(const TIniDocument& a, const TIniDocument& b)
{
    const std::vector<std::string> sections = a.SectionNames();
    fuzz::Check(sections == b.SectionNames(), "section names survive writing");
    for (const std::string& section : sections) {
        fuzz::Check(a.Values(section) == b.Values(section), "values survive writing");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Bytes(data, size);
    const TIniDocument first = TIniDocument::Parse(text);
    const std::string written = first.Serialize();
    TIniDocument second = TIniDocument::Parse(written);
    CheckSameContent(first, second);
    fuzz::Check(second.Serialize() == written, "writing is stable");

    // The input split in three: a section, a key and a value to store.
    const std::vector<std::string> parts = fuzz::SplitAtNul(text);
    if (parts.size() >= 3) {
        const std::string& value = parts[2];
        fuzz::Check(TIniDocument::DecodeValue(TIniDocument::EncodeValue(value)) == value, "value encoding round trip");
        if (second.Set(parts[0], parts[1], value)) {
            const TIniDocument reread = TIniDocument::Parse(second.Serialize());
            const std::string* found = reread.Find(parts[0], parts[1]);
            // The first of duplicate keys wins, so a stored key may be shadowed
            // only when the section already held it; Set changes that first one.
            fuzz::Check(found != nullptr && *found == value, "a stored value reads back");
            CheckSameContent(second, reread);
        }
    }
    return 0;
}
