#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "support/CFileWriter.h"

namespace vellcfgrdr {

// A private folder for the files that one call unpacks (the entries of an
// archive, the database of a container). It is made new for the call with a
// unique name and owner-only permissions inside the per-user folder of the
// parts knowledge, and removed with everything in it when the object goes:
// after success, after an error and during an exception alike.
//
//     CWorkFolder work("ReadXEF");
//     const std::string file = work.WriteEntry(entryName, bytes);
//     auto big = work.CreateEntry(otherName);   // in pieces:
//     big->Write(piece); ...; big->Commit();    // renamed into place here
//
// Entries are single names: a name that could lead out of the folder is
// refused (error 52) before anything is written. Every entry is written
// under a temporary name and renamed when complete, so a failed or corrupt
// entry never shows under its own name.
class CWorkFolder {
  public:
    // A new folder "<prefix>-XXXXXX" in UserFolder(CFileSys::GetTempPath()).
    explicit CWorkFolder(std::string_view prefix);
    // The same inside another parent folder, which must exist.
    CWorkFolder(std::string_view prefix, const std::string& parent);
    // Removes the folder and its content; never throws.
    ~CWorkFolder();
    CWorkFolder(const CWorkFolder&) = delete;
    CWorkFolder& operator=(const CWorkFolder&) = delete;

    const std::string& Path() const noexcept { return path_; }

    // A plain file name: not empty, at most 255 bytes, no "/", "\", "..",
    // NUL, and no drive ("C:"). Such a name stays inside the folder.
    static bool IsSafeEntryName(std::string_view name) noexcept;
    // The path of the entry; raises 52 naming the entry when it is not safe.
    std::string EntryPath(std::string_view name) const;
    // Writes the whole entry and returns its path.
    std::string WriteEntry(std::string_view name, std::string_view bytes);
    // A writer for an entry that arrives in pieces; the entry appears under
    // its name only at the writer's Commit.
    std::unique_ptr<CFileWriter> CreateEntry(std::string_view name);

    // This user's private folder "vellcfgrdr-<uid>" under tempRoot, made with
    // mode 0700 when missing. An existing one is used only when it is a real
    // folder (no link) of this user; group and other access is taken away.
    // Anything else raises 70; a missing tempRoot raises 76.
    static std::string UserFolder(const std::string& tempRoot);
    // The folder `name` (a safe entry name) in parent, held to the same
    // rules as the user folder; a missing parent raises 76.
    static std::string PrivateSubFolder(const std::string& parent, const std::string& name);

  private:
    std::string path_;
};

}  // namespace vellcfgrdr
