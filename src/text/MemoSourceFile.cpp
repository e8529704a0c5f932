// Loading and saving of TMemoSource. Loading keeps the file in one block that
// unmodified lines point into; saving goes through a temporary file in the
// target's folder so the target always holds either the old or the new file.
#include "platform/HugePages.h"
#include "platform/posix/PosixFileSystem.h"
#include "text/LineScan.h"
#include "text/MemoSource.h"
#include "text/TabStops.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <istream>
#include <unistd.h>

namespace quillet {

namespace fs = std::filesystem;

namespace {

std::string Format2(std::string_view pattern, const std::string& a, const std::string& b = {})
{
    std::string out;
    int used = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'S')) {
            out += used++ == 0 ? a : b;
            ++i;
        } else {
            out.push_back(pattern[i]);
        }
    }
    return out;
}

// The message of a failed save, by the step of the safe write that failed.
TFileResult SaveFailure(const TFileStatus& status, const fs::path& target)
{
    switch (status.step) {
    case TFileStep::Create:
        if (status.kind == TFileErrorKind::Permission || status.kind == TFileErrorKind::ReadOnlyFileSystem
            || status.kind == TFileErrorKind::NotFound || status.error == EEXIST) {
            return {false, "Can't create temporary filename", status.reason};
        }
        break;
    case TFileStep::Rename:
        return {
            false, Format2("Can't rename file %s to file %s", status.path.string(), target.string()), status.reason};
    default:
        break;
    }
    return {false, Format2("Can't write file %s", target.string()), status.reason};
}

// Makes backup a second name of target, the file about to be replaced, so
// that the target never goes missing; where links are not possible the old
// file is copied instead. An earlier backup is replaced.
TFileResult MakeBackup(IFileSystem& files, const fs::path& target, const fs::path& backup)
{
    if (const TFileStatus removed = files.Remove(backup); !removed && removed.kind != TFileErrorKind::NotFound) {
        return {false, Format2("Can't delete file %S", backup.string()), removed.reason};
    }
    if (files.Link(target, backup)) {
        return {};
    }
    const TFileRead old = files.ReadFile(target);
    TFileStatus copied = old.status ? files.WriteFile(backup, old.bytes) : old.status;
    if (copied) {
        copied = files.CopyPermissions(target, backup);
    }
    if (!copied) {
        return {false, Format2("Can't rename file %s to file %s", target.string(), backup.string()), copied.reason};
    }
    return {};
}

// Lines of a text from the line breaks in its first megabyte, somewhat
// generous: reserving records only claims address space, while a short
// reserve means copying every record once more.
std::size_t EstimateLines(const char* data, std::size_t size)
{
    const std::size_t sample = std::min<std::size_t>(size, 1u << 20);
    const std::size_t breaks = static_cast<std::size_t>(std::count(data, data + sample, '\n'))
        + static_cast<std::size_t>(std::count(data, data + sample, '\r'));
    if (sample == 0) {
        return 1;
    }
    const double perByte = static_cast<double>(breaks + 1) / static_cast<double>(sample);
    return static_cast<std::size_t>(perByte * static_cast<double>(size) * 1.125) + 16;
}

} // namespace

// ---- Loading ------------------------------------------------------------------------------

void TMemoSource::ReplaceAll(std::shared_ptr<const char[]> block, std::size_t size, bool quick)
{
    const char* data = block.get();
    std::vector<TLineRec> recs;
    const std::size_t estimate = EstimateLines(data, size);
    recs.reserve(estimate + TLineStore::SpareRecords(estimate));
    AskForHugePages(recs.data(), recs.capacity() * sizeof(TLineRec));
    const bool trim = quick && !m_keepTrailingBlanks;
    // Tabs turned into spaces below change the lengths: then the longest
    // line is measured later, when asked for.
    const bool convertTabs = quick && !HasOption(soUseTabCharacter);
    int longest = 0;
    ScanLines(data, size, [&](const char* b, const char* e, bool hasTab) {
        if (trim) {
            while (e > b && (e[-1] == ' ' || e[-1] == '\t')) {
                --e;
            }
        }
        const std::size_t length = static_cast<std::size_t>(e - b);
        TLineRec r;
        if (length < TLineRec::kExtraLen) {
            r.SetSpan(b, static_cast<std::uint32_t>(length));
        } else {
            TLineExtra* extra = new TLineExtra;
            extra->text.assign(b, e);
            extra->ownsText = true;
            r.AttachExtra(extra);
        }
        recs.push_back(r);
        if (!convertTabs) {
            // A line without tabs takes one column per byte.
            const int columns = hasTab ? tabs::DisplayLength({b, length}, m_tabStops)
                                       : static_cast<int>(std::min<std::size_t>(length, INT_MAX));
            longest = std::max(longest, columns);
        }
    });
    m_store.Assign(std::move(block), std::move(recs));
    // Read back by LoadBlock once the wholesale change marked it stale.
    m_longest = convertTabs ? -1 : longest;
    if (convertTabs) {
        std::string spaces(static_cast<std::size_t>(m_spacesInTab), ' ');
        for (std::size_t i = 0; i < m_store.Count(); ++i) {
            std::string_view t = m_store.Text(i);
            if (t.find('\t') == std::string_view::npos) {
                continue;
            }
            std::string out;
            out.reserve(t.size() + 16);
            for (char c : t) {
                if (c == '\t') {
                    out += spaces;
                } else {
                    out.push_back(c);
                }
            }
            m_store.SetText(i, std::move(out));
        }
    }
}

void TMemoSource::AfterWholesaleChange(int changeKind)
{
    (void)changeKind;
    m_marks.ClearBookmarks();
    m_hidden.Clear();
    m_marks.ResetAll();
    m_selKind = TSelKind::selNone;
    m_parsedUpTo = 0;
    m_longestDirty = true;
    AddChange(0, INT_MAX, chAll);
    ClearUndoBuffer();
    m_forcedModified = false;
    m_saveMark = -1;
}

void TMemoSource::LoadFromText(std::string_view text, bool quick)
{
    TakeText(TFileBytes(std::string(text)), quick);
}

void TMemoSource::TakeText(TFileBytes text, bool quick)
{
    LoadBlock(text.Share(), text.size(), quick, quick ? 48 : 60);
}

void TMemoSource::LoadBlock(std::shared_ptr<const char[]> block, std::size_t size, bool quick, int changeKind)
{
    BeginUpdate(changeKind);
    ReplaceAll(std::move(block), size, quick);
    AfterWholesaleChange(48);
    if (m_longest >= 0) {
        // ReplaceAll measured the longest line while indexing: no second
        // pass over the text.
        m_trackLongest = true;
        m_longestDirty = false;
    }
    EndUpdate();
}

TFileResult TMemoSource::LoadFromStream(std::istream& in)
{
    std::string all;
    char buf[1 << 16];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        all.append(buf, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return {false, "Can't read stream", {}};
    }
    LoadFromText(all, true);
    return {};
}

TFileResult TMemoSource::LoadFromFile(const fs::path& file)
{
    return LoadWholeFile(file, false);
}

TFileResult TMemoSource::QuickLoadFromFile(const fs::path& file)
{
    return LoadWholeFile(file, true);
}

TFileResult TMemoSource::LoadWholeFile(const fs::path& file, bool quick)
{
    IFileSystem& files = m_fileSystem != nullptr ? *m_fileSystem : SystemFileSystem();
    TFileRead read = files.ReadFile(file);
    if (!read.status) {
        return {false, Format2("Can't read file %s", file.string()), read.status.reason};
    }
    LoadBlock(read.bytes.Share(), read.bytes.size(), quick, 48);
    return {};
}

// ---- Saving -------------------------------------------------------------------------------

std::string TMemoSource::SaveToText() const
{
    std::string_view eol = m_outFormat == TOutFormat::ofWindows ? "\r\n"
        : m_outFormat == TOutFormat::ofMac                      ? "\r"
                                                                : "\n";
    bool skipReadOnly = HasOption(soExcludeReadOnlyLines);
    std::size_t total = 0;
    for (std::size_t i = 0; i < m_store.Count(); ++i) {
        total += m_store.Text(i).size() + eol.size();
    }
    std::string out;
    out.reserve(total);
    for (std::size_t i = 0; i < m_store.Count(); ++i) {
        if (skipReadOnly && (m_store.Rec(i).state & lsReadOnly)) {
            continue;
        }
        out.append(m_store.Text(i));
        out.append(eol);
    }
    return out;
}

fs::path TMemoSource::GetBackupName(const fs::path& file)
{
    fs::path backup = file;
    std::string ext = file.extension().string();
    if (ext.size() > 1) {
        std::string b = ".~" + ext.substr(1);
        if (b.size() > 4) {
            b.resize(4);
        }
        backup.replace_extension(b);
    } else {
        backup = file.string() + ".~";
    }
    if (OnGetBackupName) {
        fs::path chosen = backup;
        OnGetBackupName(*this, file, chosen);
        if (!chosen.empty()) {
            backup = chosen;
        }
    }
    // A backup must never be the file itself.
    std::error_code ec;
    if (backup == file || (fs::exists(backup, ec) && fs::equivalent(backup, file, ec))) {
        backup = file.string() + ".~";
    }
    return backup;
}

TFileResult TMemoSource::SaveToFile(const fs::path& name)
{
    IFileSystem& files = m_fileSystem != nullptr ? *m_fileSystem : SystemFileSystem();
    std::error_code ec;
    // Saving through a symbolic link updates the file it points to, and the
    // backup is named after that file.
    fs::path target = name;
    if (fs::is_symlink(name, ec)) {
        fs::path resolved = fs::weakly_canonical(name, ec);
        if (!ec) {
            target = resolved;
        }
    }
    const bool exists = fs::exists(target, ec);
    // Checked before the backup is made, so that a refused save changes nothing.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return {false, Format2("Can't write file %s", target.string()), std::strerror(errno)};
    }
    if (HasOption(soCreateBackups) && exists) {
        if (TFileResult backup = MakeBackup(files, target, GetBackupName(target)); !backup) {
            return backup;
        }
    }
    if (const TFileStatus written = files.WriteFile(target, SaveToText()); !written) {
        return SaveFailure(written, target);
    }
    return {};
}

} // namespace quillet
