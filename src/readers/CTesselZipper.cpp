#include "readers/CTesselZipper.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "core/ModGSCore.h"
#include "support/CFd.h"
#include "support/CFileSys.h"
#include "support/CPkDcl.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CTesselZipper");
constexpr int32_t kMaxNameLength = 255;

// Reads exactly n bytes at the offset; false when fewer are there.
bool ReadAt(int fd, int64_t offset, void* buffer, size_t n) {
    auto* p = static_cast<char*>(buffer);
    while (n > 0) {
        const ssize_t got = ::pread(fd, p, n, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        n -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

bool WriteAll(int fd, const uint8_t* p, size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        p += done;
        n -= static_cast<size_t>(done);
    }
    return true;
}

int32_t Int32Le(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// Joined to the folder as it stands, a name such as "../x" or "/etc/x"
// would write anywhere.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}

}  // namespace

std::string CTesselZipper::Unpack(const std::string& containerPath, const std::string& destFolder) {
    try {
        lastCode_ = kContainerError;
        CFd in(::open(containerPath.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (in.Get() < 0 || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
        const int64_t size = st.st_size;

        std::string lastPath;
        int32_t code = 0;
        int64_t total = 0;
        for (int64_t pos = 0; pos < size;) {
            // A container cut inside an entry's header is as broken as one
            // cut inside its data.
            uint8_t word[4];
            if (size - pos < 4 || !ReadAt(in.Get(), pos, word, 4)) {
                code = kContainerError;
                break;
            }
            const int32_t nameLength = Int32Le(word);
            if (nameLength <= 0 || nameLength > kMaxNameLength || size - pos - 4 < nameLength) {
                code = kContainerError;
                break;
            }
            std::string name(static_cast<size_t>(nameLength), '\0');
            if (!ReadAt(in.Get(), pos + 4, name.data(), name.size()) || !IsPlainFileName(name)) {
                code = kContainerError;
                break;
            }
            const int64_t dataStart = pos + 4 + nameLength + 4;
            if (dataStart > size || !ReadAt(in.Get(), dataStart - 4, word, 4)) {
                code = kContainerError;
                break;
            }
            const int32_t packed = Int32Le(word);
            if (packed < 0 || packed > size - dataStart) {
                code = kContainerError;
                break;
            }

            const std::string outPath = CFileSys::PathAppend(destFolder, name);
            CFd out(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                           0600));
            if (out.Get() < 0) {
                code = kContainerError;
                break;
            }
            // The expander sees this entry's bytes only, and its output is
            // capped: the format has no length that would bound it.
            int64_t readPos = dataStart;
            const int64_t dataEnd = dataStart + packed;
            int64_t written = 0;
            bool outputFailed = false;
            const CPkDcl::Reader read = [&](uint8_t* buffer, size_t n) -> size_t {
                const size_t take = static_cast<size_t>(
                    std::min<int64_t>(static_cast<int64_t>(n), dataEnd - readPos));
                if (outputFailed || take == 0 || !ReadAt(in.Get(), readPos, buffer, take)) return 0;
                readPos += static_cast<int64_t>(take);
                return take;
            };
            const CPkDcl::Writer write = [&](const uint8_t* p, size_t n) {
                if (outputFailed) return;
                written += static_cast<int64_t>(n);
                total += static_cast<int64_t>(n);
                if (written > maxEntryBytes_ || total > maxTotalBytes_ ||
                    !WriteAll(out.Get(), p, n))
                    outputFailed = true;
            };
            code = CPkDcl::Explode(read, write);
            if (!out.Close()) outputFailed = true;
            if (outputFailed) code = kContainerError;
            if (code != 0) break;
            lastPath = outPath;
            pos = dataEnd;
        }
        lastCode_ = code;
        return code == 0 ? lastPath : std::string();
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Unpack");
    }
}

}  // namespace vellcfgrdr
