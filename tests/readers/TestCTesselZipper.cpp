#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>

#include "TesselPwx.h"
#include "TestUtil.h"
#include "readers/CTesselZipper.h"
#include "support/CPkDcl.h"

namespace vellcfgrdr {
namespace {

using test::MakePwx;
using test::PwxRecord;
using test::ReadBytes;
using test::TempDir;

std::string Bytes(std::string_view text) {
    return std::string(text);
}

// Text with structure and every byte value, so both literal modes matter.
std::string Sample(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string out;
    while (out.size() < n) {
        out += "Rack 1.2.3 slot " + std::to_string(rng() % 32) + ";";
        out += static_cast<char>(rng() & 0xFF);
    }
    out.resize(n);
    return out;
}

std::vector<std::string> Files(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CPkDcl, KnownVectorAndRoundTrips) {
    const std::string packed("\x00\x04\x82\x24\x25\x8f\x80\x7f", 8);
    size_t pos = 0;
    std::string out;
    const int code = CPkDcl::Explode(
        [&](uint8_t* b, size_t n) {
            const size_t k = std::min(n, packed.size() - pos);
            std::memcpy(b, packed.data() + pos, k);
            pos += k;
            return k;
        },
        [&](const uint8_t* p, size_t n) { out.append(reinterpret_cast<const char*>(p), n); });
    EXPECT_EQ(code, CPkDcl::kOk);
    EXPECT_EQ(out, "AIAIAIAIAIAIA");
    EXPECT_THROW(CPkDcl::Implode({}, false, 3000), CVellError);
}

TEST(CTesselZipper, EntriesInBothModesLastPathReturned) {
    TempDir src, dest;
    const std::string first = Sample(70000, 1), second = Sample(5000, 2);
    const std::string pwx =
        src.Write("p.pwx", MakePwx({{"first.bin", first, false}, {"Project.mdb", second, true}}));
    dest.Write("Project.mdb", "old content, replaced");
    CTesselZipper zipper;
    EXPECT_EQ(zipper.Unpack(pwx, dest.Str()), dest.File("Project.mdb"));
    EXPECT_EQ(zipper.LastCode(), 0);
    EXPECT_EQ(ReadBytes(dest.File("first.bin")), first);
    EXPECT_EQ(ReadBytes(dest.File("Project.mdb")), second);
    EXPECT_EQ(Files(dest), (std::vector<std::string>{"Project.mdb", "first.bin"}));

    // A zero-length container has no entry: nothing to return.
    EXPECT_EQ(zipper.Unpack(src.Write("empty.pwx", ""), dest.Str()), "");
    EXPECT_EQ(zipper.LastCode(), 0);
}

TEST(CTesselZipper, ContainerFaultsFailWithCode75) {
    const std::string good = test::Implode("payload");
    auto le = [](uint32_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    };
    const std::string ok = PwxRecord("a.mdb", good);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"name of 300 bytes", PwxRecord(std::string(300, 'n'), good)},
        {"name of 256 bytes", PwxRecord(std::string(256, 'n'), good)},
        {"empty name", PwxRecord("", good)},
        {"negative name length", le(0xFFFFFFFF) + "x" + le(1) + good},
        {"parent folder", PwxRecord("../escaped.mdb", good)},
        {"dot dot", PwxRecord("..", good)},
        {"absolute", PwxRecord("/tmp/escaped.mdb", good)},
        {"sub-folder", PwxRecord("sub/x.mdb", good)},
        {"backslash", PwxRecord("..\\x.mdb", good)},
        {"character 0", PwxRecord(std::string("a\0b", 3), good)},
        {"cut in the name", le(10) + "abc"},
        {"cut in the packed length", le(5) + "a.mdb" + "\x01\x00"},
        {"negative packed length", le(5) + "a.mdb" + le(0x80000000u) + good},
        {"packed length beyond the end",
         le(5) + "a.mdb" + le(static_cast<uint32_t>(good.size() + 1)) + good},
        {"1 to 3 bytes after the last entry", ok + "\x05\x00"},
        {"second entry cut", ok + PwxRecord("b.mdb", good).substr(0, 12)},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        TempDir src, dest;
        CTesselZipper zipper;
        EXPECT_EQ(zipper.Unpack(src.Write("p.pwx", bytes), dest.Str()), "");
        EXPECT_EQ(zipper.LastCode(), CTesselZipper::kContainerError);
        EXPECT_FALSE(std::filesystem::exists(dest.Path().parent_path() / "escaped.mdb"));
        EXPECT_FALSE(std::filesystem::exists("/tmp/escaped.mdb"));
    }

    TempDir src, dest;
    CTesselZipper zipper;
    const std::string pwx = src.Write("p.pwx", ok);
    EXPECT_EQ(zipper.Unpack(src.File("missing.pwx"), dest.Str()), "");
    EXPECT_EQ(zipper.LastCode(), CTesselZipper::kContainerError);
    EXPECT_EQ(zipper.Unpack(src.Str(), dest.Str()), "");
    EXPECT_EQ(zipper.Unpack(pwx, dest.File("no/such/folder")), "");
    EXPECT_EQ(zipper.LastCode(), CTesselZipper::kContainerError);
}

TEST(CTesselZipper, BadStreamsAndTheOutputCap) {
    const std::string content = Sample(20000, 3);
    const std::string packed = test::Implode(content);
    TempDir src, dest;
    CTesselZipper zipper;

    // Cut short, with the container's length saying so: the stream has no end mark.
    EXPECT_EQ(
        zipper.Unpack(src.Write("cut.pwx", PwxRecord("a.mdb", packed.substr(0, packed.size() / 2))),
                      dest.Str()),
        "");
    EXPECT_EQ(zipper.LastCode(), CPkDcl::kIncomplete);
    // Bad header bytes (the library reports them as bad data), and garbage
    // after a valid header.
    EXPECT_EQ(
        zipper.Unpack(src.Write("mode.pwx", PwxRecord("a.mdb", "\x07\x06\x00\x00")), dest.Str()),
        "");
    EXPECT_EQ(zipper.LastCode(), CPkDcl::kBadData);
    EXPECT_EQ(zipper.Unpack(src.Write("dict.pwx", PwxRecord("a.mdb", Bytes("\x00\x09\x00\x00"))),
                            dest.Str()),
              "");
    EXPECT_EQ(zipper.LastCode(), CPkDcl::kBadData);
    std::mt19937 rng(7);
    for (int i = 0; i < 20; ++i) {
        std::string garbage = std::string("\x00\x06", 2);
        for (int k = 0; k < 3000; ++k)
            garbage += static_cast<char>(rng() & 0xFF);
        // No checksum: garbage may decode "successfully"; it must end either way.
        zipper.Unpack(src.Write("g.pwx", PwxRecord("a.mdb", garbage)), dest.Str());
    }

    // The cap: exactly at it is fine, one byte more fails.
    const std::string pwx = src.Write("p.pwx", PwxRecord("a.mdb", packed));
    zipper.SetMaxEntryBytes(static_cast<int64_t>(content.size()));
    EXPECT_EQ(zipper.Unpack(pwx, dest.Str()), dest.File("a.mdb"));
    EXPECT_EQ(ReadBytes(dest.File("a.mdb")), content);
    zipper.SetMaxEntryBytes(static_cast<int64_t>(content.size()) - 1);
    EXPECT_EQ(zipper.Unpack(pwx, dest.Str()), "");
    EXPECT_EQ(zipper.LastCode(), CTesselZipper::kContainerError);

    // Entries each within the cap that together pass the total one: a bomb.
    zipper.SetMaxEntryBytes(static_cast<int64_t>(content.size()));
    zipper.SetMaxTotalBytes(2 * static_cast<int64_t>(content.size()) - 1);
    const std::string two =
        src.Write("two.pwx", PwxRecord("a.mdb", packed) + PwxRecord("b.mdb", packed));
    EXPECT_EQ(zipper.Unpack(two, dest.Str()), "");
    EXPECT_EQ(zipper.LastCode(), CTesselZipper::kContainerError);
}

}  // namespace
}  // namespace vellcfgrdr
