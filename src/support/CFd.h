#pragma once

#include <unistd.h>

namespace vellcfgrdr {

// A file descriptor closed on every way out.
class CFd {
  public:
    explicit CFd(int fd) noexcept : fd_(fd) {}
    ~CFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;

    int Get() const noexcept { return fd_; }
    // Closes now; false when the close reports a lost write.
    bool Close() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

}  // namespace vellcfgrdr
