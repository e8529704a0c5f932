#pragma once

#include "hex/TempFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

enum class THexUndoKind : std::uint8_t {
    ByteChanged = 0,
    BytesRemoved = 1,
    InsertBuffer = 2,
    ReplaceSelection = 3,
    AppendBuffer = 4,
};

// "Byte changed", "Byte(s) removed", ...
const char* UndoKindDescription(THexUndoKind kind);

// One undo step: the editor's state before the edit and what the edit did.
// `saved` holds the old byte (kind 0), the removed bytes (kind 1) or the
// replaced bytes (kind 3); payloads above THexUndoStream::kInlineLimit live
// in the stream's side file and `saved` stays empty.
struct THexUndoRecord {
    THexUndoKind kind = THexUndoKind::ByteChanged;
    bool changed = false; // kind 0: the byte carried a changed mark
    bool modified = false; // the Modified flag before the edit
    std::int64_t cursorOffset = 0;
    std::uint8_t nibble = 0; // 0 or 1 in the hexadecimal field
    bool charField = false;
    std::int64_t selStart = 0;
    std::int64_t selEnd = 0;
    std::int64_t selAnchor = -1;
    std::int64_t offset = 0;
    std::int64_t count = 0; // bytes inserted, appended or removed; 1 for kind 0; new length for kind 3
    std::int64_t oldLength = 0; // kind 3: length of the replaced selection
    std::vector<std::uint8_t> saved;
    std::int64_t sideOffset = -1; // where a large payload starts in the side file
};

// The undo stream: records appended to one byte stream, each followed by an
// 8-byte trailer with its total length so that the records can be walked from
// the end. Integers are little-endian; offsets and counts take 8 bytes. At
// most kMaxRecords are kept: adding one more drops the oldest.
class THexUndoStream {
public:
    static constexpr int kMaxRecords = 100;
    static constexpr std::int64_t kInlineLimit = 64 * 1024;

    // Length of the payload the record keeps (kind 0: 1, kind 1: count,
    // kind 3: old length, else 0).
    static std::int64_t PayloadLength(const THexUndoRecord& record);
    static bool IsInline(std::int64_t payloadLength) { return payloadLength <= kInlineLimit; }

    // Copies a large payload from the work file into the side file; on
    // success record.sideOffset says where it went.
    bool SavePayload(THexUndoRecord& record, TTempFile& workFile, std::uint64_t from);
    // Copies a large payload back from the side file into the work file.
    bool RestorePayload(const THexUndoRecord& record, TTempFile& workFile, std::uint64_t to);
    // Gives back the side-file space of a record that was never pushed.
    void DropPayload(const THexUndoRecord& record);

    void Push(const THexUndoRecord& record);
    bool Empty() const { return m_count == 0; }
    int Count() const { return m_count; }
    // The newest record; the stream must not be empty.
    THexUndoRecord Newest() const;
    void PopNewest();
    void Clear();
    std::size_t StreamBytes() const { return m_stream.size(); }
    const std::string& Error() const { return m_error; }

private:
    std::vector<std::uint8_t> m_stream;
    int m_count = 0;
    std::unique_ptr<TTempFile> m_side; // made on the first large payload
    std::string m_error;
};

} // namespace quillet
