#include "TesselPwx.h"

// The one file that includes the library's header: it defines Windows-style
// names (BYTE, DWORD, HANDLE...) that must not leak into other code.
#include <StormLib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "TestUtil.h"
#include "support/CPkDcl.h"

namespace vellcfgrdr::test {

namespace {

std::string Int32Le(uint32_t v) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace

std::string Implode(const std::string& data, bool ascii) {
    if (ascii) {
        const auto* p = reinterpret_cast<const uint8_t*>(data.data());
        const std::vector<uint8_t> out = CPkDcl::Implode({p, data.size()}, true);
        return std::string(out.begin(), out.end());
    }
    const int capacity = static_cast<int>(data.size() + data.size() / 8 + 64);
    std::string out(static_cast<size_t>(capacity), '\0');
    int size = capacity;
    std::string in = data;
    if (!SCompImplode(out.data(), &size, in.data(), static_cast<int>(in.size())) || size <= 0 ||
        size >= capacity)
        throw std::runtime_error("compression failed");
    out.resize(static_cast<size_t>(size));
    return out;
}

std::string PwxRecord(const std::string& name, const std::string& packed) {
    return Int32Le(static_cast<uint32_t>(name.size())) + name +
           Int32Le(static_cast<uint32_t>(packed.size())) + packed;
}

std::string MakePwx(const std::vector<PwxEntry>& entries) {
    std::string out;
    for (const PwxEntry& e : entries)
        out += PwxRecord(e.name, Implode(e.content, e.ascii));
    return out;
}

std::string PwxFromRecipe(const std::string& recipe, const std::string& folder) {
    std::vector<PwxEntry> entries;
    std::istringstream lines(recipe);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name, file, mode;
        if (!(words >> name) || name[0] == '#') continue;
        if (!(words >> file)) throw std::runtime_error("recipe line without a file: " + line);
        words >> mode;
        if (!mode.empty() && mode != "ascii")
            throw std::runtime_error("recipe line with an unknown mode: " + line);
        const std::string path = folder + "/" + file;
        if (!std::ifstream(path)) throw std::runtime_error("recipe names a missing file: " + path);
        entries.push_back({name, ReadBytes(path), mode == "ascii"});
    }
    return MakePwx(entries);
}

}  // namespace vellcfgrdr::test
