#include "platform/qt/FreedesktopAssociations.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

bool IsOurs(std::string_view entry)
{
    return entry.rfind(TFreedesktopAssociations::kDesktopFilePrefix, 0) == 0 && entry.size() > 8
        && entry.substr(entry.size() - 8) == ".desktop";
}

bool ReplaceFile(const std::filesystem::path& target, const std::string& bytes, std::string& error)
{
    std::string pattern = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = target.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat old { };
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n >= 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    if (!ok || ::rename(pattern.c_str(), target.c_str()) != 0) {
        error = target.string() + ": " + std::strerror(ok ? errno : saved);
        ::unlink(pattern.c_str());
        return false;
    }
    return true;
}

} // namespace

TFreedesktopAssociations::TFreedesktopAssociations(TUserPaths paths)
    : m_paths(std::move(paths))
{
}

std::string TFreedesktopAssociations::WithoutOurEntries(std::string_view text)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const bool hasNewline = end != std::string_view::npos;
        if (!hasNewline) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = hasNewline ? end + 1 : end;

        const std::size_t eq = line.find('=');
        if (line.empty() || line.front() == '[' || line.front() == '#' || eq == std::string_view::npos) {
            out.append(line);
            out.append(hasNewline ? "\n" : "");
            continue;
        }
        std::string kept;
        bool removed = false;
        std::string_view values = line.substr(eq + 1);
        while (!values.empty()) {
            const std::size_t semi = values.find(';');
            const std::string_view entry = values.substr(0, semi);
            if (IsOurs(entry)) {
                removed = true;
            } else if (!entry.empty()) {
                kept.append(entry);
                kept += ';';
            }
            values = semi == std::string_view::npos ? std::string_view{} : values.substr(semi + 1);
        }
        if (!removed) {
            out.append(line);
        } else if (!kept.empty()) {
            out.append(line.substr(0, eq + 1));
            out.append(kept);
        } else {
            continue; // only Quillet was listed: the line goes
        }
        out.append(hasNewline ? "\n" : "");
    }
    return out;
}

bool TFreedesktopAssociations::RemoveAll(std::string& error)
{
    error.clear();
    const std::filesystem::path applications = m_paths.DataHome() / "applications";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(applications, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsOurs(name)) {
            std::error_code removeError;
            std::filesystem::remove(it->path(), removeError);
            if (removeError && error.empty()) {
                error = it->path().string() + ": " + removeError.message();
            }
        }
    }
    const std::filesystem::path config = m_paths.ConfigHome();
    for (const std::filesystem::path& list : {config / "mimeapps.list", applications / "mimeapps.list"}) {
        std::ifstream in(list, std::ios::binary);
        if (!in) {
            continue;
        }
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string cleaned = WithoutOurEntries(text);
        std::string reason;
        if (cleaned != text && !ReplaceFile(list, cleaned, reason) && error.empty()) {
            error = reason;
        }
    }
    return error.empty();
}

} // namespace quillet
