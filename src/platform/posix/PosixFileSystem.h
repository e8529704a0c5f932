#pragma once

#include "platform/IFileSystem.h"

namespace quillet {

// IFileSystem over POSIX calls.
class TPosixFileSystem : public IFileSystem {
public:
    TFileRead ReadFile(const std::filesystem::path& file, std::size_t limit) override;
    using IFileSystem::ReadFile;
    TFileStatus WriteFile(const std::filesystem::path& file, std::string_view bytes) override;
    TFileStatus WriteFileWith(const std::filesystem::path& file, const TFill& fill) override;
    TFileStatus Remove(const std::filesystem::path& file) override;
    TFileStatus Link(const std::filesystem::path& existing, const std::filesystem::path& name) override;
    TFileStatus CopyPermissions(const std::filesystem::path& from, const std::filesystem::path& to) override;

protected:
    // The steps of WriteFile once the temporary file exists. Each returns 0
    // or an errno value; tests override one to make that step fail.
    virtual int WriteAll(int fd, std::string_view bytes);
    virtual int Sync(int fd);
    virtual int Rename(const std::filesystem::path& from, const std::filesystem::path& to);

private:
    // The atomic replacement around fill, which writes the content to the
    // temporary file's descriptor.
    TFileStatus Replace(const std::filesystem::path& file,
        const std::function<TFileStatus(int fd, const std::filesystem::path& target)>& fill);
};

// The file system the program runs on, shared by every caller that is given
// no other.
IFileSystem& SystemFileSystem();

} // namespace quillet
