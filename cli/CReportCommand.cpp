#include "CReportCommand.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "CMessagePrinter.h"
#include "ToolExit.h"
#include "support/CFileWriter.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace vellcfgrdr {

int CReportCommand::Main(int argc, char** argv) {
    std::string file, output, lang, messageForm = "text";
    bool quiet = false;
    CLI::App app{"Converts a PLC project and writes its rack report as one HTML page.",
                 "vellcfgrdr report"};
    app.add_option("FILE", file, "Project file")->required();
    app.add_option("-o,--output", output, "Write the page to this file (default: standard output)");
    app.add_option("--messages", messageForm, "Form of the messages on standard error")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    app.add_option("--lang", lang, "Language of the messages")->check(CLI::IsMember({"en", "fr"}));
    app.add_flag("-q,--quiet", quiet, "Show errors only");
    app.footer(
        "Exit status: 0 converted (possibly with warnings), 1 the reader ended with another\n"
        "status (the report is written all the same), 2 an error was raised, 64 usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? ToolExit::kOk : ToolExit::kUsage;
    }
    const CMessagePrinter printer(messageForm == "json", quiet);
    try {
        if (!lang.empty())
            CPlcCfgReader::SetLanguage(lang == "fr" ? eguiLangFrench : eguiLangEnglish);
        CPlcCfgReader reader;
        std::vector<CMessageRecord> messages;
        reader.EvtInfoMessage.Subscribe(
            [&](const std::string& text, eMessageLevel level, const std::string& source) {
                messages.push_back({text, level, source});
                printer.Message(level, reader.SourceName(source), text);
            });
        const int32_t status = reader.ReadIOmap(file);
        const std::string html = reader.HtmlReport(status, messages);
        if (output.empty() || output == "-") {
            if (std::fwrite(html.data(), 1, html.size(), stdout) != html.size() ||
                std::fflush(stdout) != 0)
                throw CVellError(57, "Device I/O error - standard output", ToolExit::kSource);
        } else {
            CFileWriter::WriteFile(output, html, CFileWriter::Options{0666, true, true});
        }
        if (status == eReadOk || status == eReadWarnings) return ToolExit::kOk;
        const std::string text = reader.ErrorDescription(status);
        printer.Failure(status, "status " + std::to_string(status) + ": " + text, ToolExit::kSource,
                        text);
        return ToolExit::kStatus;
    } catch (const CVellError& e) {
        printer.Failure(
            e.Number(),
            std::to_string(e.Number()) + ": " + e.Description() + " (" + e.Source() + ")",
            e.Source(), e.Description());
        return ToolExit::kRaised;
    } catch (const std::exception& e) {
        const bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        const std::string text = memory ? "Out of memory" : e.what();
        printer.Failure(memory ? 7 : 51, text, ToolExit::kSource, text);
        return ToolExit::kRaised;
    }
}

}  // namespace vellcfgrdr
