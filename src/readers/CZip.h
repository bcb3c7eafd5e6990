#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// Extracts a whole zip archive into a folder, overwriting files of the same
// name. Built for archives from outside: an archive whose entry names would
// land outside the folder (absolute, "..", drive letters) or that holds
// links is refused before anything is written; the bytes written are capped
// against decompression bombs; every file is written under a temporary name
// and renamed only once its data is complete and its checksum right.
class CZip {
  public:
    struct Limits {
        // Extracted bytes allowed per byte of archive, and the floor and
        // ceiling of that budget.
        uint64_t ratio = 200;
        uint64_t minBytes = uint64_t{1} << 20;
        uint64_t maxBytes = uint64_t{512} << 20;
        uint64_t maxEntries = 10000;
    };

    // Raises 53 "invalid file/folder name" for an empty argument, 321 for an
    // archive that is unreadable, refused, corrupt or over the limits, and
    // the file-system error for a folder that cannot be written.
    static void UnZip(const std::string& archive, const std::string& folder);
    static void UnZip(const std::string& archive, const std::string& folder, const Limits& limits);
    // Extracts only the first entry whose path is entryName (letter case
    // ignored) and returns its path; "" when the archive has none. Every name
    // is checked as UnZip checks it.
    static std::string ExtractEntry(const std::string& archive, std::string_view entryName,
                                    const std::string& folder);
    static std::string ExtractEntry(const std::string& archive, std::string_view entryName,
                                    const std::string& folder, const Limits& limits);
    // The entry name as a path below the folder ("a/b"; "" for the folder
    // itself); nothing when it would leave the folder. Backslashes count as
    // separators.
    static std::optional<std::string> SafeRelativePath(std::string_view entryName);

  private:
    // Every entry, or only the one named; returns the path of that one.
    static std::string Extract(const std::string& archive, const std::string& folder,
                               const Limits& limits, std::string_view only);
};

}  // namespace vellcfgrdr
