#pragma once

#include "platform/FileBytes.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quillet {

// What the first 50 bytes of a file say about it. charset is the charset
// fixed by a byte-order mark (0 without one).
struct TFileTypes {
    bool isBinary = false;
    bool hasByteOrderMark = false;
    int charset = 0;
    bool isProject = false;
};

// Probes a file: control bytes (0-8, 11, 12, 14-31) make it binary; a
// byte-order mark fixes a Unicode charset; a ".qpr" file whose [General]
// "Signature" is the project signature is a project. All false when the file
// does not exist or cannot be read.
TFileTypes GetFileTypes(const std::filesystem::path& file);
// The project test of GetFileTypes alone (false for binary or marked files).
bool IsProject(const std::filesystem::path& file);

// Which window a file opens in. A source view or the hex request always
// gives a binary window; an existing binary file without a byte-order mark
// too; a project file opens as a project; everything else (a new document, a
// missing file, text) is text.
enum class TOpenKind { Binary, Project, Text };
TOpenKind ChooseOpenKind(const TFileTypes& types, bool isNew, bool fileExists, bool asBinary, bool hasSourceView);

// Outcome of a file operation: the file's name and the operating system's
// reason when it failed.
struct TDocumentFileResult {
    bool ok = true;
    std::string fileName;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// A text file read for a document window, in the system code page.
struct TDocumentLoad {
    TDocumentFileResult result;
    bool notFound = false; // the file does not exist (the window offers to create it)
    TFileBytes text; // the whole text; the buffer splits it into lines (TakeText adopts it)
    int codePageIndex = 0; // the index asked for, or the one a byte-order mark chose
    bool converted = false; // false: text is the file's bytes, unchanged
    bool lossy = false; // characters were lost: open the document read-only
    bool readOnlyFile = false; // the user cannot write the file
};

// Reads a text file for the code page list entry codePageIndex. With
// detectByteOrderMark (opening, not reloading) a byte-order mark overrides
// the entry. Text in a charset other than the system code page is converted;
// lossy is set when the system code page cannot hold all of it, so that the
// window opens the document read-only and no save replaces those characters
// with "_".
TDocumentLoad LoadTextDocument(const std::filesystem::path& file, int codePageIndex, bool detectByteOrderMark = true);

// Writes a document's text (bytes in the system code page, lines already
// ended by the buffer's own line-end format) in the charset of the code page
// list entry codePageIndex: the byte-order mark of that charset, then the
// converted text. Characters the charset cannot hold become "_".
TDocumentFileResult SaveTextDocument(const std::filesystem::path& file, std::string_view text, int codePageIndex);

// Replaces a file's content safely: the bytes go to a temporary file in the
// same folder, which is flushed, synced and renamed over the target. A
// symbolic link is followed and stays a link; an existing file keeps its
// permission bits (and owner where allowed). On any failure the old file is
// untouched. A file the user may not write is refused.
TDocumentFileResult WriteFileSafely(const std::filesystem::path& file, std::string_view bytes);
// The same for content too large to hold in memory: fill writes it to the
// temporary file's descriptor and returns the system's reason on failure,
// empty on success.
TDocumentFileResult WriteFileSafelyWith(
    const std::filesystem::path& file, const std::function<std::string(int fd)>& fill);

// Last-write time of a file in nanoseconds since the epoch (UTC), 0 when no
// such file exists.
std::int64_t LastAccessToFile(const std::filesystem::path& file);

// True when the file exists and its last-write time differs from the one
// recorded at the last load or save: another program changed it.
bool HasChangedOnDisk(const std::filesystem::path& file, std::int64_t recordedStamp);

// The read-only attribute of the desktop: the file exists and the user may
// not write it. Clearing it sets the owner's write bit.
bool IsReadOnlyFile(const std::filesystem::path& file);
// Whether a failed save is explained by write protection: the file is
// read-only, or its folder does not let the user make the temporary file.
// Other failures (a full disk, a quota, an I/O error) are not.
bool IsWriteProtected(const std::filesystem::path& file);
TDocumentFileResult ClearReadOnlyAttribute(const std::filesystem::path& file);

// Name of the n-th untitled document: the translated base name with "*" and
// "\" removed, followed by n ("Untitled3").
std::string UntitledName(std::string_view baseName, int counter);

// Extension of a binary document's backup copy: the file's extension with
// "." replaced by ".~" (".dat" gives ".~dat"); a name without extension gets
// ".~", so the backup never has the document's own name.
std::string BackupExtension(const std::filesystem::path& file);

// The name a save dialog's filter gives a typed file name: filter is
// "description|mask|description|mask..." and filterIndex counts from 1. When
// the chosen mask begins "*.ext" (ext free of wildcards), the name gets that
// extension; any other mask leaves the name as typed.
std::string ChangeExtDialog(std::string_view fileName, std::string_view filter, int filterIndex);

// Messages of the loading and saving engine that the window shows: the
// translation key and its English default ("%s" is the file name).
inline constexpr std::string_view kLossyLoadKey = "LossyLoad";
inline constexpr std::string_view kLossyLoadDefault =
    "Some characters of \"%s\" cannot be shown in the current code page. The file was opened read-only so that "
    "saving cannot replace them.";

} // namespace quillet
