#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The message a later start sends to the running instance: a header of two
// little-endian 32-bit fields (identifier 10384, byte count of the text) and
// the text: the arguments, each line ended by CR LF, as the file system's
// bytes. The receiver answers with one little-endian 32-bit value, 1 when it
// opened the list.
inline constexpr std::uint32_t kOpenFilesIdentifier = 10384;
inline constexpr std::size_t kOpenFilesHeaderSize = 8;
inline constexpr std::size_t kOpenFilesAnswerSize = 4;
// Larger byte counts are refused before anything is read.
inline constexpr std::uint32_t kOpenFilesMaxText = 64u * 1024 * 1024;

// Header plus text. Arguments holding CR or LF cannot travel as lines and are
// left out (skipped counts them).
std::string EncodeOpenFilesMessage(const std::vector<std::string>& arguments, std::size_t* skipped = nullptr);

enum class TOpenFilesHeaderStatus {
    Ok,
    Incomplete, // fewer than kOpenFilesHeaderSize bytes
    WrongIdentifier, // not our message
    TooLarge, // byte count beyond kOpenFilesMaxText
};

struct TOpenFilesHeader {
    TOpenFilesHeaderStatus status = TOpenFilesHeaderStatus::Incomplete;
    std::uint32_t textSize = 0;
};

TOpenFilesHeader DecodeOpenFilesHeader(std::string_view bytes);

// Splits the text into arguments: CR LF, CR or LF end a line; the final line
// end makes no empty item. Empty lines in between stay (they are switches
// that reset the code page).
std::vector<std::string> SplitOpenFilesText(std::string_view text);

std::string EncodeAnswer(std::uint32_t answer);
// The answer, or 0 when bytes are too short.
std::uint32_t DecodeAnswer(std::string_view bytes);

} // namespace quillet
