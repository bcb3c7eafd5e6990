// vellcfgrdr: converts a PLC project file to the exchange XML.
//
//     vellcfgrdr [-o FILE] [--messages text|json] [--lang en|fr] [-q] [--debug] [FILE]

#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "core/ErrNum.h"
#include "support/CFileWriter.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitStatus = 1;
constexpr int kExitRaised = 2;
constexpr int kExitUsage = 64;

constexpr const char* kToolSource = "vellcfgrdr";

struct Options {
    std::string file;
    bool haveFile = false;
    std::string output;
    std::string messages = "text";
    std::string lang;
    bool quiet = false;
    bool debug = false;
};

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (i + len > s.size() || byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (size_t k = 2; k < len; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return len;
}

// Text for a terminal or a JSON line. Messages carry names and paths from
// the input, which may hold any bytes: control characters (C0, DEL and C1,
// which could move the cursor or retitle the terminal) become \uXXXX, and a
// byte that is not part of valid UTF-8 becomes U+FFFD. JSON also escapes
// the quote and the backslash.
std::string Escaped(std::string_view s, bool json) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const size_t len = Utf8SequenceLength(s, i);
        // U+0080..U+009F are C2 80..C2 9F.
        const bool c1 = len == 2 && c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0;
        if (json && (c == '"' || c == '\\')) {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20 || c == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(s[i + 1]) : c;
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04X", code);
            out += esc;
            i += c1 ? 2 : 1;
        } else if (len > 0) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string JsonString(std::string_view s) {
    return "\"" + Escaped(s, true) + "\"";
}

// Writes every line of the tool to standard error, as text or as JSON.
class MessagePrinter {
  public:
    MessagePrinter(bool json, bool quiet) : json_(json), quiet_(quiet) {}

    // A message of the reader or of the tool; -q keeps errors only.
    void Message(int32_t level, std::string_view source, std::string_view text) const {
        if (quiet_ && level != eMsgError) return;
        Line(MessageLevelName(level), source, text);
    }

    // The end of a failed run, always shown: "error: <plain>" as text; as
    // JSON the source and text apart, with the number.
    void Failure(int32_t number, std::string_view plain, std::string_view source,
                 std::string_view text) const {
        if (json_)
            Write(Json("error", source, text) + ",\"number\":" + std::to_string(number) + "}\n");
        else
            Write("error: " + Escaped(plain, false) + "\n");
    }

  private:
    void Line(const char* level, std::string_view source, std::string_view text) const {
        if (json_) {
            Write(Json(level, source, text) + "}\n");
        } else {
            std::string line = std::string(level) + ": ";
            if (!source.empty()) line.append(Escaped(source, false)).append(": ");
            Write(line.append(Escaped(text, false)).append("\n"));
        }
    }

    // An unfinished JSON object with level, source and text.
    static std::string Json(const char* level, std::string_view source, std::string_view text) {
        return std::string("{\"level\":\"") + level + "\",\"source\":" + JsonString(source) +
               ",\"text\":" + JsonString(text);
    }

    // One write per line keeps lines whole when standard error is shared.
    static void Write(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stderr); }

    bool json_;
    bool quiet_;
};

// An error of the tool's own output, raised like the library's file errors.
[[noreturn]] void RaiseWriteError(const CPlcCfgReader& reader, int code, const std::string& what) {
    const int32_t number = ErrNum::FromErrno(code);
    throw CVellError(number,
                     reader.ErrorDescription(number) + " - " + what + ": " + std::strerror(code),
                     kToolSource);
}

void WriteStdout(const CPlcCfgReader& reader, const std::string& xml) {
    if (std::fwrite(xml.data(), 1, xml.size(), stdout) != xml.size() || std::fflush(stdout) != 0)
        RaiseWriteError(reader, errno, "standard output");
}

// Holds back interrupting signals while a temporary file exists, so that
// Ctrl-C cannot leave it behind; a signal that came meanwhile is delivered
// once the temporary is gone or renamed.
class SignalHold {
  public:
    SignalHold() {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&set, sig);
        sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalHold() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;

  private:
    sigset_t old_;
};

// A regular file is replaced whole or left alone (written beside it, flushed
// and renamed); a device, a FIFO or /dev/stdout is written directly.
void WriteOutputFile(const std::string& path, const std::string& xml) {
    SignalHold hold;
    CFileWriter::WriteFile(path, xml, CFileWriter::Options{0666, true, true});
}

int Run(const Options& opt, const MessagePrinter& printer) {
    if (!opt.lang.empty())
        CPlcCfgReader::SetLanguage(opt.lang == "fr" ? eguiLangFrench : eguiLangEnglish);

    std::string file = opt.file;
    if (!opt.haveFile) {
        file = VELL_DEFAULT_EXAMPLE;
        printer.Message(eMsgInfo, kToolSource, "no file given, converting the example " + file);
    }

    CPlcCfgReader reader;
    reader.EvtInfoMessage.Subscribe(
        [&printer](const std::string& text, eMessageLevel level, const std::string& source) {
            printer.Message(level, source, text);
        });
    const int32_t status = reader.ReadIOmap(file);
    if (status != eReadOk && status != eReadWarnings) {
        const std::string text = reader.ErrorDescription(status);
        printer.Failure(status, "status " + std::to_string(status) + ": " + text, kToolSource,
                        text);
        return kExitStatus;
    }
    const std::string xml = reader.Xml();
    if (opt.output.empty() || opt.output == "-")
        WriteStdout(reader, xml);
    else
        WriteOutputFile(opt.output, xml);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    CLI::App app{
        "Reads the project or configuration file of a PLC and writes its I/O hardware "
        "as exchange XML.",
        "vellcfgrdr"};
    app.set_version_flag("--version", std::string("vellcfgrdr ") + VELL_VERSION);
    CLI::Option* fileOption = app.add_option(
        "FILE", opt.file, "Project file to convert (default: the bundled example project)");
    app.add_option("-o,--output", opt.output,
                   "Write the XML to this file instead of standard output");
    app.add_option("--messages", opt.messages, "Form of the messages on standard error")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    app.add_option("--lang", opt.lang, "Language of the messages")
        ->check(CLI::IsMember({"en", "fr"}));
    app.add_flag("-q,--quiet", opt.quiet, "Show errors only");
    app.add_flag("--debug", opt.debug, "Turn debug mode on (debug messages and traces)");
    app.footer(
        "Messages go to standard error as \"level: source: text\", or one JSON object a line.\n"
        "Exit status: 0 converted (possibly with warnings), 1 the reader ended with another\n"
        "status, 2 an error was raised (missing file, unknown format, output not writable),\n"
        "64 usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitOk : kExitUsage;
    }
    opt.haveFile = fileOption->count() > 0;

    // Debug mode is read from the environment on the library's first use.
    if (opt.debug) ::setenv("Debugmode", "1", 1);

    const MessagePrinter printer(opt.messages == "json", opt.quiet);
    try {
        return Run(opt, printer);
    } catch (const CVellError& e) {
        printer.Failure(
            e.Number(),
            std::to_string(e.Number()) + ": " + e.Description() + " (" + e.Source() + ")",
            e.Source(), e.Description());
        return kExitRaised;
    } catch (const std::exception& e) {
        // Only the tool's own code throws anything else; memory is the likely cause.
        const bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        const std::string text = memory ? "Out of memory" : e.what();
        const int32_t number = memory ? 7 : 51;
        printer.Failure(number, std::to_string(number) + ": " + text + " (" + kToolSource + ")",
                        kToolSource, text);
        return kExitRaised;
    }
}
