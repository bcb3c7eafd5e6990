#include "support/CFileWriter.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <utility>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CFileWriter");

// Links are followed at most this often, as the kernel does.
constexpr int kMaxLinks = 40;
// Room left in a file name for ".", ".", and the six-letter suffix.
constexpr size_t kMaxTempStem = 240;

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ModGSCore::RaiseOsError(errno, path);
        }
        done += static_cast<size_t>(n);
    }
}

// Six letters and digits that no other writer of this process or of another
// one is likely to pick at the same moment; O_EXCL settles the rest.
std::string UniqueSuffix() {
    static std::atomic<uint64_t> counter{0};
    uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits))
        bits = static_cast<uint64_t>(::getpid()) * 0x9E3779B97F4A7C15ull ^
               static_cast<uint64_t>(std::time(nullptr));
    bits += counter.fetch_add(0x632BE59BD9B4E019ull, std::memory_order_relaxed);
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string out(6, '0');
    for (char& c : out) {
        c = kLetters[bits % 36];
        bits /= 36;
    }
    return out;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

[[noreturn]] void RaiseFolderMissing(int code, const std::string& path) {
    ModGSCore::RaiseOsError(code, CStdLib::Sprintf(modResStr::ResString(msgFolderMissing), {path}),
                            ErrNum::Subject::folder);
}

struct Target {
    std::string path;
    // Written in place: a device, a FIFO, a socket, a folder (which then
    // fails), or a descriptor of this process named through /proc.
    bool direct = false;
};

// Follows symbolic links to the file they finally name. /dev/stdout and its
// kind lead into /proc, whose links name open descriptors rather than paths:
// those are written in place.
Target Resolve(const std::string& path) {
    std::string p = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        if (p.starts_with("/proc/")) return {p, true};
        struct stat st;
        if (::lstat(p.c_str(), &st) != 0) return {p, false};  // missing: made new
        if (!S_ISLNK(st.st_mode)) return {p, !S_ISREG(st.st_mode)};
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0) ModGSCore::RaiseOsError(errno, p);
        if (static_cast<size_t>(n) >= link.size()) ModGSCore::RaiseOsError(ENAMETOOLONG, p);
        link.resize(static_cast<size_t>(n));
        p = link.starts_with('/') ? link : FolderOf(p) + link;
    }
    ModGSCore::RaiseOsError(ELOOP, CStdLib::Sprintf(modResStr::ResString(msgFileLinkLoop), {path}));
}

void WriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) ModGSCore::RaiseOsError(errno, path);
    try {
        // A regular file behind a descriptor link (standard output sent to a
        // file) may be shared with other writers: add to it, never cut it.
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_APPEND);
        WriteAll(fd, bytes, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0 && errno != EINTR) ModGSCore::RaiseOsError(errno, path);
}

}  // namespace

CFileWriter::CFileWriter(std::string path) : CFileWriter(std::move(path), Options{}) {}

CFileWriter::CFileWriter(std::string path, Options options)
    : path_(std::move(path)), options_(options) {
    try {
        if (path_.empty() || path_.back() == '/')
            ModGSCore::RaiseError("'" + path_ + "'", ErrNum::kBadFileName);
        // An existing file keeps its permissions; the special bits are never
        // carried over to a file written by someone else.
        struct stat st;
        const bool replacing =
            options_.keepMode && ::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        const mode_t mode = replacing ? (st.st_mode & 0777) : (options_.mode & 0777);
        if (replacing) restoreMode_ = mode;

        const std::string folder = FolderOf(path_);
        std::string stem = path_.substr(folder.size());
        if (stem.size() > kMaxTempStem) stem.resize(kMaxTempStem);
        for (int attempt = 0; fd_ < 0; ++attempt) {
            temp_ = folder + "." + stem + "." + UniqueSuffix();
            // The umask applies to a new file, as it would to the target.
            fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
            if (fd_ >= 0) break;
            const int err = errno;
            if (err == EEXIST && attempt < 100) continue;
            temp_.clear();
            if (err == ENOENT) RaiseFolderMissing(err, path_);
            ModGSCore::RaiseOsError(err, path_);
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Open");
    }
}

CFileWriter::~CFileWriter() {
    Discard();
}

void CFileWriter::Discard() noexcept {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

void CFileWriter::Write(std::string_view bytes) {
    try {
        if (fd_ < 0) ModGSCore::RaiseError(path_ + ": not open for writing", ErrNum::kBadFileName);
        WriteAll(fd_, bytes, path_);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Write");
    }
}

void CFileWriter::Commit() {
    try {
        if (fd_ < 0) ModGSCore::RaiseError(path_ + ": not open for writing", ErrNum::kBadFileName);
        // The umask took bits away from the temporary that the old file had.
        if (restoreMode_ != 0 && ::fchmod(fd_, restoreMode_) != 0)
            ModGSCore::RaiseOsError(errno, path_);
        if (options_.sync && ::fsync(fd_) != 0) ModGSCore::RaiseOsError(errno, path_);
        // close reports a delayed write failure (a full disk over NFS).
        if (::close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
            ModGSCore::RaiseOsError(errno, path_);
        if (std::rename(temp_.c_str(), path_.c_str()) != 0) ModGSCore::RaiseOsError(errno, path_);
        committed_ = true;
        temp_.clear();
    } catch (...) {
        Discard();
        ModGSCore::ReRaise(kWhere, "Commit");
    }
}

void CFileWriter::WriteFile(const std::string& path, std::string_view bytes) {
    WriteFile(path, bytes, Options{});
}

void CFileWriter::WriteFile(const std::string& path, std::string_view bytes, Options options) {
    try {
        if (path.empty()) ModGSCore::RaiseError("''", ErrNum::kBadFileName);
        const Target target = Resolve(path);
        if (target.direct) {
            WriteInPlace(target.path, bytes);
            return;
        }
        CFileWriter writer(target.path, options);
        writer.Write(bytes);
        writer.Commit();
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WriteFile");
    }
}

}  // namespace vellcfgrdr
