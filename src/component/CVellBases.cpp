#include "component/CVellBases.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <system_error>
#include <utility>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/modResStr.h"
#include "support/CFileSys.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CVellBases");

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

[[noreturn]] void Refuse(const std::string& folder, const char* why) {
    ModGSCore::RaiseError(folder + " " + why + "; refusing to use it as the support folder",
                          ErrNum::kPermission);
}

// Closes the descriptor on every way out.
class Fd {
  public:
    explicit Fd(int fd) noexcept : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const noexcept { return fd_; }
    int Release() noexcept { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

void WriteAll(int fd, const std::string& bytes, const std::string& path) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(path);
        }
        done += static_cast<size_t>(n);
    }
}

// Whether the file holds exactly these bytes. The files of an earlier start
// usually do, and leaving them alone spares the write and the flush that a
// rename over an existing file costs.
bool HasBytes(const std::string& path, const std::string& bytes) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) != bytes.size())
        return false;
    std::string have(bytes.size(), '\0');
    for (size_t done = 0; done < have.size();) {
        const ssize_t n = ::read(fd.Get(), have.data() + done, have.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return have == bytes;
}

// Writes to a unique name beside the target and renames it into place, so
// that a reader sees the old file or the new one, never a part.
void WriteReplacing(const std::string& target, const std::string& bytes) {
    std::string temp = target + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) ThrowErrno(temp);
    try {
        WriteAll(fd.Get(), bytes, temp);
        // close reports a delayed write failure.
        if (::close(fd.Release()) != 0) ThrowErrno(temp);
        if (std::rename(temp.c_str(), target.c_str()) != 0) ThrowErrno(target);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

}  // namespace

CVellBases& CVellBases::Instance() {
    // A constructor that throws leaves the static unmade: the next caller
    // runs it again.
    static CVellBases instance;
    return instance;
}

CVellBases::CVellBases() {
    ModGSCore::DebugTrace(std::string(program_invocation_short_name) + ".DllMain()");
    SetVellDbPath("");
}

int32_t CVellBases::GuiLanguage() const {
    return modResStr::GetGuiLanguage();
}

void CVellBases::SetGuiLanguage(int32_t language) {
    modResStr::SetGuiLanguage(language);
}

void CVellBases::SetVellDbPath(const std::string& path) {
    try {
        vellDbPath_ = path;
        if (vellDbPath_.empty()) {
            vellDbPath_ = PrepareSupportFolder(CFileSys::GetTempPath());
            ExtractSupportFiles(vellDbPath_);
        }
        partDb_.Init(vellDbPath_);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "VellDbPath");
    }
}

std::string CVellBases::PrepareSupportFolder(const std::string& tempRoot) {
    try {
        const std::string folder =
            CFileSys::PathAppend(tempRoot, "vellcfgrdr-" + std::to_string(::geteuid()));
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ThrowErrno(folder);
        // Checked and tightened through one descriptor, so that nothing can be
        // put in the folder's place between the check and the change.
        Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (dir.Get() < 0) {
            if (errno != ELOOP && errno != ENOTDIR) ThrowErrno(folder);
            struct stat link;
            const bool isLink = ::lstat(folder.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
            Refuse(folder, isLink ? "is a symbolic link" : "is not a folder");
        }
        struct stat st;
        if (::fstat(dir.Get(), &st) != 0) ThrowErrno(folder);
        if (st.st_uid != ::geteuid()) Refuse(folder, "belongs to another user");
        // Also repairs a folder that a narrow umask made unusable.
        if ((st.st_mode & 0777) != 0700 && ::fchmod(dir.Get(), 0700) != 0) ThrowErrno(folder);
        return folder;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "PrepareSupportFolder");
    }
}

void CVellBases::ExtractSupportFiles(const std::string& folder) {
    try {
        for (const modResStr::ResFile& file : modResStr::ResFiles()) {
            // Written as a text file is: Windows-1252.
            const std::string bytes = CUtf8::ToCp1252(modResStr::LoadResFile(file.id));
            const std::string target = CFileSys::PathAppend(folder, file.fileName);
            if (!HasBytes(target, bytes)) WriteReplacing(target, bytes);
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ExtractSupportFiles");
    }
}

}  // namespace vellcfgrdr
