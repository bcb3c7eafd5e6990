#include "component/CVellBases.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/modResStr.h"
#include "support/CFileSys.h"
#include "support/CFileWriter.h"
#include "support/CWorkFolder.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CVellBases");

// Whether the support file may be trusted to hold exactly these bytes. The
// files of an earlier start usually do, and leaving them alone spares the
// write and the flush that a rename over an existing file costs. Only a
// regular file of this user with no other name counts: it is opened without
// following a link and without blocking (a FIFO put in its place cannot
// hang the start-up), and anything else is replaced.
bool HasBytes(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                st.st_nlink == 1 && static_cast<uint64_t>(st.st_size) == bytes.size();
    std::string have(same ? bytes.size() : 0, '\0');
    for (size_t done = 0; same && done < have.size();) {
        const ssize_t n = ::read(fd, have.data() + done, have.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            same = false;
        else
            done += static_cast<size_t>(n);
    }
    ::close(fd);
    return same && have == bytes;
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
    return CWorkFolder::PrivateSubFolder(CWorkFolder::UserFolder(tempRoot),
                                         "support-" + SupportKey());
}

std::string CVellBases::SupportKey(std::span<const EmbeddedFile> files) {
    // FNV-1a over every name, size and byte: a key for telling versions
    // apart in a folder of our own, not a defence against forgery.
    uint64_t hash = 14695981039346656037u;
    auto mix = [&hash](const unsigned char* p, size_t n) {
        for (size_t i = 0; i < n; ++i)
            hash = (hash ^ p[i]) * 1099511628211u;
    };
    for (const EmbeddedFile& file : files) {
        const std::string_view name(file.name);
        mix(reinterpret_cast<const unsigned char*>(name.data()), name.size() + 1);
        const uint64_t size = file.size;
        for (int shift = 0; shift < 64; shift += 8) {
            const auto b = static_cast<unsigned char>(size >> shift);
            mix(&b, 1);
        }
        mix(file.data, file.size);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key(16, '0');
    for (size_t i = 0; i < key.size(); ++i)
        key[i] = kHex[(hash >> (60 - 4 * i)) & 0xF];
    return key;
}

const std::string& CVellBases::SupportKey() {
    static const std::string key = SupportKey(EmbeddedFiles());
    return key;
}

void CVellBases::ExtractSupportFiles(const std::string& folder) {
    try {
        for (const modResStr::ResFile& file : modResStr::ResFiles()) {
            // Written as a text file is: Windows-1252.
            const std::string bytes = CUtf8::ToCp1252(modResStr::LoadResFile(file.id));
            const std::string target = CFileSys::PathAppend(folder, file.fileName);
            if (HasBytes(target, bytes)) continue;
            // Whatever stands under the name (a link, a FIFO, a foreign
            // file) is replaced by the rename, never written through.
            CFileWriter writer(target, CFileWriter::Options{0600, false, false});
            writer.Write(bytes);
            writer.Commit();
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ExtractSupportFiles");
    }
}

}  // namespace vellcfgrdr
