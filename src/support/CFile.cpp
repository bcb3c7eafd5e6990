#include "support/CFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CInputFile.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CFile");

}  // namespace

CFile::~CFile() {
    CloseQuietly();
}

CFile::CFile(CFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      mode_(std::exchange(other.mode_, Mode::closed)),
      path_(std::move(other.path_)) {}

CFile& CFile::operator=(CFile&& other) noexcept {
    if (this != &other) {
        CloseQuietly();
        file_ = std::exchange(other.file_, nullptr);
        mode_ = std::exchange(other.mode_, Mode::closed);
        path_ = std::move(other.path_);
    }
    return *this;
}

void CFile::Open(std::string_view path, const char* how, Mode mode, const char* procName) {
    try {
        CloseQuietly();
        std::string p(path);
        if (p.empty()) ModGSCore::RaiseError("empty file name", ErrNum::kBadFileName);
        std::FILE* f = nullptr;
        if (mode == Mode::read) {
            // Through the one gate for input: regular files only.
            CInputFile input(p);
            f = ::fdopen(input.Fd(), how);
            if (!f) ModGSCore::RaiseOsError(errno, p);
            input.Release();
        } else {
            f = std::fopen(p.c_str(), how);
            if (!f) ModGSCore::RaiseOsError(errno, p);
            // A folder is not a file to write, whatever fopen thinks.
            struct stat st;
            if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
                std::fclose(f);
                ModGSCore::RaiseOsError(EISDIR, p);
            }
        }
        file_ = f;
        mode_ = mode;
        path_ = std::move(p);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, procName);
    }
}

void CFile::OpenForRead(std::string_view path) {
    Open(path, "rb", Mode::read, "OpenForRead");
}

void CFile::OpenForWrite(std::string_view path) {
    Open(path, "wb", Mode::write, "OpenForWrite");
}

void CFile::OpenForAppend(std::string_view path) {
    Open(path, "ab", Mode::write, "OpenForAppend");
}

std::string CFile::ReadLine() {
    try {
        if (mode_ != Mode::read)
            ModGSCore::RaiseError("file not open for reading", ErrNum::kBadFileName);
        char* buf = nullptr;
        size_t cap = 0;
        errno = 0;
        const ssize_t n = ::getline(&buf, &cap, file_);
        std::string line = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
        std::free(buf);
        if (n < 0) {
            if (std::ferror(file_)) ModGSCore::RaiseOsError(errno != 0 ? errno : EIO, path_);
            ModGSCore::RaiseError(path_, ErrNum::kPastEnd);
        }
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            if (!line.empty() && line.back() == '\r') line.pop_back();
        }
        return CUtf8::FromExternal(line);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadLine");
    }
}

void CFile::Write(std::string_view bytes, const char* procName) {
    try {
        if (mode_ != Mode::write)
            ModGSCore::RaiseError("file not open for writing", ErrNum::kBadFileName);
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
            ModGSCore::RaiseOsError(errno, path_);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, procName);
    }
}

void CFile::WriteLine(std::string_view text) {
    Write(CUtf8::ToCp1252(text) + "\r\n", "WriteLine");
}

void CFile::WriteText(std::string_view text) {
    Write(CUtf8::ToCp1252(text), "WriteText");
}

bool CFile::AtEnd() {
    try {
        if (mode_ == Mode::closed) ModGSCore::RaiseError("file not open", ErrNum::kBadFileName);
        if (mode_ == Mode::write) return true;
        const int c = std::getc(file_);
        if (c == EOF) return true;
        std::ungetc(c, file_);
        return false;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "AtEnd");
    }
}

void CFile::CloseFile() {
    if (!file_) return;
    std::FILE* f = std::exchange(file_, nullptr);
    const bool writing = std::exchange(mode_, Mode::closed) == Mode::write;
    // Buffered text reaches the disk only now: a full disk shows here.
    int err = 0;
    if (writing && std::fflush(f) != 0) err = errno;
    if (std::fclose(f) != 0 && writing && err == 0) err = errno;
    if (err == 0) return;
    try {
        ModGSCore::RaiseOsError(err, path_);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "CloseFile");
    }
}

void CFile::CloseQuietly() noexcept {
    if (file_) std::fclose(std::exchange(file_, nullptr));
    mode_ = Mode::closed;
}

}  // namespace vellcfgrdr
