#pragma once

#include "text/Encoder.h"

#include <string>
#include <vector>

namespace quillet {

// The eleven commands of the Encode, Decode, Hash submenu as one text
// operation each, so the command layer only applies the outcome to the buffer
// (inside one change bracket) or shows the error.
enum class TEncodeCommand {
    EncodeBase64,
    EncodeUu,
    EncodeXx,
    EncodeQuotedPrintable,
    DecodeBase64,
    DecodeUu,
    DecodeXx,
    DecodeQuotedPrintable,
    Crc32,
    Crc16,
    Md5,
};

struct TEncodeOutcome {
    enum class TAction {
        ReplaceWithText, // delete the selection, InsertString(text) at its start
        ReplaceWithLines, // delete the selection, InsertStrings(lines, stream) at its start
        InsertAtCaret, // InsertString(text) at the caret; the selection stays
        Refuse, // show DecodeErrorText(error); change nothing
    };
    TAction action = TAction::Refuse;
    std::string text;
    std::vector<std::string> lines;
    TDecodeError error = TDecodeError::None;
};

// `selectionLines` are the lines of a stream selection; they reach the
// algorithm with CR LF after each, the last one included. Encoders give one
// line of text (UU and XX of more than 63 bytes: 45-byte lines joined with CR
// LF); decoders give the decoded text split at CR LF, CR and LF; checksums give
// their labelled value.
TEncodeOutcome RunEncodeCommand(TEncodeCommand command, const std::vector<std::string>& selectionLines);

} // namespace quillet
