#pragma once

#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vellcfgrdr {

class CMessagePrinter;

// The tool's main job: one project file to the exchange XML. Its options
// belong to the top level of the command line.
class CConvertCommand {
  public:
    // Adds FILE and the conversion's options to the application.
    explicit CConvertCommand(CLI::App& app);

    // Whether the command line named what to convert.
    bool HaveInput() const;
    // Converts and returns the exit status; a raised error leaves it.
    int Run(const CMessagePrinter& printer) const;

  private:
    CLI::Option* fileOption_ = nullptr;
    std::string file_;
    std::string output_;
};

}  // namespace vellcfgrdr
