// Reads a PLC project with VellCfgRdr and prints its exchange XML; the
// messages go to standard error.
//
//     read_plant FILE
//
// Exit status: 0 converted, 1 the reader ended with another status, 2 an
// error was raised (53 missing file, 14001 unknown format, ...), 64 usage.

#include <cstdint>
#include <iostream>
#include <string>

#include "vellcfgrdr/CPlcCfgReader.h"
#include "vellcfgrdr/vellcfgrdr.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: read_plant FILE\n";
        return 64;
    }
    std::cerr << "VellCfgRdr " << vell_version() << " (built against " << VELL_VERSION_STRING
              << ")\n";

    vellcfgrdr::CPlcCfgReader reader;
    reader.EvtInfoMessage.Subscribe([](const std::string& text, vellcfgrdr::eMessageLevel level,
                                       const std::string& source) {
        std::cerr << vellcfgrdr::MessageLevelName(level) << ": " << source << ": " << text << '\n';
    });
    try {
        const int32_t status = reader.ReadIOmap(argv[1]);
        if (status != vellcfgrdr::eReadOk && status != vellcfgrdr::eReadWarnings) {
            std::cerr << "status " << status << ": " << reader.ErrorDescription(status) << '\n';
            return 1;
        }
        std::cout << reader.Xml();
    } catch (const vellcfgrdr::CVellError& e) {
        std::cerr << e.Number() << ": " << e.Description() << " (" << e.Source() << ")\n";
        return 2;
    }
    return 0;
}
