// libFuzzer target: one reader run and one write on arbitrary bytes. The
// file extension (and so the reader) is chosen at build time by
// VELL_FUZZ_EXTENSION.
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "vellcfgrdr/CPlcCfgReader.h"

namespace {

std::string Path() {
    static const std::string path = [] {
        const char* tmp = getenv("TMPDIR");
        return std::string(tmp && *tmp ? tmp : "/tmp") + "/vell_fuzz_" + std::to_string(getpid()) + VELL_FUZZ_EXTENSION;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vellcfgrdr::CPlcCfgReader reader;
    FILE* f = std::fopen(Path().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        reader.ReadIOmap(Path());
        (void)reader.Xml();
    } catch (const vellcfgrdr::CVellError&) {
        // A numbered error is a valid outcome; anything else escapes and fails.
    }
    std::remove(Path().c_str());
    return 0;
}
