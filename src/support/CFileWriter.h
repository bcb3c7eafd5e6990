#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace vellcfgrdr {

// The one way the component and its tool write files: the support files, the
// work folder's entries, CStdio's text files and the tool's output.
//
// A file is written under a unique hidden name in its folder (".<name>.XXXXXX")
// and renamed into place by Commit, so that a reader sees the old file or the
// whole new one, never a part, and a failure leaves the old file untouched.
// The temporary is removed on every way out that does not commit. Failures
// raise numbered errors with the source "CFileWriter.<operation>".
class CFileWriter {
  public:
    struct Options {
        // Permission bits of a new file, before the umask. An existing file
        // keeps its own bits, except set-user-ID, set-group-ID and sticky.
        mode_t mode = 0666;
        // When clear, an existing file's permissions are not kept either.
        bool keepMode = true;
        // Flushed to the disk before the rename, so that a crash soon after
        // cannot leave an empty file in place of the old one.
        bool sync = false;
    };

    // Starts the temporary file for path; path itself is not touched yet.
    explicit CFileWriter(std::string path);
    CFileWriter(std::string path, Options options);
    // Removes the temporary unless Commit succeeded; never throws.
    ~CFileWriter();
    CFileWriter(const CFileWriter&) = delete;
    CFileWriter& operator=(const CFileWriter&) = delete;

    void Write(std::string_view bytes);
    // Closes the temporary and renames it over the target.
    void Commit();

    const std::string& Path() const noexcept { return path_; }
    const std::string& TempPath() const noexcept { return temp_; }

    // Writes the whole file. An existing target that is not a regular file
    // (a device such as /dev/null, a FIFO, a terminal) is written directly, as
    // every Unix tool does; a symbolic link has its final target replaced,
    // not the link; anything else is replaced as above.
    static void WriteFile(const std::string& path, std::string_view bytes);
    static void WriteFile(const std::string& path, std::string_view bytes, Options options);

  private:
    void Discard() noexcept;

    std::string path_;
    std::string temp_;
    Options options_;
    mode_t restoreMode_ = 0;  // the bits of the file being replaced
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace vellcfgrdr
