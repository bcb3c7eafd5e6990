#include "CConvertCommand.h"

#include <signal.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CMessagePrinter.h"
#include "ToolExit.h"
#include "core/ErrNum.h"
#include "support/CFileWriter.h"
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

}  // namespace

CConvertCommand::CConvertCommand(CLI::App& app) {
    fileOption_ = app.add_option("FILE", file_, "Project file to convert");
    app.add_option("-o,--output", output_, "Write the XML to this file instead of standard output");
}

bool CConvertCommand::HaveInput() const {
    return fileOption_->count() > 0;
}

int CConvertCommand::Run(const CMessagePrinter& printer) const {
    CPlcCfgReader reader;
    reader.EvtInfoMessage.Subscribe(
        [&printer](const std::string& text, eMessageLevel level, const std::string& source) {
            printer.Message(level, source, text);
        });
    const int32_t status = reader.ReadIOmap(file_);
    if (status != eReadOk && status != eReadWarnings) {
        const std::string text = reader.ErrorDescription(status);
        printer.Failure(status, "status " + std::to_string(status) + ": " + text, ToolExit::kSource,
                        text);
        return ToolExit::kStatus;
    }
    const std::string xml = reader.Xml();
    if (output_.empty() || output_ == "-")
        WriteStdout(reader, xml);
    else
        WriteOutputFile(output_, xml);
    return ToolExit::kOk;
}

}  // namespace vellcfgrdr
