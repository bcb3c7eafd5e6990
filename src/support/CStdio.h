#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellcfgrdr {

// Whole-file reading and writing. Paths and texts are UTF-8. Files are read
// through CInputFile: only regular files of at most CInputFile::kMaxSize
// bytes.
class CStdio {
  public:
    // The file decoded by its byte-order mark: FF FE is UTF-16LE, FE FF
    // UTF-16BE, EF BB UTF-8; otherwise, and for bytes of a UTF-8 file that
    // are not UTF-8, CUtf8::FromExternal (valid UTF-8 kept, other bytes
    // Windows-1252). The mark is not part of the text.
    static std::string LoadTextFile(const std::string& path);
    // The file's bytes; returns the length.
    static int32_t ReadBinFile(const std::string& path, std::vector<uint8_t>& out);
    // Creates or replaces the file with the text in Windows-1252, no line
    // end added, through CFileWriter::WriteFile.
    static void SaveTextFile(const std::string& path, std::string_view text);
};

}  // namespace vellcfgrdr
