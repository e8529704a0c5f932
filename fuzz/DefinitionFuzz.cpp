// Syntax definition files: any bytes read without crashing; a definition that
// reads is written, and the written text reads again to a scheme that writes
// the same text.
#include "FuzzSupport.h"
#include "syntax/SyntaxScheme.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TSyntaxScheme first;
    if (!first.LoadFromText(fuzz::Bytes(data, size), "fuzz.def").ok) {
        return 0;
    }
    const std::string written = first.SaveToText();
    TSyntaxScheme second;
    const TDefResult reread = second.LoadFromText(written, "written.def");
    fuzz::Check(reread.ok, "a written definition reads again");
    fuzz::Check(reread.diagnostics.empty(), "a written definition reads without diagnostics");
    fuzz::Check(second.SaveToText() == written, "read, write and read again agree");
    return 0;
}
