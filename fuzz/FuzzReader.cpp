// libFuzzer target: one conversion (reader run and XML written) of arbitrary
// bytes, as a caller makes it from a file.
// - Built with VELL_FUZZ_EXT (such as "l5k"), the input is a file of that
//   extension; for a format of several files (CompanionsOf) it is cut into
//   the main file and its companions.
// - Built without it, the first byte chooses among the extensions of the
//   format table, so every reader that joins the table is fuzzed.
// Inputs over VELL_FUZZ_MAX_LEN bytes are passed over: the readers' own
// limits are checked by the known-bad files, not by slow huge inputs.
#include <stdint.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

#ifndef VELL_FUZZ_MAX_LEN
#define VELL_FUZZ_MAX_LEN 65536
#endif

namespace {

namespace fs = std::filesystem;
using vellcfgrdr::fuzz::CompanionsOf;

#ifndef VELL_FUZZ_EXT
std::vector<std::string> Extensions() {
    std::vector<std::string> all;
    for (const vellcfgrdr::ReaderDescription* d : vellcfgrdr::ReaderRegistry::Descriptions())
        for (const std::string_view e : d->extensions)
            all.emplace_back(e);
    return all;
}
#endif

void WriteFile(const fs::path& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vellcfgrdr::CPlcCfgReader reader;
#ifdef VELL_FUZZ_EXT
    static const std::vector<std::string> extensions{VELL_FUZZ_EXT};
#else
    static const std::vector<std::string> extensions = Extensions();
#endif
    if (size > VELL_FUZZ_MAX_LEN) return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string extension = extensions.front();
    if (extensions.size() > 1) {
        if (input.empty()) return 0;
        extension = extensions[static_cast<uint8_t>(input.front()) % extensions.size()];
        input.remove_prefix(1);
    }

    const std::vector<std::string> companions = CompanionsOf(extension);
    const auto parts = vellcfgrdr::fuzz::SplitParts(input, companions.size() + 1);
    const vellcfgrdr::fuzz::InputFolder folder;
    const fs::path main = folder.Path() / ("project." + extension);
    WriteFile(main, parts[0]);
    for (size_t i = 1; i < parts.size(); ++i)
        WriteFile(folder.Path() / ("project." + companions[i - 1]), parts[i]);
    try {
        reader.ReadIOmap(main.string());
        (void)reader.Xml();
    } catch (const vellcfgrdr::CVellError&) {
        // A numbered error is a valid outcome; anything else escapes and fails.
    }
    return 0;
}
