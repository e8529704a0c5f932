// The hex editor's document: the work file, loading and saving, the edits and
// their undo records.
#include "hex/HexDocument.h"

#include "core/DocumentFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWorkExtension = ".QHXW";

// An open read-only descriptor, closed on scope exit.
struct TReadFd {
    int fd = -1;
    ~TReadFd()
    {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

THexDocument::THexDocument()
{
    m_markers.fill(-1);
}

THexDocument::~THexDocument() = default;

bool THexDocument::Fail(const std::string& reason)
{
    m_lastError = reason;
    InvalidateCache();
    if (OnError) {
        OnError(reason);
    }
    return false;
}

void THexDocument::StateChanged()
{
    if (OnStateChanged) {
        OnStateChanged();
    }
}

void THexDocument::Repaint()
{
    if (OnRepaint) {
        OnRepaint();
    }
}

void THexDocument::ResetDocumentState()
{
    ResetUndo();
    m_anchor = -1;
    m_selStart = m_selEnd = 0;
    m_marks.Clear();
    m_modified = false;
    m_cursor = {2, 0};
    InvalidateCache();
}

// ---- loading and saving ------------------------------------------------------------

bool THexDocument::LoadFromFile(const fs::path& file)
{
    TReadFd source;
    // O_NONBLOCK keeps a FIFO from blocking the open; only regular files load.
    source.fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source.fd < 0) {
        m_lastError = file.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat st { };
    if (::fstat(source.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_lastError = file.string() + ": " + std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    std::string error;
    std::unique_ptr<TTempFile> work = TTempFile::Create(kWorkExtension, error);
    if (!work) {
        m_lastError = error;
        return false;
    }
    const auto length = static_cast<std::uint64_t>(st.st_size);
    if (!work->CopyFrom(source.fd, length)) {
        // The new work file goes; the document and the file stay as they were.
        m_lastError = work->Error();
        return false;
    }
    m_work = std::move(work);
    m_size = length;
    m_fileName = file;
    m_readOnlyFile = ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
    ResetDocumentState();
    Repaint();
    StateChanged();
    return true;
}

fs::path THexDocument::BackupName(const fs::path& file) const
{
    fs::path backup = file;
    backup.replace_extension(m_backupExtension);
    if (backup == file || m_backupExtension.empty()) {
        backup = file.string() + ".~";
    }
    return backup;
}

bool THexDocument::SaveToFile(const fs::path& file)
{
    m_lastError.clear();
    if (m_createBackup && m_modified && file == m_fileName) {
        TReadFd old;
        old.fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat st { };
        if (old.fd >= 0 && ::fstat(old.fd, &st) == 0 && S_ISREG(st.st_mode)) {
            const fs::path backupName = BackupName(file);
            // The safe writer follows links; a link at the backup name (planted
            // or old) is removed instead, so the backup never lands in the
            // file it points to.
            struct stat link { };
            if (::lstat(backupName.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && ::unlink(backupName.c_str()) != 0) {
                m_lastError = backupName.string() + ": " + std::strerror(errno);
                return false;
            }
            const TDocumentFileResult backup = WriteFileSafelyWith(backupName, [&](int fd) -> std::string {
                if (::ftruncate(fd, st.st_size) != 0
                    || !CopyFileRange(old.fd, 0, fd, 0, static_cast<std::uint64_t>(st.st_size))) {
                    return std::strerror(errno);
                }
                return {};
            });
            if (!backup) {
                m_lastError = backup.fileName + ": " + backup.reason;
                return false;
            }
        } else if (old.fd >= 0 || errno != ENOENT) {
            m_lastError = file.string() + ": " + std::strerror(old.fd >= 0 ? EINVAL : errno);
            return false;
        }
    }
    const TDocumentFileResult result = WriteFileSafelyWith(file, [this](int fd) -> std::string {
        if (m_size == 0) {
            return {};
        }
        // Copied into the empty file first, the length set afterwards: see TTempFile::CopyFrom.
        if (!m_work->CopyTo(0, m_size, fd, 0)) {
            return m_work->Error().empty() ? std::strerror(errno) : m_work->Error();
        }
        if (::ftruncate(fd, static_cast<off_t>(m_size)) != 0) {
            return std::strerror(errno);
        }
        return {};
    });
    if (!result) {
        m_lastError = result.fileName + ": " + result.reason;
        return false;
    }
    m_marks.Clear();
    m_modified = false;
    m_readOnlyFile = false;
    m_fileName = file;
    ResetUndo();
    Repaint();
    StateChanged();
    return true;
}

void THexDocument::CreateEmptyFile(const fs::path& file)
{
    m_work.reset();
    m_size = 0;
    m_fileName = file;
    m_readOnlyFile = true;
    ResetDocumentState();
    Repaint();
    StateChanged();
}

void THexDocument::SetAsText(const std::string& bytes)
{
    if (m_size > 0) {
        SetSelStart(0);
        SetSelEnd(static_cast<std::int64_t>(m_size) - 1);
    }
    ReplaceSelection(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::int64_t>(bytes.size()));
}

std::uint8_t THexDocument::GetMemory(std::int64_t offset)
{
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= m_size) {
        throw THexArgumentError("Invalid GetMemory index");
    }
    return CachedByte(offset);
}

std::vector<std::uint8_t> THexDocument::BufferFromFile(std::int64_t offset, std::int64_t count)
{
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= m_size) {
        throw THexArgumentError("Invalid BufferFromFile argument");
    }
    const auto n =
        static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(m_size) - offset));
    std::vector<std::uint8_t> buffer(n);
    if (m_work->ReadAt(static_cast<std::uint64_t>(offset), buffer.data(), n) != n) {
        return {};
    }
    return buffer;
}

std::uint8_t THexDocument::CachedByte(std::int64_t pos)
{
    const auto p = static_cast<std::uint64_t>(pos);
    const auto perLine = static_cast<std::uint64_t>(m_grid.bytesPerLine);
    if (!m_cacheValid || p < m_cacheBase || m_cacheBase + kCacheSize < p + perLine) {
        m_cacheBase = p > kCacheSize / 2 ? p - kCacheSize / 2 : 0;
        m_cache.resize(kCacheSize);
        const std::size_t n = m_work ? m_work->ReadAt(m_cacheBase, m_cache.data(), kCacheSize) : 0;
        m_cache.resize(n);
        m_cacheValid = true;
    }
    const std::uint64_t at = p - m_cacheBase;
    return at < m_cache.size() ? m_cache[at] : 0;
}

// ---- edits -------------------------------------------------------------------------

bool THexDocument::EnsureWorkFile()
{
    if (m_work) {
        return true;
    }
    std::string error;
    m_work = TTempFile::Create(kWorkExtension, error);
    return m_work != nullptr || Fail(error);
}

bool THexDocument::Splice(std::int64_t offset, std::int64_t removed, const std::uint8_t* bytes, std::int64_t count)
{
    const auto at = static_cast<std::uint64_t>(offset);
    const std::uint64_t tailFrom = at + static_cast<std::uint64_t>(removed);
    const std::uint64_t tail = m_size - tailFrom;
    const std::uint64_t newSize = m_size - static_cast<std::uint64_t>(removed) + static_cast<std::uint64_t>(count);
    InvalidateCache();
    if (newSize > m_size) {
        // Claim the space first: a full disk refuses the edit before any byte moves.
        if (!m_work->Reserve(m_size, newSize - m_size) || !m_work->Resize(newSize)) {
            m_work->Resize(m_size);
            return Fail(m_work->Error());
        }
    }
    if (!m_work->Move(tailFrom, at + static_cast<std::uint64_t>(count), tail)
        || (count > 0 && bytes != nullptr && !m_work->WriteAt(at, bytes, static_cast<std::size_t>(count)))) {
        return Fail(m_work->Error());
    }
    if (newSize < m_size && !m_work->Resize(newSize)) {
        return Fail(m_work->Error());
    }
    m_size = newSize;
    return true;
}

bool THexDocument::BeginUndo(
    THexUndoRecord& r, THexUndoKind kind, std::int64_t offset, std::int64_t count, std::int64_t oldLength)
{
    if (m_size == 0 && kind != THexUndoKind::InsertBuffer && kind != THexUndoKind::AppendBuffer) {
        return false;
    }
    r.kind = kind;
    r.modified = m_modified;
    r.cursorOffset = CursorOffset();
    r.charField = InCharField();
    r.nibble = r.charField ? 0 : static_cast<std::uint8_t>((m_cursor.col - 2) % 2);
    r.selStart = m_selStart;
    r.selEnd = m_selEnd;
    r.selAnchor = m_anchor;
    r.offset = offset;
    r.count = count;
    r.oldLength = oldLength;
    if (kind == THexUndoKind::ByteChanged) {
        r.changed = ChangedMark(offset);
    }
    const std::int64_t payload = THexUndoStream::PayloadLength(r);
    if (kind == THexUndoKind::ByteChanged || payload == 0) {
        return true;
    }
    if (THexUndoStream::IsInline(payload)) {
        r.saved.resize(static_cast<std::size_t>(payload));
        if (m_work->ReadAt(static_cast<std::uint64_t>(offset), r.saved.data(), r.saved.size()) != r.saved.size()) {
            return Fail(m_work->Error());
        }
        return true;
    }
    return m_undo.SavePayload(r, *m_work, static_cast<std::uint64_t>(offset)) || Fail(m_undo.Error());
}

void THexDocument::CommitUndo(const THexUndoRecord& record)
{
    m_undo.Push(record);
    m_canUndo = true;
    m_modified = true;
    m_undoDescription = UndoKindDescription(record.kind);
    StateChanged();
}

void THexDocument::ResetUndo()
{
    m_undo.Clear();
    m_canUndo = false;
    m_undoDescription = "No Undo";
}

bool THexDocument::InsertBuffer(const std::uint8_t* bytes, std::int64_t count, std::int64_t offset)
{
    if (count <= 0 || offset < 0 || static_cast<std::uint64_t>(offset) > m_size) {
        return false;
    }
    THexUndoRecord record;
    if (!BeginUndo(record, THexUndoKind::InsertBuffer, offset, count, 0) || !EnsureWorkFile()
        || !Splice(offset, 0, bytes, count)) {
        return false;
    }
    m_marks.TruncateAt(static_cast<std::uint64_t>(offset));
    if (offset == CursorOffset()) {
        SetSelection(offset, offset, offset + count - 1);
    }
    CommitUndo(record);
    Repaint();
    return true;
}

bool THexDocument::AppendBuffer(const std::uint8_t* bytes, std::int64_t count)
{
    if (count <= 0) {
        return false;
    }
    const auto offset = static_cast<std::int64_t>(m_size);
    THexUndoRecord record;
    if (!BeginUndo(record, THexUndoKind::AppendBuffer, offset, count, 0) || !EnsureWorkFile()
        || !Splice(offset, 0, bytes, count)) {
        return false;
    }
    m_marks.TruncateAt(static_cast<std::uint64_t>(offset));
    PlaceCursor(offset, InCharField());
    SetSelection(offset, offset, offset + count - 1);
    CommitUndo(record);
    Repaint();
    return true;
}

bool THexDocument::DeleteSelection()
{
    if (m_size == 0) {
        return false;
    }
    std::int64_t start = m_anchor != -1 ? m_selStart : CursorOffset();
    std::int64_t count = m_anchor != -1 ? m_selEnd - m_selStart + 1 : 1;
    if (start < 0 || count <= 0 || static_cast<std::uint64_t>(start) >= m_size) {
        return false;
    }
    count = std::min<std::int64_t>(count, static_cast<std::int64_t>(m_size) - start);
    THexUndoRecord record;
    if (!BeginUndo(record, THexUndoKind::BytesRemoved, start, count, 0) || !Splice(start, count, nullptr, 0)) {
        m_undo.DropPayload(record);
        return false;
    }
    m_marks.TruncateAt(static_cast<std::uint64_t>(start));
    m_anchor = -1;
    PlaceCursor(
        std::min<std::int64_t>(start, std::max<std::int64_t>(0, static_cast<std::int64_t>(m_size) - 1)), InCharField());
    CommitUndo(record);
    Repaint();
    return true;
}

bool THexDocument::ReplaceSelection(const std::uint8_t* bytes, std::int64_t count)
{
    if (m_anchor == -1) {
        return InsertBuffer(bytes, count, CursorOffset());
    }
    if (count <= 0) {
        return DeleteSelection(); // an empty replacement only deletes
    }
    const std::int64_t start = m_selStart;
    const std::int64_t oldLength =
        std::min<std::int64_t>(m_selEnd - m_selStart + 1, static_cast<std::int64_t>(m_size) - start);
    THexUndoRecord record;
    if (!BeginUndo(record, THexUndoKind::ReplaceSelection, start, count, oldLength)
        || !Splice(start, oldLength, bytes, count)) {
        m_undo.DropPayload(record);
        return false;
    }
    m_marks.TruncateAt(static_cast<std::uint64_t>(start));
    if (CursorOffset() == start) {
        SetSelection(start, start, start + count - 1);
    } else {
        m_anchor = -1;
        ClampCursor();
    }
    CommitUndo(record);
    Repaint();
    return true;
}

bool THexDocument::ChangeByte(std::uint8_t oldByte, std::uint8_t newByte, std::int64_t offset)
{
    if (oldByte == newByte || offset < 0 || static_cast<std::uint64_t>(offset) >= m_size) {
        return false;
    }
    THexUndoRecord record;
    if (!BeginUndo(record, THexUndoKind::ByteChanged, offset, 1, 0)) {
        return false;
    }
    record.saved = {oldByte};
    if (!m_work->WriteAt(static_cast<std::uint64_t>(offset), &newByte, 1)) {
        return Fail(m_work->Error());
    }
    const auto p = static_cast<std::uint64_t>(offset);
    if (m_cacheValid && p >= m_cacheBase && p - m_cacheBase < m_cache.size()) {
        m_cache[p - m_cacheBase] = newByte;
    }
    if (!GetIsInsertMode()) {
        m_marks.Set(p);
    }
    CommitUndo(record);
    Repaint();
    return true;
}

// ---- undo --------------------------------------------------------------------------

bool THexDocument::SpliceFromSide(const THexUndoRecord& record, std::int64_t removed)
{
    const std::int64_t length = THexUndoStream::PayloadLength(record);
    if (THexUndoStream::IsInline(length)) {
        return Splice(record.offset, removed, record.saved.data(), length);
    }
    // Open a gap of the payload's length and copy the payload into it.
    return Splice(record.offset, removed, nullptr, length)
        && (m_undo.RestorePayload(record, *m_work, static_cast<std::uint64_t>(record.offset)) || Fail(m_undo.Error()));
}

void THexDocument::Undo()
{
    if (!m_canUndo || m_undo.Empty()) {
        ResetUndo();
        StateChanged();
        return;
    }
    const THexUndoRecord record = m_undo.Newest();
    const auto offset = static_cast<std::uint64_t>(record.offset);
    bool ok = true;
    switch (record.kind) {
    case THexUndoKind::ByteChanged:
        ok = m_work && (m_work->WriteAt(offset, record.saved.data(), 1) || Fail(m_work->Error()));
        InvalidateCache();
        m_marks.Set(offset, record.changed);
        break;
    case THexUndoKind::BytesRemoved:
        ok = EnsureWorkFile() && SpliceFromSide(record, 0);
        m_marks.TruncateAt(offset);
        break;
    case THexUndoKind::InsertBuffer:
        ok = Splice(record.offset, record.count, nullptr, 0);
        m_marks.TruncateAt(offset);
        break;
    case THexUndoKind::ReplaceSelection:
        ok = SpliceFromSide(record, record.count);
        m_marks.TruncateAt(offset > 0 ? offset - 1 : 0);
        break;
    case THexUndoKind::AppendBuffer:
        m_cursor.col = 2;
        ok = m_work->Resize(offset) || Fail(m_work->Error());
        if (ok) {
            m_size = offset;
        }
        InvalidateCache();
        m_marks.TruncateAt(offset);
        break;
    }
    if (!ok) {
        return; // the record stays, so the step can be tried again
    }
    RestoreState(record);
    m_undo.PopNewest();
    if (m_undo.Empty()) {
        ResetUndo();
    } else {
        m_undoDescription = UndoKindDescription(m_undo.Newest().kind);
    }
    Repaint();
    StateChanged();
}

void THexDocument::RestoreState(const THexUndoRecord& record)
{
    PlaceCursor(record.cursorOffset, record.charField, m_size > 0 ? record.nibble : 0);
    m_selStart = record.selStart;
    m_selEnd = record.selEnd;
    m_anchor = record.selAnchor;
    m_modified = record.modified;
}

void THexDocument::SetModified(bool modified)
{
    m_modified = modified;
    if (!modified) {
        m_canUndo = false;
        m_marks.Clear();
        Repaint();
    }
    StateChanged();
}

void THexDocument::SetReadOnlyFile(bool flag)
{
    if (flag) {
        m_readOnlyFile = true;
    }
}

void THexDocument::SetReadOnlyView(bool flag)
{
    m_readOnlyView = flag;
    StateChanged();
}

} // namespace quillet
