// The open-files message a later start sends to the running instance: any
// bytes give a header status and a list of arguments; the arguments sent
// again arrive unchanged.
#include "FuzzSupport.h"
#include "app/OpenFilesMessage.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::Bytes(data, size);
    const TOpenFilesHeader header = DecodeOpenFilesHeader(bytes);
    DecodeAnswer(bytes);
    std::string_view text = bytes;
    if (header.status == TOpenFilesHeaderStatus::Ok) {
        fuzz::Check(header.textSize <= kOpenFilesMaxText, "byte count within the limit");
        text = bytes.substr(kOpenFilesHeaderSize, header.textSize);
    }
    const std::vector<std::string> arguments = SplitOpenFilesText(text);
    std::size_t skipped = 0;
    const std::string message = EncodeOpenFilesMessage(arguments, &skipped);
    fuzz::Check(skipped == 0, "split arguments hold no line ends");
    const TOpenFilesHeader again = DecodeOpenFilesHeader(message);
    fuzz::Check(again.status == TOpenFilesHeaderStatus::Ok, "an encoded message has a good header");
    fuzz::Check(again.textSize == message.size() - kOpenFilesHeaderSize, "the byte count is the text's");
    fuzz::Check(SplitOpenFilesText(std::string_view(message).substr(kOpenFilesHeaderSize)) == arguments,
        "arguments survive the message");
    return 0;
}
