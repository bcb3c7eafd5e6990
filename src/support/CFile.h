#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// A line-oriented text file. On disk the text is Windows-1252 (lines read
// follow CUtf8::FromExternal: valid UTF-8 is kept), in memory UTF-8. Lines end in CR LF when
// written; when read, a line ends at LF and a CR before the LF is dropped. The file is closed when
// the object goes.
//
// Open failures raise 53 (missing), 70 (permission) or 75; using a closed
// file raises 52, reading past the end 62.
class CFile {
  public:
    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    CFile(CFile&& other) noexcept;
    CFile& operator=(CFile&& other) noexcept;

    // Opening closes a file that is still open.
    void OpenForRead(std::string_view path);
    void OpenForWrite(std::string_view path);  // creates or truncates
    void OpenForAppend(std::string_view path);

    std::string ReadLine();
    void WriteLine(std::string_view text);
    void WriteText(std::string_view text);
    // True when nothing is left to read (always for a file open for writing).
    bool AtEnd();
    // Raises when buffered text could not be written; harmless when closed.
    void CloseFile();
    bool IsOpen() const noexcept { return file_ != nullptr; }

  private:
    enum class Mode { closed, read, write };

    void Open(std::string_view path, const char* how, Mode mode, const char* procName);
    void Write(std::string_view bytes, const char* procName);
    void CloseQuietly() noexcept;

    std::FILE* file_ = nullptr;
    Mode mode_ = Mode::closed;
    std::string path_;
};

}  // namespace vellcfgrdr
