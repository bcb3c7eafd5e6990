#pragma once

namespace vellcfgrdr {

// The tool's "report" command: converts one project and writes its rack
// report, a self-contained HTML page, instead of the exchange XML.
class CReportCommand {
  public:
    // Parses the arguments after "report". Exit status as for a conversion:
    // 0 converted, 1 another status (the report, showing what was read and
    // why it failed, is still written), 2 an error raised, 64 usage.
    static int Main(int argc, char** argv);
};

}  // namespace vellcfgrdr
