// libFuzzer target: one reader run and one write on arbitrary bytes. The
// format is that of the extension in VELL_FUZZ_EXT (such as "l5k"); without
// it, the first byte of the input chooses among the readers' extensions, so
// every reader that joins the format table is fuzzed.
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace {

std::vector<std::string> Extensions() {
    std::vector<std::string> all;
    for (const vellcfgrdr::ReaderDescription* d : vellcfgrdr::ReaderRegistry::Descriptions())
        for (const std::string_view e : d->extensions)
            all.emplace_back(e);
    return all;
}

std::string Path(const std::string& extension) {
    const char* tmp = getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/vell_fuzz_" + std::to_string(getpid()) +
           "." + extension;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vellcfgrdr::CPlcCfgReader reader;
    static const std::vector<std::string> extensions = Extensions();
    static const char* fixed = getenv("VELL_FUZZ_EXT");
    std::string extension;
    if (fixed && *fixed) {
        extension = fixed;
    } else {
        if (size == 0) return 0;
        extension = extensions[data[0] % extensions.size()];
        ++data;
        --size;
    }
    const std::string path = Path(extension);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        reader.ReadIOmap(path);
        (void)reader.Xml();
    } catch (const vellcfgrdr::CVellError&) {
        // A numbered error is a valid outcome; anything else escapes and fails.
    }
    std::remove(path.c_str());
    return 0;
}
