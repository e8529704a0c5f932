#include "text/EncoderCommand.h"

#include "text/Checksum.h"
#include "text/EditTransform.h"

namespace quillet {

namespace {

TEncodeOutcome Replace(std::string text)
{
    TEncodeOutcome outcome;
    outcome.action = TEncodeOutcome::TAction::ReplaceWithText;
    outcome.text = std::move(text);
    return outcome;
}

TEncodeOutcome Insert(std::string text)
{
    TEncodeOutcome outcome;
    outcome.action = TEncodeOutcome::TAction::InsertAtCaret;
    outcome.text = std::move(text);
    return outcome;
}

TEncodeOutcome Decoded(TDecodeResult result)
{
    TEncodeOutcome outcome;
    if (!result.Ok()) {
        outcome.error = result.error;
        return outcome;
    }
    outcome.action = TEncodeOutcome::TAction::ReplaceWithLines;
    outcome.lines = SplitTextLines(result.text);
    return outcome;
}

} // namespace

TEncodeOutcome RunEncodeCommand(TEncodeCommand command, const std::vector<std::string>& selectionLines)
{
    const std::string input = JoinLinesForEncoding(selectionLines);
    switch (command) {
    case TEncodeCommand::EncodeBase64:
        return Replace(Base64Encode(input));
    case TEncodeCommand::EncodeUu:
        return Replace(UuEncode(input));
    case TEncodeCommand::EncodeXx:
        return Replace(XxEncode(input));
    case TEncodeCommand::EncodeQuotedPrintable:
        return Replace(QuotedPrintableEncode(input));
    case TEncodeCommand::DecodeBase64:
        return Decoded(Base64Decode(input));
    case TEncodeCommand::DecodeUu:
        return Decoded(UuDecode(input));
    case TEncodeCommand::DecodeXx:
        return Decoded(XxDecode(input));
    case TEncodeCommand::DecodeQuotedPrintable: {
        TDecodeResult result;
        result.text = QuotedPrintableDecode(input);
        return Decoded(std::move(result));
    }
    case TEncodeCommand::Crc32:
        return Insert(Crc32Label(input));
    case TEncodeCommand::Crc16:
        return Insert(Crc16Label(input));
    case TEncodeCommand::Md5:
        return Insert(Md5Label(input));
    }
    return {};
}

} // namespace quillet
