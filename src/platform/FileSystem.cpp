// Error kinds and results shared by every file-system implementation.
#include "platform/IFileSystem.h"

#include <cerrno>
#include <cstring>

namespace quillet {

TFileErrorKind FileErrorKindOf(int error)
{
    switch (error) {
    case 0:
        return TFileErrorKind::None;
    case ENOENT:
    case ENOTDIR:
        return TFileErrorKind::NotFound;
    case EACCES:
    case EPERM:
        return TFileErrorKind::Permission;
    case EROFS:
        return TFileErrorKind::ReadOnlyFileSystem;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return TFileErrorKind::NoSpace;
    default:
        return TFileErrorKind::Io;
    }
}

TFileStatus TFileStatus::Failure(int error, TFileStep step, const std::filesystem::path& path)
{
    // A caller that lost errno still reports a failure.
    const int code = error != 0 ? error : EIO;
    return TFileStatus{FileErrorKindOf(code), code, std::strerror(code), step, path};
}

} // namespace quillet
