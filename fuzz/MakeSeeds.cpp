// Makes the seed corpora of the fuzz targets from the examples and test
// files of the source tree, one folder per extension under OUT:
//   fuzz_seeds SOURCE_DIR OUT_DIR
// - every file of a reader's extension, a multi-file project joined with
//   its companions as FuzzReader cuts it;
// - "any/": the same inputs behind the byte that makes the format-table
//   target choose their extension;
// - "pwx/": beside the containers, those the golden harness builds from
//   its recipes ("x.pwx.recipe"), packed here the same way;
// - "pwxdb/": every project database bare, for the inner layer of the
//   Tessel 32 reader.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "readers/ReaderRegistry.h"
#include "support/CPkDcl.h"

namespace {

namespace fs = std::filesystem;

constexpr uintmax_t kMaxSeedBytes = 1 << 20;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

// The file beside 'main' with the other extension, in either letter case.
fs::path Companion(const fs::path& main, const std::string& extension) {
    for (const std::string& e :
         {extension, [&] {
              std::string u = extension;
              for (char& c : u)
                  c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
              return u;
          }()}) {
        fs::path p = main;
        p.replace_extension(e);
        if (fs::exists(p)) return p;
    }
    return {};
}

std::string Le32(uint32_t v) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

// A Tessel container built from a recipe of the golden harness: one entry
// a line, "<entry name> <file relative to the recipe> [ascii]"; "" when a
// file is missing.
std::string PackRecipe(const fs::path& recipe) {
    std::string container;
    std::istringstream lines(Read(recipe));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name, file, mode;
        if (!(words >> name) || name[0] == '#') continue;
        if (!(words >> file) || !fs::is_regular_file(recipe.parent_path() / file)) return {};
        words >> mode;
        const std::string data = Read(recipe.parent_path() / file);
        const std::vector<uint8_t> packed = vellcfgrdr::CPkDcl::Implode(
            {reinterpret_cast<const uint8_t*>(data.data()), data.size()}, mode == "ascii");
        container += Le32(static_cast<uint32_t>(name.size())) + name +
                     Le32(static_cast<uint32_t>(packed.size())) +
                     std::string(packed.begin(), packed.end());
    }
    return container;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds SOURCE_DIR OUT_DIR\n");
        return 64;
    }
    const fs::path source = argv[1], out = argv[2];
    std::vector<std::string> extensions;
    for (const vellcfgrdr::ReaderDescription* d : vellcfgrdr::ReaderRegistry::Descriptions())
        for (const std::string_view e : d->extensions)
            extensions.emplace_back(e);

    size_t count = 0;
    for (const char* root : {"examples", "tests/data", "tests/bad"}) {
        if (!fs::is_directory(source / root)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(source / root)) {
            if (!entry.is_regular_file() || entry.file_size() > kMaxSeedBytes) continue;
            const fs::path& file = entry.path();
            const std::string name = file.filename().string();
            if (name.find(".expected.") != std::string::npos) continue;
            const std::string ext =
                Lower(file.extension().string().substr(1 - file.extension().empty()));
            std::string seedName = fs::relative(file, source).string();
            std::replace(seedName.begin(), seedName.end(), '/', '_');

            if (ext == "mdb" || ext == "accdb") {
                Write(out / "pwxdb" / seedName, Read(file));
                ++count;
                continue;
            }
            if (name.ends_with(".pwx.recipe")) {
                const std::string pwx = PackRecipe(file);
                if (pwx.empty()) continue;
                Write(out / "pwx" / seedName, pwx);
                const auto pwxAt = std::find(extensions.begin(), extensions.end(), "pwx");
                if (pwxAt != extensions.end())
                    Write(out / "any" / seedName,
                          std::string(1, static_cast<char>(pwxAt - extensions.begin())) + pwx);
                count += 2;
                continue;
            }
            const auto at = std::find(extensions.begin(), extensions.end(), ext);
            if (at == extensions.end()) continue;
            std::string input = Read(file);
            for (const std::string& c : vellcfgrdr::fuzz::CompanionsOf(ext)) {
                const fs::path p = Companion(file, c);
                input += std::string(vellcfgrdr::fuzz::kPartSeparator) + (p.empty() ? "" : Read(p));
            }
            Write(out / ext / seedName, input);
            Write(out / "any" / seedName,
                  std::string(1, static_cast<char>(at - extensions.begin())) + input);
            count += 2;
        }
    }
    std::fprintf(stderr, "%zu seeds in %s\n", count, out.c_str());
    return 0;
}
