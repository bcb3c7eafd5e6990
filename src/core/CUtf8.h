#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellcfgrdr {

// UTF-8 text helpers. Text inside the component is UTF-8; wherever a count,
// width or position is in characters these helpers do the counting. Case
// folding covers ASCII and the letters of Windows-1252, which is what the
// legacy files and the catalogue hold.
class CUtf8 {
  public:
    static constexpr char32_t kReplacement = 0xFFFD;

    // Decodes the character at pos and advances pos; invalid bytes give U+FFFD
    // and advance by one.
    static char32_t Decode(std::string_view s, size_t& pos) noexcept;
    static void Append(std::string& out, char32_t cp);

    static size_t Length(std::string_view s) noexcept;
    // Byte offset of the character with 0-based index charIndex (s.size() when past the end).
    static size_t ByteOffset(std::string_view s, size_t charIndex) noexcept;
    // Character index of a byte offset.
    static size_t CharIndex(std::string_view s, size_t byteOffset) noexcept;
    static std::string_view Left(std::string_view s, size_t nChars) noexcept;
    static std::string_view Mid(std::string_view s, size_t startChar,
                                size_t nChars = npos) noexcept;
    static std::string_view Right(std::string_view s, size_t nChars) noexcept;

    // Decoders into UTF-8 and the encoder back to Windows-1252.
    static std::string FromCp1252(std::string_view bytes);
    static std::string FromUtf16Le(std::string_view bytes);
    static std::string FromUtf8(std::string_view bytes);  // invalid sequences become U+FFFD
    // The one rule for bytes from outside whose encoding nobody states
    // (paths, texts of files without a byte-order mark, names in binary
    // images): valid UTF-8 stays as it is; every byte that is not part of a
    // valid UTF-8 sequence is a Windows-1252 character, which is what such
    // names and files from the legacy tools hold. The result is valid UTF-8.
    static std::string FromExternal(std::string_view bytes);
    // Whether the bytes are valid UTF-8, or plain ASCII; fast on long texts.
    static bool IsValidUtf8(std::string_view bytes) noexcept;
    static bool IsAscii(std::string_view bytes) noexcept;
    static std::string ToCp1252(std::string_view text);  // unmappable characters become "?"
    // The Windows-1252 code of a character, or -1 when it has none.
    static int Cp1252Code(char32_t cp) noexcept;
    static char32_t Cp1252Char(unsigned char code) noexcept;

    static char32_t ToUpperChar(char32_t cp) noexcept;
    static char32_t ToLowerChar(char32_t cp) noexcept;
    static std::string ToUpper(std::string_view s);
    static std::string ToLower(std::string_view s);
    // Case-insensitive comparison: < 0, 0 or > 0.
    static int CompareNoCase(std::string_view a, std::string_view b) noexcept;
    static bool EqualsNoCase(std::string_view a, std::string_view b) noexcept;
    static bool StartsWithNoCase(std::string_view s, std::string_view prefix) noexcept;
    // Byte offset of needle in hay at or after byte offset from; npos when absent.
    static size_t FindNoCase(std::string_view hay, std::string_view needle,
                             size_t from = 0) noexcept;

    // Spaces only: a tab or another white-space character is kept as part
    // of the value (TrimBlanks takes tabs too).
    static std::string_view Trim(std::string_view s) noexcept;
    static std::string_view TrimLeft(std::string_view s) noexcept;
    static std::string_view TrimRight(std::string_view s) noexcept;
    // Spaces and tabs.
    static std::string_view TrimBlanks(std::string_view s) noexcept;

    static constexpr size_t npos = std::string_view::npos;
};

}  // namespace vellcfgrdr
