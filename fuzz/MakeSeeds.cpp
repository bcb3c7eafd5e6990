// Makes the seed corpora of the fuzz targets from the examples and test
// files of the source tree, one folder per extension under OUT:
//   fuzz_seeds SOURCE_DIR OUT_DIR
// - every file of a reader's extension, a multi-file project joined with
//   its companions as FuzzReader cuts it;
// - "any/": the same inputs behind the byte that makes the format-table
//   target choose their extension;
// - "pwx/" and "pwxdb/": every project database packed into a container,
//   and bare, for the two layers of the Tessel 32 reader.
#include <StormLib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "readers/ReaderRegistry.h"

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

// A Tessel container of one entry, compressed in binary mode; "" when the
// compression fails.
std::string Pack(const std::string& name, std::string data) {
    const int capacity = static_cast<int>(data.size() + data.size() / 8 + 64);
    std::string packed(static_cast<size_t>(capacity), '\0');
    int size = capacity;
    if (!SCompImplode(packed.data(), &size, data.data(), static_cast<int>(data.size())) ||
        size <= 0 || size >= capacity)
        return {};
    packed.resize(static_cast<size_t>(size));
    return Le32(static_cast<uint32_t>(name.size())) + name +
           Le32(static_cast<uint32_t>(packed.size())) + packed;
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
                const std::string db = Read(file);
                Write(out / "pwxdb" / seedName, db);
                const std::string pwx = Pack("project.mdb", db);
                if (!pwx.empty()) Write(out / "pwx" / seedName, pwx);
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
