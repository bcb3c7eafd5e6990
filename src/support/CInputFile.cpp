#include "support/CInputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

std::string Text(MsgId id, const std::string& path) {
    return CStdLib::Sprintf(modResStr::ResString(id), {path});
}

const char* KindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "FIFO";
    if (S_ISCHR(mode)) return "character device";
    if (S_ISBLK(mode)) return "block device";
    if (S_ISSOCK(mode)) return "socket";
    return "special file";
}

[[noreturn]] void RaiseTooLarge(const std::string& path) {
    ModGSCore::RaiseError(CStdLib::Sprintf(modResStr::ResString(msgFileTooLarge),
                                           {path, std::to_string(CInputFile::kMaxSize)}),
                          ErrNum::kPathFileAccess);
}

// Refuses what is not a regular file of an acceptable size.
void CheckKind(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) ModGSCore::RaiseOsError(EISDIR, Text(msgFileIsFolder, path));
    if (!S_ISREG(st.st_mode))
        ModGSCore::RaiseError(CStdLib::Sprintf(modResStr::ResString(msgFileNotRegular),
                                               {path, std::string(KindOf(st.st_mode))}),
                              ErrNum::kPathFileAccess);
    if (static_cast<uint64_t>(st.st_size) > CInputFile::kMaxSize) RaiseTooLarge(path);
}

// Says why open failed, in the words of what the path turned out to be.
[[noreturn]] void RaiseOpenError(int err, const std::string& path) {
    struct stat st;
    switch (err) {
        case ENOENT:
            ModGSCore::RaiseOsError(err, path);
        case ENOTDIR:
            ModGSCore::RaiseOsError(err, Text(msgPathNotFolder, path));
        case ELOOP:
            ModGSCore::RaiseOsError(err, Text(msgFileLinkLoop, path));
        case EACCES:
        case EPERM:
            // The file is there but closed to us, or a folder on the way is.
            ModGSCore::RaiseOsError(err, ::stat(path.c_str(), &st) == 0
                                             ? Text(msgFileNotReadable, path)
                                             : Text(msgFolderNotSearchable, path));
        default:
            // A socket cannot be opened at all (ENXIO): say what it is.
            if (::stat(path.c_str(), &st) == 0) CheckKind(path, st);
            ModGSCore::RaiseOsError(err, path);
    }
}

}  // namespace

CInputFile::CInputFile(const std::string& path) : path_(path) {
    if (path.empty()) ModGSCore::RaiseError("''", ErrNum::kBadFileName);
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) RaiseOpenError(errno, path);
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(std::exchange(fd_, -1));
        ModGSCore::RaiseOsError(err, path);
    }
    try {
        CheckKind(path, st);
    } catch (...) {
        ::close(std::exchange(fd_, -1));
        throw;
    }
    size_ = static_cast<uint64_t>(st.st_size);
}

CInputFile::~CInputFile() {
    if (fd_ >= 0) ::close(fd_);
}

void CInputFile::Check(const std::string& path) {
    CInputFile file(path);
}

int CInputFile::Release() noexcept {
    return std::exchange(fd_, -1);
}

template <class Buf>
void CInputFile::ReadInto(Buf& buf) {
    if (fd_ < 0) ModGSCore::RaiseError(path_ + ": not open", ErrNum::kBadFileName);
    // One byte more than the size, so that the read meeting the end needs
    // no growth.
    buf.clear();
    buf.resize(static_cast<size_t>(size_) + 1);
    size_t used = 0;
    for (;;) {
        if (used == buf.size()) {
            if (used > kMaxSize) RaiseTooLarge(path_);
            buf.resize(std::min<size_t>(std::max<size_t>(used * 2, 4096), kMaxSize + 1));
        }
        const ssize_t n = ::read(fd_, buf.data() + used, buf.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            ModGSCore::RaiseOsError(errno, path_);
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    if (used > kMaxSize) RaiseTooLarge(path_);
    buf.resize(used);
}

void CInputFile::ReadAll(std::string& out) {
    ReadInto(out);
}

void CInputFile::ReadAll(std::vector<uint8_t>& out) {
    ReadInto(out);
}

}  // namespace vellcfgrdr
