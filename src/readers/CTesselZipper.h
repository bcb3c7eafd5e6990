#pragma once

#include <cstdint>
#include <string>

namespace vellcfgrdr {

// Expands a Tessel project container: entries of
//   name length (int32 LE, 1..255), name, packed length C (int32 LE), C bytes
// of PKWARE DCL data, back to back up to the end of the file.
class CTesselZipper {
  public:
    // The container format has no length or checksum of its own: an entry
    // that would expand beyond this is taken as corrupt.
    static constexpr int64_t kMaxEntryBytes = int64_t{256} << 20;
    // Every entry is expanded: the entries together are capped as well, or
    // a container of many entries just under the cap would fill the disk.
    static constexpr int64_t kMaxTotalBytes = int64_t{512} << 20;
    // The code of a failure of the container itself.
    static constexpr int32_t kContainerError = 75;

    // Expands every entry into the folder; returns the full path of the
    // last entry written, or "" when the container cannot be expanded (see
    // LastCode). Entry names must be plain file names: a name with a path
    // separator, "." or "..", a character 0 or nothing at all fails.
    std::string Unpack(const std::string& containerPath, const std::string& destFolder);
    // 0 after a successful Unpack; kContainerError for a container fault
    // (unreadable file, bad or cut lengths, bad names, an output that
    // cannot be written or is too large); otherwise the expander's code.
    int32_t LastCode() const noexcept { return lastCode_; }
    // A lower cap, for tests.
    void SetMaxEntryBytes(int64_t bytes) noexcept { maxEntryBytes_ = bytes; }
    void SetMaxTotalBytes(int64_t bytes) noexcept { maxTotalBytes_ = bytes; }

  private:
    int32_t lastCode_ = 0;
    int64_t maxEntryBytes_ = kMaxEntryBytes;
    int64_t maxTotalBytes_ = kMaxTotalBytes;
};

}  // namespace vellcfgrdr
