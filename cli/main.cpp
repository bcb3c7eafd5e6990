// vellcfgrdr: converts a PLC project file to the exchange XML.
//
//     vellcfgrdr [options] FILE
//
// The top level is the conversion; subcommands add their own options and
// are dispatched below, all sharing the message options and exit statuses.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "CBatchRunner.h"
#include "CConvertCommand.h"
#include "CMessagePrinter.h"
#include "CReportCommand.h"
#include "ToolExit.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;

namespace {

// Options every subcommand shares.
struct CommonOptions {
    std::string messages = "text";
    std::string lang;
    bool quiet = false;
    bool debug = false;
};

void AddCommonOptions(CLI::App& app, CommonOptions& opt) {
    app.add_option("--messages", opt.messages, "Form of the messages on standard error")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    app.add_option("--lang", opt.lang, "Language of the messages")
        ->check(CLI::IsMember({"en", "fr"}));
    app.add_flag("-q,--quiet", opt.quiet, "Show errors only");
    app.add_flag("--debug", opt.debug, "Turn debug mode on (debug messages and traces)");
}

constexpr const char* kFooter =
    "Messages go to standard error as \"level: source: text\", or one JSON object a line;\n"
    "a run ends with one summary line: its status and what the XML holds.\n"
    "\n"
    "Exit status:\n"
    "   0  converted (possibly with warnings)\n"
    "   1  the reader ended with another status; no XML written\n"
    "   2  an error was raised: missing or unreadable file, unknown format, output not\n"
    "      writable\n"
    "   3  converted with warnings, and --strict was given\n"
    "  64  usage error (also when no FILE is given)\n"
    "\n"
    "Commands: \"vellcfgrdr batch DIR|FILE... -o OUTDIR\" converts many projects at once,\n"
    "\"vellcfgrdr report FILE -o report.html\" writes a rack report (each with --help).";

// Whether the command line asks for JSON messages, looked at before parsing
// so that a wrong command line is reported in the form asked for.
bool WantsJson(int argc, char** argv) {
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "--messages" && i + 1 < argc)
            json = std::string_view(argv[++i]) == "json";
        else if (arg.starts_with("--messages="))
            json = arg.substr(11) == "json";
    }
    return json;
}

// Runs a command; a raised error ends it with its number on standard error.
template <class Command>
int Guarded(const CMessagePrinter& printer, Command command) {
    try {
        return command();
    } catch (const CVellError& e) {
        printer.Failure(
            e.Number(),
            std::to_string(e.Number()) + ": " + e.Description() + " (" + e.Source() + ")",
            e.Source(), e.Description());
        return ToolExit::kRaised;
    } catch (const std::exception& e) {
        // Only the tool's own code throws anything else; memory is the likely cause.
        const bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        const std::string text = memory ? "Out of memory" : e.what();
        const int32_t number = memory ? 7 : 51;
        printer.Failure(number,
                        std::to_string(number) + ": " + text + " (" + ToolExit::kSource + ")",
                        ToolExit::kSource, text);
        return ToolExit::kRaised;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // These commands parse their own options.
    if (argc > 1 && std::string_view(argv[1]) == "batch")
        return CBatchRunner::Main(argc - 1, argv + 1);
    if (argc > 1 && std::string_view(argv[1]) == "report")
        return CReportCommand::Main(argc - 1, argv + 1);
    CLI::App app{
        "Reads the project or configuration file of a PLC and writes its I/O hardware "
        "as exchange XML.",
        "vellcfgrdr"};
    app.set_version_flag("--version", std::string("vellcfgrdr ") + VELL_VERSION +
                                          "\nLicence: none granted yet; all rights reserved by the "
                                          "authors.\nBuilt with " VELL_BUILT_WITH ".");
    CommonOptions common;
    AddCommonOptions(app, common);
    CConvertCommand convert(app);
    // Subcommands are added here and dispatched after parsing.
    app.footer(kFooter);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end here too, on standard output.
        if (e.get_exit_code() == 0 || !WantsJson(argc, argv))
            return app.exit(e) == 0 ? ToolExit::kOk : ToolExit::kUsage;
        CMessagePrinter(true, false).Usage(e.what(), {});
        return ToolExit::kUsage;
    }

    // Debug mode is read from the environment on the library's first use.
    if (common.debug) ::setenv("Debugmode", "1", 1);

    const CMessagePrinter printer(common.messages == "json", common.quiet);
    if (printer.Json())
        CPlcCfgReader::SetTraceHandler(
            [&printer](const std::string& text, const std::string& source) {
                printer.Trace(text, source);
            });
    return Guarded(printer, [&] {
        if (!common.lang.empty())
            CPlcCfgReader::SetLanguage(common.lang == "fr" ? eguiLangFrench : eguiLangEnglish);
        if (const std::string problem = convert.CommandLineProblem(); !problem.empty()) {
            printer.Usage(problem, app.help());
            return ToolExit::kUsage;
        }
        return convert.Run(printer);
    });
}
