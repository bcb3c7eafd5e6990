#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellcfgrdr {

struct CConversionSummary;

// Writes every line of the tool to standard error, as "level: source: text"
// or as one JSON object a line. Every subcommand prints through it, so that
// standard error stays one form whatever runs.
class CMessagePrinter {
  public:
    CMessagePrinter(bool json, bool quiet) : json_(json), quiet_(quiet) {}

    bool Json() const noexcept { return json_; }
    bool Quiet() const noexcept { return quiet_; }

    // A message of the reader or of the tool; -q keeps errors only.
    void Message(int32_t level, std::string_view source, std::string_view text) const;

    // The end of a failed run, always shown: "error: <plain>" as text; as
    // JSON the source and text apart, with the number and the error's chain
    // of places.
    void Failure(int32_t number, std::string_view plain, std::string_view source,
                 std::string_view text, std::string_view trace = {}) const;
    // A wrong command line, always shown; as text the usage text follows.
    void Usage(std::string_view text, std::string_view usage) const;
    // The closing line of a run (not with -q): "summary: <text>", or an
    // object with the status and every count.
    void Summary(int32_t status, std::string_view text, const CConversionSummary& counts) const;
    // A debug-mode trace of the library, as JSON (text traces go their own way).
    void Trace(std::string_view text, std::string_view source) const;

    // Text for a terminal or a JSON string's inside. Messages carry names and
    // paths from the input, which may hold any bytes: control characters (C0,
    // DEL and C1, which could move the cursor or retitle the terminal) become
    // \uXXXX, and a byte that is not part of valid UTF-8 becomes U+FFFD. JSON
    // also escapes the quote and the backslash.
    static std::string Escaped(std::string_view s, bool json);
    // A quoted JSON string.
    static std::string JsonString(std::string_view s);

    // One write per line keeps lines whole when standard error is shared.
    static void Write(const std::string& line);

  private:
    // An unfinished JSON object with level, source and text.
    static std::string JsonObject(std::string_view level, std::string_view source,
                                  std::string_view text);

    bool json_;
    bool quiet_;
};

}  // namespace vellcfgrdr
