#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/EmbeddedFiles.h"
#include "parts/CVellPartDb.h"

namespace vellcfgrdr {

// The settings of the process: language, part-database folder and the parts
// knowledge loaded from it.
class CVellBases {
  public:
    // The one instance, made on first use (thread-safe). Making it writes the
    // support files and loads the parts knowledge; when that fails the error
    // passes to this caller and the next call tries again.
    static CVellBases& Instance();

    CVellBases(const CVellBases&) = delete;
    CVellBases& operator=(const CVellBases&) = delete;

    int32_t GuiLanguage() const;
    void SetGuiLanguage(int32_t language);

    const std::string& VellDbPath() const noexcept { return vellDbPath_; }
    // An empty path selects this user's private support folder under the
    // temporary folder, after writing the support files into it. The parts
    // knowledge is then loaded from the folder.
    void SetVellDbPath(const std::string& path);

    CVellPartDb& PartDb() noexcept { return partDb_; }

    // The support folder under tempRoot: "support-<key>" (SupportKey) in
    // this user's private folder (CWorkFolder::UserFolder). Libraries whose
    // support files differ use different folders, so two versions running
    // at once, or one after the other, never read each other's files.
    static std::string PrepareSupportFolder(const std::string& tempRoot);
    // Sixteen hexadecimal digits that change whenever the files do.
    static std::string SupportKey(std::span<const EmbeddedFile> files);
    // The key of the files compiled into this library.
    static const std::string& SupportKey();
    // Writes every support file into the folder as Windows-1252 text, each
    // first to a unique name and then renamed into place, so that a reader
    // never sees half a file. A file that holds the text already is kept
    // when it is a regular file of this user with no other name.
    static void ExtractSupportFiles(const std::string& folder);

  private:
    CVellBases();

    std::string vellDbPath_;
    CVellPartDb partDb_;
};

}  // namespace vellcfgrdr
