#include "readers/CZip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <memory>
#include <system_error>
#include <vector>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CZip");

// The caller names the archive; the detail says what is wrong with it.
[[noreturn]] void Refuse(const std::string& why) {
    ModGSCore::RaiseError(why, ErrNum::kBadFileFormat);
}

[[noreturn]] void ThrowErrno(int code, const std::string& path) {
    throw std::system_error(code, std::generic_category(), path);
}

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct EntryCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

bool IsLink(zip_t* z, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(z, index, 0, &system, &attributes) != 0) return false;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// Makes each folder of the relative path below base.
void MakeFolders(const std::string& base, const std::string& relative) {
    for (size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', slash + 1)) {
        const std::string path = base + "/" + relative.substr(0, slash);
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) ThrowErrno(errno, path);
    }
}

// A file written under a temporary name beside its target, removed unless
// it was renamed into place.
class PendingFile {
  public:
    explicit PendingFile(const std::string& target) : target_(target) {
        const size_t slash = target.rfind('/');
        temp_ = target.substr(0, slash + 1) + ".unzip-XXXXXX";
        fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
        if (fd_ < 0) ThrowErrno(errno, target);
    }
    ~PendingFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!temp_.empty()) ::unlink(temp_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void Write(const char* data, size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                ThrowErrno(errno, target_);
            }
            data += n;
            size -= static_cast<size_t>(n);
        }
    }
    // Renaming replaces a file (or a link) of the target name, never what a
    // link points to.
    void Commit() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowErrno(errno, target_);
        if (::rename(temp_.c_str(), target_.c_str()) != 0) ThrowErrno(errno, target_);
        temp_.clear();
    }

  private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

}  // namespace

std::optional<std::string> CZip::SafeRelativePath(std::string_view entryName) {
    std::string name(entryName);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || name.front() == '/') return std::nullopt;
    if (name.size() >= 2 && name[1] == ':') return std::nullopt;  // a drive letter
    std::string out;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") {
            if (!out.empty()) out += '/';
            out += part;
        }
        start = end + 1;
    }
    return out;
}

void CZip::UnZip(const std::string& archive, const std::string& folder) {
    UnZip(archive, folder, Limits{});
}

void CZip::UnZip(const std::string& archive, const std::string& folder, const Limits& limits) {
    try {
        Extract(archive, folder, limits, {});
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "UnZip");
    }
}

std::string CZip::ExtractEntry(const std::string& archive, std::string_view entryName,
                               const std::string& folder) {
    return ExtractEntry(archive, entryName, folder, Limits{});
}

std::string CZip::ExtractEntry(const std::string& archive, std::string_view entryName,
                               const std::string& folder, const Limits& limits) {
    try {
        return Extract(archive, folder, limits, entryName);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ExtractEntry");
    }
}

std::string CZip::Extract(const std::string& archive, const std::string& folder,
                          const Limits& limits, std::string_view only) {
    {
        if (archive.empty() || folder.empty())
            ModGSCore::RaiseError("invalid file/folder name", ErrNum::kFileNotFound);
        struct stat st;
        if (::stat(archive.c_str(), &st) != 0) ThrowErrno(errno, archive);
        const auto size = static_cast<uint64_t>(st.st_size);
        const uint64_t budget =
            size > limits.maxBytes / std::max<uint64_t>(limits.ratio, 1)
                ? limits.maxBytes
                : std::min(limits.maxBytes, std::max(limits.minBytes, limits.ratio * size));

        int code = 0;
        const std::unique_ptr<zip_t, ZipCloser> z(
            zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
        if (!z) {
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            const std::string why = zip_error_strerror(&error);
            zip_error_fini(&error);
            Refuse(why);
        }
        const zip_int64_t count = zip_get_num_entries(z.get(), 0);
        if (count < 0 || static_cast<uint64_t>(count) > limits.maxEntries)
            Refuse("too many entries");

        // Every name is checked before anything is written.
        std::vector<std::string> paths(static_cast<size_t>(count));
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* name = zip_get_name(z.get(), static_cast<zip_uint64_t>(i), 0);
            if (!name) Refuse(zip_strerror(z.get()));
            const std::optional<std::string> path = SafeRelativePath(name);
            if (!path) Refuse(std::string("entry name leads outside the folder: ") + name);
            paths[static_cast<size_t>(i)] = *path;
            if (IsLink(z.get(), static_cast<zip_uint64_t>(i)))
                Refuse(std::string("entry is a link: ") + name);
        }

        uint64_t written = 0;
        std::string found;
        std::vector<char> buffer(64 * 1024);
        for (zip_int64_t i = 0; i < count; ++i) {
            const std::string& relative = paths[static_cast<size_t>(i)];
            if (relative.empty()) continue;  // "./": the folder itself
            if (!only.empty()) {
                if (!found.empty() || !CUtf8::EqualsNoCase(relative, only)) continue;
                found = folder + "/" + relative;
            }
            const auto index = static_cast<zip_uint64_t>(i);
            const std::string name = zip_get_name(z.get(), index, 0);
            const std::string target = folder + "/" + relative;
            MakeFolders(folder, relative);
            if (name.back() == '/' || name.back() == '\\') {
                if (::mkdir(target.c_str(), 0700) != 0 && errno != EEXIST)
                    ThrowErrno(errno, target);
                continue;
            }
            zip_stat_t info;
            if (zip_stat_index(z.get(), index, 0, &info) != 0) Refuse(zip_strerror(z.get()));
            if ((info.valid & ZIP_STAT_SIZE) && info.size > budget - written)
                Refuse("the data would exceed the size limit: " + name);
            const std::unique_ptr<zip_file_t, EntryCloser> entry(
                zip_fopen_index(z.get(), index, 0));
            if (!entry) Refuse(name + ": " + zip_strerror(z.get()));
            PendingFile out(target);
            for (;;) {
                const zip_int64_t n = zip_fread(entry.get(), buffer.data(), buffer.size());
                if (n < 0) Refuse(name + ": " + zip_file_strerror(entry.get()));
                if (n == 0) break;
                // The sizes in the archive may lie: the bytes are counted.
                written += static_cast<uint64_t>(n);
                if (written > budget) Refuse("the data would exceed the size limit: " + name);
                out.Write(buffer.data(), static_cast<size_t>(n));
            }
            out.Commit();
        }
        return found;
    }
}

}  // namespace vellcfgrdr
