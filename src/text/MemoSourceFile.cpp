// Loading and saving of TMemoSource. Loading keeps the file in one block that
// unmodified lines point into; saving goes through a temporary file in the
// target's folder so the target always holds either the old or the new file.
#include "text/MemoSource.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <istream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace fs = std::filesystem;

namespace {

std::string Errno()
{
    return std::strerror(errno);
}

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

struct TReadResult {
    std::shared_ptr<char[]> data;
    std::size_t size = 0;
    std::string reason;
    bool ok = false;
};

TReadResult ReadWholeFile(const fs::path& file)
{
    TReadResult r;
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        r.reason = Errno();
        return r;
    }
    struct stat st { };
    std::size_t cap = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        cap = static_cast<std::size_t>(st.st_size);
    } else if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        r.reason = std::strerror(EISDIR);
        return r;
    }
    cap = cap + 1;
    std::shared_ptr<char[]> buf(new char[cap]);
    std::size_t size = 0;
    for (;;) {
        if (size == cap) {
            // The file grew while we read it: keep going with a larger block.
            std::size_t newCap = cap * 2;
            std::shared_ptr<char[]> bigger(new char[newCap]);
            std::memcpy(bigger.get(), buf.get(), size);
            buf = std::move(bigger);
            cap = newCap;
        }
        ssize_t n = ::read(fd, buf.get() + size, cap - size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            r.reason = Errno();
            ::close(fd);
            return r;
        }
        if (n == 0) {
            break;
        }
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    r.data = std::move(buf);
    r.size = size;
    r.ok = true;
    return r;
}

} // namespace

// ---- Default file-system steps -----------------------------------------------------------

bool TMemoFileOps::WriteNew(const fs::path& file, std::string_view bytes, std::string& reason)
{
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = Errno();
        return false;
    }
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = Errno();
            ::close(fd);
            ::unlink(file.c_str());
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        reason = Errno();
        ::unlink(file.c_str());
        return false;
    }
    return true;
}

bool TMemoFileOps::Rename(const fs::path& from, const fs::path& to, std::string& reason)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        reason = Errno();
        return false;
    }
    return true;
}

bool TMemoFileOps::Remove(const fs::path& file, std::string& reason)
{
    if (::unlink(file.c_str()) != 0) {
        reason = Errno();
        return false;
    }
    return true;
}

bool TMemoFileOps::Link(const fs::path& existing, const fs::path& name, std::string& reason)
{
    if (::link(existing.c_str(), name.c_str()) != 0) {
        reason = Errno();
        return false;
    }
    return true;
}

void TMemoFileOps::CopyMode(const fs::path& from, const fs::path& to)
{
    struct stat st { };
    if (::stat(from.c_str(), &st) == 0) {
        ::chmod(to.c_str(), st.st_mode & 07777);
    }
}

void TMemoFileOps::SyncFolder(const fs::path& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// ---- Loading ------------------------------------------------------------------------------

void TMemoSource::ReplaceAll(std::shared_ptr<const char[]> block, std::size_t size, bool quick)
{
    const char* data = block.get();
    const char* end = data + size;
    bool hasCR = size > 0 && std::memchr(data, '\r', size) != nullptr;
    std::size_t estimate = 1;
    for (const char* p = data; p < end;) {
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!nl) {
            break;
        }
        ++estimate;
        p = static_cast<const char*>(nl) + 1;
    }
    std::vector<TLineRec> recs;
    recs.reserve(estimate + 64);
    bool trim = quick && !m_keepTrailingBlanks;
    auto addLine = [&](const char* b, const char* e) {
        if (trim) {
            while (e > b && (e[-1] == ' ' || e[-1] == '\t')) {
                --e;
            }
        }
        TLineRec r;
        r.ptr = b;
        r.len = static_cast<std::uint32_t>(e - b);
        if (static_cast<std::size_t>(e - b) > UINT32_MAX) {
            r.extra = new TLineExtra;
            r.extra->text.assign(b, e);
            r.extra->ownsText = true;
            r.ptr = nullptr;
            r.len = 0;
        }
        recs.push_back(r);
    };
    const char* p = data;
    if (!hasCR) {
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nl) {
                addLine(p, end);
                break;
            }
            addLine(p, nl);
            p = nl + 1;
        }
    } else {
        // CR LF, CR alone and LF alone all end a line.
        const char* start = p;
        while (p < end) {
            char c = *p;
            if (c == '\n' || c == '\r') {
                addLine(start, p);
                if (c == '\r' && p + 1 < end && p[1] == '\n') {
                    ++p;
                }
                start = p + 1;
            }
            ++p;
        }
        if (start < end) {
            addLine(start, end);
        }
    }
    m_store.Assign(std::move(block), std::move(recs));
    if (quick && !HasOption(soUseTabCharacter)) {
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
    m_bookmarks.clear();
    m_hidden.clear();
    for (auto& pos : m_positions) {
        pos->m_char = 0;
        pos->m_line = 0;
    }
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
    BeginUpdate(quick ? 48 : 60);
    std::shared_ptr<char[]> block(new char[text.size() + 1]);
    if (!text.empty()) {
        std::memcpy(block.get(), text.data(), text.size());
    }
    ReplaceAll(std::move(block), text.size(), quick);
    AfterWholesaleChange(48);
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
    TReadResult r = ReadWholeFile(file);
    if (!r.ok) {
        return {false, Format2("Can't read file %s", file.string()), r.reason};
    }
    BeginUpdate(48);
    ReplaceAll(std::move(r.data), r.size, false);
    AfterWholesaleChange(48);
    EndUpdate();
    return {};
}

TFileResult TMemoSource::QuickLoadFromFile(const fs::path& file)
{
    TReadResult r = ReadWholeFile(file);
    if (!r.ok) {
        return {false, Format2("Can't read file %s", file.string()), r.reason};
    }
    BeginUpdate(48);
    ReplaceAll(std::move(r.data), r.size, true);
    AfterWholesaleChange(48);
    EndUpdate();
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
    TMemoFileOps defaults;
    TMemoFileOps& ops = m_fileOps ? *m_fileOps : defaults;
    std::error_code ec;
    // Saving through a symbolic link updates the file it points to.
    fs::path target = name;
    if (fs::is_symlink(name, ec)) {
        fs::path resolved = fs::weakly_canonical(name, ec);
        if (!ec) {
            target = resolved;
        }
    }
    bool exists = fs::exists(target, ec);
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return {false, Format2("Can't write file %s", target.string()), Errno()};
    }
    fs::path folder = target.parent_path();
    std::string bytes = SaveToText();
    // A fresh name next to the target, starting with the file name.
    fs::path temp;
    std::string reason;
    bool written = false;
    std::mt19937 rng(std::random_device{}());
    for (int attempt = 0; attempt < 50 && !written; ++attempt) {
        temp = target;
        temp += ".~" + std::to_string(rng() % 1000000) + ".tmp";
        if (fs::exists(temp, ec)) {
            continue;
        }
        if (ops.WriteNew(temp, bytes, reason)) {
            written = true;
            break;
        }
        if (reason != std::strerror(EEXIST)) {
            // Not a name clash: either no file can be made here, or writing it failed.
            for (int e : {EACCES, EPERM, EROFS, ENOENT, ENOTDIR}) {
                if (reason == std::strerror(e)) {
                    return {false, "Can't create temporary filename", reason};
                }
            }
            return {false, Format2("Can't write file %s", target.string()), reason};
        }
    }
    if (!written) {
        return {false, "Can't create temporary filename", reason};
    }
    if (exists) {
        ops.CopyMode(target, temp);
    }
    if (HasOption(soCreateBackups) && exists) {
        fs::path backup = GetBackupName(target);
        if (fs::exists(backup, ec) || fs::is_symlink(backup, ec)) {
            if (!ops.Remove(backup, reason)) {
                fs::remove(temp, ec);
                return {false, Format2("Can't delete file %S", backup.string()), reason};
            }
        }
        // The backup is a second name of the old file, so the target never goes
        // missing; where links are not possible the old file is copied instead.
        if (!ops.Link(target, backup, reason)) {
            TReadResult old = ReadWholeFile(target);
            if (!old.ok || !ops.WriteNew(backup, std::string_view(old.data.get(), old.size), reason)) {
                fs::remove(temp, ec);
                return {false, Format2("Can't rename file %s to file %s", target.string(), backup.string()), reason};
            }
            ops.CopyMode(target, backup);
        }
    }
    if (!ops.Rename(temp, target, reason)) {
        fs::remove(temp, ec);
        return {false, Format2("Can't rename file %s to file %s", temp.string(), target.string()), reason};
    }
    ops.SyncFolder(folder);
    return {};
}

} // namespace quillet
