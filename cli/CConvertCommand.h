#pragma once

#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vellcfgrdr {

class CMessagePrinter;

// The tool's main job: one project file, or standard input, to the exchange
// XML, closed by a summary line. Its options belong to the top level of the
// command line.
class CConvertCommand {
  public:
    // Adds FILE and the conversion's options to the application.
    explicit CConvertCommand(CLI::App& app);

    // What is wrong with the command line for this command; empty when
    // nothing is.
    std::string CommandLineProblem() const;
    // Converts (or lists the formats) and returns the exit status.
    int Run(const CMessagePrinter& printer) const;

  private:
    int ListFormats(const CMessagePrinter& printer) const;

    CLI::Option* fileOption_ = nullptr;
    std::string file_;
    std::string output_;
    std::string format_;
    bool listFormats_ = false;
    bool strict_ = false;
};

}  // namespace vellcfgrdr
