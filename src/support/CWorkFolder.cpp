#include "support/CWorkFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "support/CFd.h"
#include "support/CFileSys.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CWorkFolder");

constexpr size_t kMaxNameBytes = 255;

[[noreturn]] void Refuse(const std::string& folder, const char* why) {
    ModGSCore::RaiseError(folder + " " + why + "; refusing to use it as the support folder",
                          ErrNum::kPermission);
}

std::string Make(std::string_view prefix, const std::string& parent) {
    if (!CWorkFolder::IsSafeEntryName(prefix))
        ModGSCore::RaiseError(CStdLib::Sprintf(modResStr::ResString(msgBadEntryName), {prefix}),
                              ErrNum::kBadFileName);
    std::string path = CFileSys::PathAppend(parent, std::string(prefix) + "-XXXXXX");
    // mkdtemp makes the folder with mode 0700 whatever the umask.
    if (::mkdtemp(path.data()) == nullptr)
        ModGSCore::RaiseOsError(errno, path, ErrNum::Subject::folder);
    return path;
}

}  // namespace

CWorkFolder::CWorkFolder(std::string_view prefix) {
    try {
        path_ = Make(prefix, UserFolder(CFileSys::GetTempPath()));
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Class_Initialize");
    }
}

CWorkFolder::CWorkFolder(std::string_view prefix, const std::string& parent) {
    try {
        path_ = Make(prefix, parent);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Class_Initialize");
    }
}

CWorkFolder::~CWorkFolder() {
    // remove_all removes links, never what they point to.
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    if (ec) ModGSCore::DebugTrace("cannot remove " + path_ + ": " + ec.message(), "CWorkFolder");
}

bool CWorkFolder::IsSafeEntryName(std::string_view name) noexcept {
    if (name.empty() || name.size() > kMaxNameBytes || name == ".") return false;
    if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) return false;
    if (name.find("..") != std::string_view::npos) return false;
    const bool letter = (name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z');
    return !(name.size() >= 2 && letter && name[1] == ':');
}

std::string CWorkFolder::EntryPath(std::string_view name) const {
    try {
        if (!IsSafeEntryName(name))
            ModGSCore::RaiseError(CStdLib::Sprintf(modResStr::ResString(msgBadEntryName), {name}),
                                  ErrNum::kBadFileName);
        return path_ + "/" + std::string(name);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "EntryPath");
    }
}

std::string CWorkFolder::WriteEntry(std::string_view name, std::string_view bytes) {
    try {
        const std::string path = EntryPath(name);
        CFileWriter writer(path, CFileWriter::Options{0600, false, false});
        writer.Write(bytes);
        writer.Commit();
        return path;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "WriteEntry");
    }
}

std::unique_ptr<CFileWriter> CWorkFolder::CreateEntry(std::string_view name) {
    try {
        return std::make_unique<CFileWriter>(EntryPath(name),
                                             CFileWriter::Options{0600, false, false});
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "CreateEntry");
    }
}

namespace {

// The folder `name` in parent, made with mode 0700 when missing. An existing
// one is used only when it is a real folder (no link) of this user; group
// and other access is taken away. A missing parent raises 76 with
// missingParent as its description.
std::string OwnFolder(const std::string& parent, const std::string& name,
                      const std::string& missingParent) {
    const std::string folder = CFileSys::PathAppend(parent, name);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            ModGSCore::RaiseOsError(err, missingParent, ErrNum::Subject::folder);
        ModGSCore::RaiseOsError(err, folder, ErrNum::Subject::folder);
    }
    // Checked and tightened through one descriptor, so that nothing can be
    // put in the folder's place between the check and the change.
    CFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dir.Get() < 0) {
        if (errno != ELOOP && errno != ENOTDIR)
            ModGSCore::RaiseOsError(errno, folder, ErrNum::Subject::folder);
        struct stat link;
        const bool isLink = ::lstat(folder.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        Refuse(folder, isLink ? "is a symbolic link" : "is not a folder");
    }
    struct stat st;
    if (::fstat(dir.Get(), &st) != 0) ModGSCore::RaiseOsError(errno, folder);
    if (st.st_uid != ::geteuid()) Refuse(folder, "belongs to another user");
    // Also repairs a folder that a narrow umask made unusable.
    if ((st.st_mode & 0777) != 0700 && ::fchmod(dir.Get(), 0700) != 0)
        ModGSCore::RaiseOsError(errno, folder);
    return folder;
}

}  // namespace

std::string CWorkFolder::UserFolder(const std::string& tempRoot) {
    try {
        return OwnFolder(tempRoot, "vellcfgrdr-" + std::to_string(::geteuid()),
                         CStdLib::Sprintf(modResStr::ResString(msgTempFolderMissing), {tempRoot}));
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "UserFolder");
    }
}

std::string CWorkFolder::PrivateSubFolder(const std::string& parent, const std::string& name) {
    try {
        if (!IsSafeEntryName(name))
            ModGSCore::RaiseError(CStdLib::Sprintf(modResStr::ResString(msgBadEntryName), {name}),
                                  ErrNum::kBadFileName);
        return OwnFolder(parent, name, parent);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "PrivateSubFolder");
    }
}

}  // namespace vellcfgrdr
