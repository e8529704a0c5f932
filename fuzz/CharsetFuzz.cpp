// Every charset decoder of the code page list (UTF-8, UTF-7, modified UTF-7,
// UCS-2 and UCS-4 in both byte orders, the single-byte code pages): any bytes
// convert; text that decodes without loss and encodes back without loss
// decodes again to the same text.
#include "FuzzSupport.h"
#include "core/CharsetConversion.h"
#include "core/CodePages.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the charset, the rest is the text.
    const int codePage = GetCodePage(1 + data[0] % (kCodePageCount - 1));
    const std::string_view bytes = fuzz::Bytes(data + 1, size - 1);
    const TConversion decoded = ConvertCharset(bytes, codePage, kCpUtf8);
    ConvertCharset(bytes, codePage, kCpWindows1252);
    // The same bytes read as UTF-8 and written in the chosen charset.
    ConvertCharset(bytes, kCpUtf8, codePage);
    if (!decoded.lossy) {
        const TConversion encoded = ConvertCharset(decoded.bytes, kCpUtf8, codePage);
        if (!encoded.lossy) {
            const TConversion again = ConvertCharset(encoded.bytes, codePage, kCpUtf8);
            fuzz::Check(!again.lossy && again.bytes == decoded.bytes, "decode, encode, decode agree");
        }
    }
    return 0;
}
