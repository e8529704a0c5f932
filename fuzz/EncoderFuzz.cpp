// The Base64, UU, XX and quoted-printable decoders: any text decodes or is
// refused with an offset inside it; every encoder's output decodes back to
// the bytes it was given.
#include "FuzzSupport.h"
#include "text/Encoder.h"

using namespace quillet;

namespace {

void CheckDecoded(const TDecodeResult& result, std::size_t inputSize, const char* what)
{
    if (!result.Ok()) {
        fuzz::Check(result.text.empty(), what);
        fuzz::Check(result.errorOffset < inputSize, what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::Bytes(data, size);
    CheckDecoded(Base64Decode(bytes), size, "Base64 refusal");
    CheckDecoded(UuDecode(bytes), size, "UU refusal");
    CheckDecoded(XxDecode(bytes), size, "XX refusal");
    fuzz::Check(QuotedPrintableDecode(bytes).size() <= size, "quoted-printable never grows");

    const TDecodeResult base64 = Base64Decode(Base64Encode(bytes));
    fuzz::Check(base64.Ok() && base64.text == bytes, "Base64 round trip");
    const TDecodeResult uu = UuDecode(UuEncode(bytes));
    fuzz::Check(uu.Ok() && uu.text == bytes, "UU round trip");
    const TDecodeResult xx = XxDecode(XxEncode(bytes));
    fuzz::Check(xx.Ok() && xx.text == bytes, "XX round trip");
    fuzz::Check(QuotedPrintableDecode(QuotedPrintableEncode(bytes)) == bytes, "quoted-printable round trip");
    return 0;
}
