// Corrupted copies of every fixture and example: about 1 % of the bytes
// changed, some copies cut short, from a fixed seed. Whatever the damage, a
// conversion ends with a status or a numbered error, and a status of 0 or
// 14003 comes with a well-formed document. Fixtures of a new reader join by
// their extension alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <pugixml.hpp>
#include <random>

#include "TestUtil.h"
#include "core/Enums.h"
#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

using namespace vellcfgrdr;
namespace fs = std::filesystem;

namespace {

// Copies in all; each fixture gets its share, and never fewer than kMinCopies.
constexpr size_t kTotalCopies = 400;
constexpr size_t kMinCopies = 8;

bool HasReader(const fs::path& file) {
    return ReaderRegistry::FileFormatFromName(file.string()) != pfUndefined;
}

std::vector<std::string> Fixtures() {
    std::vector<std::string> files;
    for (const fs::path& root :
         {fs::path(VELL_TEST_DATA) / "e2e", fs::path(VELL_TEST_DATA) / "samples",
          fs::path(VELL_SOURCE_DIR) / "examples"}) {
        std::error_code ec;
        if (!fs::is_directory(root, ec)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file() && HasReader(entry.path()))
                files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Mutated(const std::string& original, std::mt19937& random, bool truncate) {
    std::string bytes = original;
    if (bytes.empty()) bytes = "start";
    const size_t changes = std::max<size_t>(1, bytes.size() / 100);
    std::uniform_int_distribution<size_t> at(0, bytes.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (size_t i = 0; i < changes; ++i)
        bytes[at(random)] = static_cast<char>(value(random));
    if (truncate) bytes.resize(at(random));
    return bytes;
}

class Corruption : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(Corruption, EndsWithAStatusOrANumberedErrorAndAWellFormedDocument) {
    static const size_t fixtures = Fixtures().size();
    const size_t copies = std::max(kMinCopies, kTotalCopies / std::max<size_t>(fixtures, 1));
    const fs::path input(GetParam());
    const std::string original = test::ReadBytes(input.string());
    // One seed per fixture, so that a failure is found again on its own.
    uint32_t seed = 2166136261u;  // FNV-1a of the file name
    for (const char c : input.filename().string())
        seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
    std::mt19937 random(seed);
    test::TempDir dir;
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    for (size_t i = 0; i < copies; ++i) {
        const std::string bytes = Mutated(original, random, i % 4 == 3);
        const std::string path = dir.Write("copy" + input.extension().string(), bytes);
        CPlcCfgReader reader;
        int32_t status = -1;
        try {
            status = reader.ReadIOmap(path);
        } catch (const CVellError& e) {
            EXPECT_NE(e.Number(), 0) << "copy " << i;
            continue;
        }
        if (status != 0 && status != 14003) continue;
        const std::string xml = reader.Xml();
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(xml.c_str())) << "copy " << i << " of " << input;
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Corruption, ::testing::ValuesIn(Fixtures()),
                         [](const auto& info) {
                             std::string name =
                                 fs::path(info.param).parent_path().filename().string() + "_" +
                                 fs::path(info.param).filename().string();
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });
