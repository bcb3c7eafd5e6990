#include "readers/CTesselGenericFunctions.h"

#include <algorithm>

#include "core/Enums.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kUnknownPlc = "Unknown PLC";

// Model names of the processor types 1 to 88 (docs/catalogue.md). The pairs
// 62/66, 63/67, 64/68, 65/69 and 79/81 are one controller each.
constexpr const char* kCpuNames[] = {
    "GRS-T110",           "GRS-T111",   "GRS-T112",    "GRS-T113", "GRS-T114",  // 1-5
    "GRS-T120",           "GRS-T121",   "GRS-T122",    "GRS-T123",              // 6-9
    "GRS-T130",           "GRS-T131",   "GRS-T132",                             // 10-12
    "GRS-T140",           "GRS-T141",   "GRS-T142",    "GRS-T143", "GRS-T144",  // 13-17
    "GRS-T150",           "GRS-T151",                                           // 18-19
    "WRN-T110",           "WRN-T111",   "WRN-T112",    "WRN-T113", "WRN-T114",  // 20-24
    "WRN-T115",           "WRN-T116",   "WRN-T117",    "WRN-T118", "WRN-T119",  // 25-29
    "WRN-T120",           "GRS-T160",                                           // 30-31
    "GRS-T201",           "GRS-T202",   "GRS-T203",    "GRS-T204", "GRS-T205",  // 32-36
    "GRS-T206",           "GRS-T207",   "GRS-T208",    "GRS-T209", "GRS-T210",  // 37-41
    "GRS-T211",           "GRS-T212",   "GRS-T213",    "GRS-T214", "GRS-T215",  // 42-46
    "GRS-T301",           "GRS-T302",   "GRS-T303",    "GRS-T304", "GRS-T305",  // 47-51
    "318-T110",           "GRS-T311",   "GRS-T312",    "GRS-T321",              // 52-55
    "Marlin M256",        "GRS-T322",   "Marlin M258", "GRS-T323",              // 56-59
    "Finch 100",          "Finch 110",                                          // 60-61
    "318-T210",           "318-T220",   "318-T230",    "318-T240",              // 62-65
    "318-T210",           "318-T220",   "318-T230",    "318-T240",              // 66-69
    "VME-T700",           "VME-T710",   "318-T310",                             // 70-72
    "WRN-T130",           "WRN-T131",   "WRN-T132",    "WRN-T133", "318-T320",  // 73-77
    "077-T110",           "077-T120",   "077-T130",    "077-T120", "077-T140",  // 78-82
    "077-T150",           "077-T160",   "077-T170",                             // 83-85
    "Tessel IEC Runtime", "Loggia 410", "Loggia 420",                           // 86-88
};
static_assert(std::size(kCpuNames) == 88);

bool In(int32_t v, int32_t low, int32_t high) noexcept {
    return v >= low && v <= high;
}

// Configuration words (numbered from 1) whose high byte carries a flag bit
// on most controllers; k + 47 is the register the word reports.
constexpr int32_t kFlaggedRegisters[] = {50, 54, 55, 56, 59, 60, 61,  63,
                                         65, 66, 67, 82, 84, 86, 107, 157};

bool KeepsFlagBits(int32_t procType) noexcept {
    return procType == 17 || procType == 48 || procType == 51 ||
           CTesselGenericFunctions::PTypeBrume(procType) || In(procType, 15, 16) ||
           In(procType, 73, 76) || CTesselGenericFunctions::PTypeLoggia(procType);
}

struct Single {
    int32_t modelCode;
    int32_t procType;
    bool secondFlag;
};

// Model codes with one processor type each.
constexpr Single kSingles[] = {
    {2050, 10, false}, {2052, 18, false}, {2060, 12, true},  {2061, 47, true},  {2067, 3, false},
    {2068, 53, false}, {2069, 54, false}, {2076, 5, false},  {2077, 4, false},  {2081, 6, false},
    {2082, 7, false},  {2094, 9, false},  {2095, 8, false},  {2107, 50, true},  {2108, 49, true},
    {2111, 14, false}, {2112, 13, false}, {2115, 27, false}, {2116, 29, false}, {2119, 17, false},
    {2120, 19, false}, {2121, 31, false}, {2122, 87, false}, {2123, 88, false}, {2124, 30, false},
    {2125, 28, false}, {2126, 26, false}, {2127, 22, false}, {2129, 16, false}, {2130, 15, false},
    {2132, 51, false}, {2134, 48, false}, {2148, 46, false}, {2162, 86, false}, {2176, 52, false},
    {2177, 65, false}, {2178, 69, false}, {2201, 85, false}, {2202, 81, false}, {2203, 91, false},
    {2204, 82, false},
};

// A selector (memory-size or option code) picks one of the types; larger
// codes take the last.
template <size_t N>
int32_t Pick(const int32_t (&types)[N], int32_t selector) noexcept {
    return types[std::clamp<int32_t>(selector, 0, static_cast<int32_t>(N) - 1)];
}

}  // namespace

int16_t CTesselGenericFunctions::CVI(std::string_view bytes) noexcept {
    if (bytes.empty()) return 0;
    const auto low = static_cast<uint8_t>(bytes[0]);
    const auto high = bytes.size() > 1 ? static_cast<uint8_t>(bytes[1]) : uint8_t{0};
    return static_cast<int16_t>(static_cast<uint16_t>((high << 8) | low));
}

float CTesselGenericFunctions::IntToFloat(int16_t value) noexcept {
    return static_cast<float>(static_cast<uint16_t>(value));
}

bool CTesselGenericFunctions::NotInRange(int32_t value, int32_t low, int32_t high) noexcept {
    return value < low || value > high;
}

bool CTesselGenericFunctions::PtypeWren(int32_t t) noexcept {
    return In(t, 20, 30) || In(t, 73, 76);
}

bool CTesselGenericFunctions::PTypeBrume(int32_t t) noexcept {
    return t == 52 || In(t, 62, 69) || t == 72 || t == 77;
}

bool CTesselGenericFunctions::PtypeGarnetIO(int32_t t) noexcept {
    return In(t, 1, 19) || In(t, 31, 51) || t == 53 || t == 54 || t == 55 || t == 57 || t == 59 ||
           PtypeWren(t);
}

bool CTesselGenericFunctions::PTypeSable(int32_t t) noexcept {
    return In(t, 78, 85) || In(t, 87, 91);
}

bool CTesselGenericFunctions::PTypeLoggia(int32_t t) noexcept {
    return t == 87 || t == 88;
}

std::string CTesselGenericFunctions::GetCpuName(int32_t procType) {
    if (!In(procType, 1, 88)) return kUnknownPlc;
    return kCpuNames[procType - 1];
}

int32_t CTesselGenericFunctions::GetCpuFamily(int32_t t) noexcept {
    if (PtypeWren(t)) return plcWren;
    if (PTypeBrume(t)) return plcKestrel;
    if (PtypeGarnetIO(t)) return plcGarnetSeries;
    if (PTypeSable(t)) return plcPlover;
    return plcNone;
}

int32_t CTesselGenericFunctions::SetConfWord(std::span<const uint8_t> blocks,
                                             std::array<int32_t, 128>& words, int32_t procType) {
    const auto byteAt = [&](size_t i) -> int32_t { return i < blocks.size() ? blocks[i] : 0; };
    const bool keep = KeepsFlagBits(procType);
    for (int32_t k = 1; k <= 128; ++k) {
        int32_t high = byteAt(2 * static_cast<size_t>(k - 1));
        const int32_t low = byteAt(2 * static_cast<size_t>(k - 1) + 1);
        if (!keep && std::ranges::find(kFlaggedRegisters, k + 47) != std::end(kFlaggedRegisters))
            high &= 127;
        words[k - 1] = high * 256 + low;
    }
    words[51 - 1] &= 0xFF;
    for (int32_t k : {6, 11, 15, 17})
        if (words[k - 1] > 9999) return 6;
    return 5;
}

TesselProcType CTesselGenericFunctions::SetProcType(const TesselControllerId& id) {
    TesselProcType r;
    const int32_t code = id.modelCode;
    const bool optionBit = (id.optionByte & 64) != 0;
    if (code < 2049) {
        r.procType = id.firstId != 0 ? 60 : 61;
        r.ioBus = "Scree";
        return r;
    }
    if (code == 2109 || code == 2110) {
        r.procType = code == 2109 ? 10 : 11;
        r.firstFlag = r.secondFlag = true;
        return r;
    }
    for (const Single& s : kSingles) {
        if (s.modelCode == code) {
            r.procType = s.procType;
            r.secondFlag = s.secondFlag;
            return r;
        }
    }
    switch (code) {
        case 2070:
        case 2071:
            r.procType = optionBit ? 2 : 1;
            return r;
        case 2113:
            r.procType = optionBit ? 21 : 20;
            return r;
        case 2114:
            r.procType = optionBit ? 25 : (id.memorySize >= 2 ? 24 : 23);
            return r;
        case 2117:
            r.procType = Pick({73, 74, 75, 76}, id.memorySize);
            return r;
        case 2144:
            r.procType = Pick({32, 33, 34, 35}, id.memorySize);
            return r;
        case 2145:
            r.procType = Pick({36, 37, 38, 39}, id.memorySize);
            return r;
        case 2146:
            r.procType = Pick({40, 41, 42}, id.memorySize);
            return r;
        case 2147:
            r.procType = Pick({43, 44, 45}, id.memorySize);
            return r;
        case 2160:
            r.procType = Pick({62, 63, 64}, id.secondOption);
            return r;
        case 2161:
            r.procType = Pick({66, 67, 68}, id.secondOption);
            return r;
        case 2179:
            r.procType = id.optionByte2 < 160 ? 72 : 77;
            return r;
        case 2200:
            r.procType = Pick({78, 79, 80, 83, 84, 89, 90, 70, 71}, id.memorySize);
            if (r.procType == 71) r.optionWord = 128;
            if (r.procType == 79 || r.procType == 83 || r.procType == 89) r.optionWord = 256;
            return r;
        default:
            break;
    }
    if (In(code, 2320, 2327)) {
        r.procType = 57;
    } else if (In(code, 2328, 2335)) {
        r.procType = 59;
    } else if (In(code, 2352, 2359)) {
        r.procType = 55;
    } else if (In(code, 2180, 2351)) {
        r.procType = code < 2320 ? 58 : 56;
        r.ioBus = "Marl";
    }
    return r;
}

}  // namespace vellcfgrdr
