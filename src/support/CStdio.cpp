#include "support/CStdio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CFileWriter.h"

namespace vellcfgrdr {

namespace {

// errno travels as a system_error so that ModGSCore maps it to the numbered
// error and keeps the OS code.
[[noreturn]] void ThrowErrno(int code, const std::string& path) {
    throw std::system_error(code, std::generic_category(), path);
}

class Fd {
  public:
    Fd(const std::string& path, int flags) : fd_(::open(path.c_str(), flags | O_CLOEXEC, 0666)) {
        if (fd_ < 0) ThrowErrno(errno, path);
    }
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const noexcept { return fd_; }
    // Closing can report a delayed write failure, so writers close explicitly.
    void Close(const std::string& path) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowErrno(errno, path);
    }

  private:
    int fd_;
};

// Reads the whole file into buf (std::string or std::vector<uint8_t>) with
// one allocation for a regular file: the buffer is sized from fstat plus one
// byte, so the read that meets the end needs no growth.
template <class Buf>
void ReadAll(const std::string& path, Buf& buf, size_t limit) {
    Fd fd(path, O_RDONLY);
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0) ThrowErrno(errno, path);
    if (S_ISDIR(st.st_mode)) ThrowErrno(EISDIR, path);
    const auto size = static_cast<uint64_t>(st.st_size);
    if (size > limit) ModGSCore::RaiseError(path, ErrNum::kOverflow);

    buf.clear();
    buf.resize(static_cast<size_t>(size) + 1);
    size_t used = 0;
    for (;;) {
        if (used == buf.size()) {
            // The file grew, or has no size of its own (a pipe).
            if (used > limit) ModGSCore::RaiseError(path, ErrNum::kOverflow);
            buf.resize(std::max<size_t>(used * 2, 4096));
        }
        const ssize_t n = ::read(fd.Get(), buf.data() + used, buf.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno, path);
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    if (used > limit) ModGSCore::RaiseError(path, ErrNum::kOverflow);
    buf.resize(used);
}

// Decodes by byte-order mark. Large exports are mostly valid UTF-8 or plain
// ASCII: those are kept in their buffer rather than copied.
std::string Decode(std::string&& bytes) {
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) return CUtf8::FromUtf16Le(std::string_view(bytes).substr(2));
        if (b0 == 0xEF && b1 == 0xBB) {
            const size_t mark =
                bytes.size() >= 3 && static_cast<unsigned char>(bytes[2]) == 0xBF ? 3 : 0;
            if (!CUtf8::IsValidUtf8(std::string_view(bytes).substr(mark)))
                return CUtf8::FromUtf8(std::string_view(bytes).substr(mark));
            bytes.erase(0, mark);
            return std::move(bytes);
        }
    }
    if (CUtf8::IsAscii(bytes)) return std::move(bytes);
    return CUtf8::FromCp1252(bytes);
}

}  // namespace

std::string CStdio::LoadTextFile(const std::string& path) {
    try {
        std::string bytes;
        ReadAll(path, bytes, std::numeric_limits<size_t>::max() / 2);
        return Decode(std::move(bytes));
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CStdio"), "LoadTextFile(" + path + ")");
    }
}

int32_t CStdio::ReadBinFile(const std::string& path, std::vector<uint8_t>& out) {
    try {
        ReadAll(path, out, static_cast<size_t>(std::numeric_limits<int32_t>::max()));
        return static_cast<int32_t>(out.size());
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CStdio"), "ReadBinFile");
    }
}

void CStdio::SaveTextFile(const std::string& path, std::string_view text) {
    try {
        CFileWriter::WriteFile(path, CUtf8::ToCp1252(text));
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CStdio"), "SaveTextFile(" + path + ")");
    }
}

}  // namespace vellcfgrdr
