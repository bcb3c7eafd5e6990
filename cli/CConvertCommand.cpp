#include "CConvertCommand.h"

#include <signal.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>

#include "CMessagePrinter.h"
#include "ToolExit.h"
#include "core/ErrNum.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "readers/ReaderRegistry.h"
#include "support/CFileWriter.h"
#include "support/CStdLib.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace vellcfgrdr {

namespace {

// An error of the tool's own output, raised like the library's file errors.
[[noreturn]] void RaiseWriteError(const CPlcCfgReader& reader, int code, const std::string& what) {
    const int32_t number = ErrNum::FromErrno(code);
    throw CVellError(number,
                     reader.ErrorDescription(number) + " - " + what + ": " + std::strerror(code),
                     ToolExit::kSource);
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

// While standard input is copied into a temporary file, an interrupting
// signal is noted instead of ending the process at once: the blocked read
// returns, the library removes the file, and then the signal ends the tool.
class InterruptCatch {
  public:
    InterruptCatch() {
        struct sigaction sa {};
        sa.sa_handler = [](int sig) { caught_ = sig; };
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0;  // no restart: the read is to be interrupted
        for (size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &sa, &old_[i]);
    }
    ~InterruptCatch() {
        for (size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &old_[i], nullptr);
        if (caught_ != 0) {
            signal(caught_, SIG_DFL);
            raise(caught_);
        }
    }
    InterruptCatch(const InterruptCatch&) = delete;
    InterruptCatch& operator=(const InterruptCatch&) = delete;

  private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    static inline volatile sig_atomic_t caught_ = 0;
    struct sigaction old_[std::size(kSignals)];
};

std::string Padded(std::string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

}  // namespace

CConvertCommand::CConvertCommand(CLI::App& app) {
    fileOption_ = app.add_option("FILE", file_, "Project file to convert; - reads standard input");
    app.add_option("-o,--output", output_, "Write the XML to this file instead of standard output");
    app.add_option("--format", format_,
                   "Read FILE as this format whatever its extension (a name or an extension "
                   "that --formats lists); needed with -");
    app.add_flag("--formats", listFormats_, "List the formats read, their extensions and vendors");
    app.add_flag("--strict", strict_, "Exit 3 when the file was read with warnings");
}

std::string CConvertCommand::CommandLineProblem() const {
    if (listFormats_) return {};
    // A script whose file variable came out empty must not get a plausible
    // XML of some other plant.
    if (fileOption_->count() == 0) return "a FILE to convert is needed (- reads standard input)";
    if (file_ == "-" && format_.empty())
        return "standard input has no extension: --format is needed to name its format";
    return {};
}

int CConvertCommand::ListFormats(const CMessagePrinter& printer) const {
    std::string out;
    for (const CFormatInfo& f : CPlcCfgReader::Formats()) {
        std::string extensions;
        if (printer.Json()) {
            for (const std::string& e : f.extensions)
                extensions += (extensions.empty() ? "" : ",") + CMessagePrinter::JsonString(e);
            out += "{\"format\":" + CMessagePrinter::JsonString(f.key) + ",\"extensions\":[" +
                   extensions + "],\"vendor\":" + CMessagePrinter::JsonString(f.vendor) +
                   ",\"name\":" + CMessagePrinter::JsonString(f.name) + "}\n";
        } else {
            for (const std::string& e : f.extensions)
                extensions += (extensions.empty() ? "." : " .") + e;
            out +=
                Padded(f.key, 18) + Padded(extensions, 12) + Padded(f.vendor, 10) + f.name + "\n";
        }
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        throw CVellError(ErrNum::FromErrno(errno),
                         std::string("standard output: ") + std::strerror(errno),
                         ToolExit::kSource);
    return ToolExit::kOk;
}

int CConvertCommand::Run(const CMessagePrinter& printer) const {
    if (listFormats_) return ListFormats(printer);

    CPlcCfgReader reader;
    bool warned = false;
    reader.EvtInfoMessage.Subscribe(
        [&](const std::string& text, eMessageLevel level, const std::string& source) {
            if (level == eMsgWarning) warned = true;
            printer.Message(level, reader.SourceName(source), text);
        });
    CConversionSummary counts;
    int32_t status = eReadOk;
    try {
        if (file_ == "-") {
            const InterruptCatch interrupt;
            status = reader.ReadIOmap(std::cin, format_, "standard input");
        } else {
            status = format_.empty() ? reader.ReadIOmap(file_) : reader.ReadIOmap(file_, format_);
        }
        if (status != eReadOk && status != eReadWarnings) {
            const std::string text = reader.ErrorDescription(status);
            printer.Failure(status, "status " + std::to_string(status) + ": " + text,
                            reader.SourceName({}), text);
            printer.Summary(status, reader.SummaryText(status, counts), counts);
            return ToolExit::kStatus;
        }
        const std::string xml = reader.Xml();
        counts = reader.Summary();
        if (output_.empty() || output_ == "-")
            WriteStdout(reader, xml);
        else
            WriteOutputFile(output_, xml);
    } catch (const CVellError& e) {
        const std::string source =
            e.Source() == ToolExit::kSource ? e.Source() : reader.SourceName({});
        std::string plain =
            std::to_string(e.Number()) + ": " + e.Description() + " (" + e.Source() + ")";
        // A file the extension did not place: say which extensions would.
        if (e.Number() == ErrNum::kUnknownFormat && format_.empty() && file_ != "-")
            plain += "; " + CStdLib::Sprintf(modResStr::ResString(msgExtensionsRead),
                                             {ReaderRegistry::ExtensionList()});
        printer.Failure(e.Number(), plain, source, e.Description(), e.Source());
        printer.Summary(e.Number(), reader.SummaryText(e.Number(), {}), {});
        return ToolExit::kRaised;
    }
    printer.Summary(status, reader.SummaryText(status, counts), counts);
    return strict_ && (status == eReadWarnings || warned) ? ToolExit::kWarnings : ToolExit::kOk;
}

}  // namespace vellcfgrdr
