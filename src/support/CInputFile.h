#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellcfgrdr {

// An input file open for reading: the one gate through which the component
// reads files. Only an existing regular file (after following links) of at
// most kMaxSize bytes is let through. It is opened without blocking, so a
// FIFO or a device put in a project's place is refused at once instead of
// hanging the call or filling the memory.
//
// Anything else raises a numbered error whose description says what the
// path is and names it: 53 missing (the description is the path alone), 76 a
// part of the path is not a folder, 70 the file cannot be read or a folder on
// the way cannot be searched, 75 a folder, a special file, a loop of links or
// a file over the limit. The errors are raised, not passed on, so that the
// caller's place becomes their source.
class CInputFile {
  public:
    // 1 GiB: far above any real project or configuration file, and low
    // enough that reading one whole stays well within a machine's memory.
    static constexpr uint64_t kMaxSize = uint64_t{1} << 30;

    explicit CInputFile(const std::string& path);
    ~CInputFile();
    CInputFile(const CInputFile&) = delete;
    CInputFile& operator=(const CInputFile&) = delete;

    // Raises as opening would; nothing stays open.
    static void Check(const std::string& path);

    int Fd() const noexcept { return fd_; }
    // The size when opened.
    uint64_t Size() const noexcept { return size_; }
    // Hands the descriptor over (close-on-exec) to a caller who closes it.
    int Release() noexcept;

    // The whole content, in one allocation unless the file grows meanwhile;
    // growth past kMaxSize is refused as well.
    void ReadAll(std::string& out);
    void ReadAll(std::vector<uint8_t>& out);

  private:
    template <class Buf>
    void ReadInto(Buf& buf);

    std::string path_;
    int fd_ = -1;
    uint64_t size_ = 0;
};

}  // namespace vellcfgrdr
