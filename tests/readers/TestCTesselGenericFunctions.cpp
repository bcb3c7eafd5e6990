#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "ModelFixture.h"
#include "core/Enums.h"
#include "readers/CTesselGenericFunctions.h"

using namespace vellcfgrdr;
using T = CTesselGenericFunctions;

TEST(CTesselGenericFunctions, Conversions) {
    EXPECT_EQ(T::CVI("\x34\x12"), 0x1234);
    EXPECT_EQ(T::CVI("\xFF\xFF"), -1);
    EXPECT_EQ(T::CVI(""), 0);
    EXPECT_EQ(T::CVI("\x80"), 128);
    EXPECT_EQ(T::IntToFloat(-1), 65535.0f);
    EXPECT_EQ(T::IntToFloat(-32768), 32768.0f);
    EXPECT_TRUE(T::NotInRange(90, 91, 94));
    EXPECT_FALSE(T::NotInRange(94, 91, 94));
    EXPECT_TRUE(T::NotInRange(95, 91, 94));
}

// 88 names, 83 distinct; every name of a supported family resolves to a
// part of that family.
TEST(CTesselGenericFunctions, CpuNamesResolveInTheShippedCatalogue) {
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    std::set<std::string> distinct;
    for (int32_t t = 1; t <= 88; ++t) {
        const std::string name = T::GetCpuName(t);
        distinct.insert(name);
        const int32_t family = T::GetCpuFamily(t);
        if (family == plcNone) continue;
        const std::string part = cfg.RequirePartMapping().ToPartRef(name);
        ASSERT_TRUE(cfg.RequirePartInfo().PartExists(part, true)) << t << " " << name;
        EXPECT_EQ(cfg.RequirePartInfo().PartType(part), ptCpu) << name;
        EXPECT_EQ(cfg.RequirePartInfo().PlcFamily(part), family) << name;
    }
    EXPECT_EQ(distinct.size(), 83u);
    // Beyond the names: the last Sable types are still Plover processors.
    EXPECT_EQ(T::GetCpuFamily(91), plcPlover);
    EXPECT_EQ(T::GetCpuFamily(92), plcNone);
    EXPECT_EQ(T::GetCpuName(62), T::GetCpuName(66));
    EXPECT_EQ(T::GetCpuName(79), T::GetCpuName(81));
    EXPECT_EQ(T::GetCpuName(0), "Unknown PLC");
    EXPECT_EQ(T::GetCpuName(89), "Unknown PLC");
}

TEST(CTesselGenericFunctions, ConfigurationWords) {
    std::vector<uint8_t> blocks(256, 0);
    const auto put = [&](int32_t k, int32_t value) {  // word k, numbered from 1
        blocks[2 * (k - 1)] = static_cast<uint8_t>(value >> 8);
        blocks[2 * (k - 1) + 1] = static_cast<uint8_t>(value & 0xFF);
    };
    for (int32_t k : {6, 11, 15, 17})
        put(k, 9999);
    put(3, 0x8123);   // register 50: flag bit cleared on most controllers
    put(51, 0x1234);  // keeps its low byte only
    put(4, 0x8001);   // no flag register: kept
    std::array<int32_t, 128> words{};
    EXPECT_EQ(T::SetConfWord(blocks, words, 1), 5);
    EXPECT_EQ(words[2], 0x0123);
    EXPECT_EQ(words[50], 0x34);
    EXPECT_EQ(words[3], 0x8001);
    EXPECT_EQ(words[5], 9999);
    EXPECT_EQ(T::SetConfWord(blocks, words, 52), 5);  // a Brume type keeps the bit
    EXPECT_EQ(words[2], 0x8123);

    put(15, 10000);
    EXPECT_EQ(T::SetConfWord(blocks, words, 1), 6);
    // Short input reads as zeros instead of beyond the bytes given.
    EXPECT_EQ(T::SetConfWord(std::span<const uint8_t>(blocks).first(20), words, 1), 5);
    EXPECT_EQ(words[127], 0);
}

TEST(CTesselGenericFunctions, ProcessorTypeFromModelCode) {
    const auto type = [](int32_t model, int32_t mem = 0, uint8_t opt = 0, int32_t second = 0,
                         uint8_t opt2 = 0) {
        return T::SetProcType({mem, 0, model, opt, second, opt2});
    };
    TesselProcType r = T::SetProcType({0, 256, 2000, 0, 0, 0});
    EXPECT_EQ(r.procType, 60);
    EXPECT_EQ(r.ioBus, "Scree");
    EXPECT_EQ(type(2048).procType, 61);
    EXPECT_EQ(type(2049).procType, 0);
    EXPECT_EQ(type(2050).ioBus, "Keel");
    EXPECT_EQ(type(2050).procType, 10);
    EXPECT_EQ(type(2203).procType, 91);
    r = type(2109);
    EXPECT_EQ(r.procType, 10);
    EXPECT_TRUE(r.firstFlag && r.secondFlag);
    EXPECT_EQ(type(2113, 0, 64).procType, 21);
    EXPECT_EQ(type(2113).procType, 20);
    EXPECT_EQ(type(2114, 3).procType, 24);
    EXPECT_EQ(type(2117, 99).procType, 76);
    EXPECT_EQ(type(2144, -5).procType, 32);
    EXPECT_EQ(type(2161, 0, 0, 1).procType, 67);
    EXPECT_EQ(type(2179, 0, 0, 0, 159).procType, 72);
    EXPECT_EQ(type(2179, 0, 0, 0, 160).procType, 77);
    r = type(2200, 7 + 1);
    EXPECT_EQ(r.procType, 71);
    EXPECT_EQ(r.optionWord, 128);
    EXPECT_EQ(type(2200, 1).optionWord, 256);
    EXPECT_EQ(type(2323).procType, 57);
    EXPECT_EQ(type(2330).procType, 59);
    EXPECT_EQ(type(2355).procType, 55);
    EXPECT_EQ(type(2360).procType, 0);
    r = type(2190);
    EXPECT_EQ(r.procType, 58);
    EXPECT_EQ(r.ioBus, "Marl");
    EXPECT_EQ(type(2340).procType, 56);

    // Every processor type of the name table comes from some model code.
    std::set<int32_t> reached;
    for (int32_t model = 2040; model <= 2400; ++model)
        for (int32_t mem = 0; mem <= 9; ++mem)
            for (uint8_t opt : {0, 64})
                for (int32_t second = 0; second <= 2; ++second)
                    reached.insert(type(model, mem, opt, second, 200).procType);
    reached.insert(type(2179, 0, 0, 0, 10).procType);
    reached.insert(T::SetProcType({0, 256, 2000, 0, 0, 0}).procType);
    for (int32_t t = 1; t <= 91; ++t)
        EXPECT_TRUE(reached.count(t)) << t;
}
