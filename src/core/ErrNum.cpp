#include "core/ErrNum.h"

#include <cerrno>

namespace vellcfgrdr {

int32_t ErrNum::FromErrno(int code, Subject subject) noexcept {
    switch (code) {
        case 0:
            return kOk;
        case ENOENT:
            return subject == Subject::folder ? kPathNotFound : kFileNotFound;
        case ENOTDIR:
            return kPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return kPermission;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kDiskFull;
        case ENOMEM:
            return kOutOfMemory;
        case EIO:
            return kDeviceIo;
        case EEXIST:
            return kFileExists;
        case ENAMETOOLONG:
            return kBadFileName;
        case EMFILE:
        case ENFILE:
            return kTooManyFiles;
        default:
            return kPathFileAccess;
    }
}

}  // namespace vellcfgrdr
