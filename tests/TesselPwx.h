#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellcfgrdr::test {

// Builds Tessel project containers for tests: each entry compressed with
// the compression library, in binary mode or in ASCII literal mode.
struct PwxEntry {
    std::string name;
    std::string content;
    bool ascii = false;
};

// The compressed bytes of data (binary mode through the library's own
// compression call, ASCII mode through CPkDcl).
std::string Implode(const std::string& data, bool ascii = false);
// One entry as the container stores it, with the given (possibly wrong)
// compressed bytes.
std::string PwxRecord(const std::string& name, const std::string& packed);
std::string MakePwx(const std::vector<PwxEntry>& entries);
// A container from a recipe of the golden harness: one entry a line,
//   <entry name> <file, relative to the recipe's folder> [ascii]
// blank lines and lines starting with "#" aside.
std::string PwxFromRecipe(const std::string& recipe, const std::string& folder);

}  // namespace vellcfgrdr::test
