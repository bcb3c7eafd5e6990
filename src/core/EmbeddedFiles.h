#pragma once

#include <cstddef>
#include <span>

namespace vellcfgrdr {

// A support file compiled into the library (see cmake/EmbedFiles.cmake). The
// bytes are the file's UTF-8 text with CR LF line ends; a NUL follows them.
struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    size_t size;
};

// Every embedded file, in the order the build lists them.
std::span<const EmbeddedFile> EmbeddedFiles() noexcept;

}  // namespace vellcfgrdr
