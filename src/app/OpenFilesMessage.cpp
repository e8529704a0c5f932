#include "app/OpenFilesMessage.h"

namespace quillet {

namespace {

void AppendU32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t ReadU32(std::string_view bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    }
    return value;
}

} // namespace

std::string EncodeOpenFilesMessage(const std::vector<std::string>& arguments, std::size_t* skipped)
{
    std::string text;
    std::size_t left = 0;
    for (const std::string& argument : arguments) {
        if (argument.find_first_of("\r\n") != std::string::npos) {
            ++left;
            continue;
        }
        text += argument;
        text += "\r\n";
    }
    if (skipped != nullptr) {
        *skipped = left;
    }
    std::string message;
    message.reserve(kOpenFilesHeaderSize + text.size());
    AppendU32(message, kOpenFilesIdentifier);
    AppendU32(message, static_cast<std::uint32_t>(text.size()));
    message += text;
    return message;
}

TOpenFilesHeader DecodeOpenFilesHeader(std::string_view bytes)
{
    TOpenFilesHeader header;
    if (bytes.size() < kOpenFilesHeaderSize) {
        return header;
    }
    if (ReadU32(bytes) != kOpenFilesIdentifier) {
        header.status = TOpenFilesHeaderStatus::WrongIdentifier;
        return header;
    }
    header.textSize = ReadU32(bytes.substr(4));
    header.status = header.textSize > kOpenFilesMaxText ? TOpenFilesHeaderStatus::TooLarge : TOpenFilesHeaderStatus::Ok;
    return header;
}

std::vector<std::string> SplitOpenFilesText(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::string EncodeAnswer(std::uint32_t answer)
{
    std::string out;
    AppendU32(out, answer);
    return out;
}

std::uint32_t DecodeAnswer(std::string_view bytes)
{
    return bytes.size() < kOpenFilesAnswerSize ? 0 : ReadU32(bytes);
}

} // namespace quillet
