#pragma once

#include <cstdint>

namespace vellcfgrdr {

// The numbers below are stored in the model and written to the exchange
// file: never renumber them. Their texts are CCvtEnum's.

// PLC family of a configuration and of a drop. 0 means "not set".
enum PlcFamily : int32_t {
    plcNone = 0,
    plcWren = 1,
    plcSlc500 = 2,
    plcBrisk7 = 3,
    plcLark = 4,
    plcGarnetSeries = 5,
    plcKestrel = 6,
    plcBriskFinch = 7,
    plcPlc5 = 8,
    plcSorrel = 9,
    plcOsprey = 10,
    plcHeron = 11,
    plcRaven = 12,
    plcControlLogix = 13,
    plcS5Small = 14,
    plcS5Medium = 15,
    plcS5Large = 16,
    plcS7_300 = 17,
    plcS7_400 = 18,
    plcS7Large = 19,
    plcS5ML = 20,
    plcPlover = 21,
    plcNonSpecific = 22,
    // Drops whose family code has no PLC family get this one.
    plcUnsupported = 23,
};

enum PartType : int32_t {
    ptUnknown = 0,
    ptRack = 1,
    ptCpu = 2,
    ptPower = 3,
    ptModule = 4,
    ptQwa = 5,
    ptCable = 6,
    ptBundle = 7,
    ptService = 8,
    ptOther = 9,
};

// Catalogue group of a part. 0 is "no group" (its text is empty).
enum PartGroup : int32_t {
    pgNone = 0,
    pgALine = 1,
    pgAccessories = 2,
    pgAlliance = 3,
    pgAnalogIn = 4,
    pgAnalogMixed = 5,
    pgAnalogOut = 6,
    pgStrand = 7,
    pgCommon = 8,
    pgCommunication = 9,
    pgCounter = 10,
    pgDio = 11,
    pgDiscreteIn = 12,
    pgDiscreteMixed = 13,
    pgDiscreteOut = 14,
    pgExtension = 15,
    pgHotStandby = 16,
    pgMain = 17,
    pgMemory = 18,
    pgMotion = 19,
    pgOther = 20,
    pgTessel = 21,
    pgRioHead = 22,
    pgRioDrop = 23,
    pgSpecial = 24,
    pgTerminal = 25,
    pgCobalt = 26,
    pgStandard = 27,
    pgRedundant = 28,
    pgUnsupported = 29,
};

// Source format of a project.
enum ProjectFormat : int32_t {
    pfUndefined = 0,
    pfBlank = 1,
    pfHalyard = 2,
    pfQuern = 3,
    pfTesselQor = 4,
    pfTessel32 = 5,
    pfSlc500 = 6,
    pfSkein3 = 7,
    pfSkeinPro = 8,
    pfCobalt = 9,
    pfControlLogix = 10,
};

// Slot numbers are 32-bit; non-negative ones are ordinary slots, these
// negative ones are special positions. Whatever sits in one of the three
// power positions is written as a power supply.
enum SlotKind : int32_t {
    skX = -1,
    skCpu = -2,  // processor position; has no text of its own
    skPower = -3,
    skPower2 = -4,
};

// Family codes of drops as readers pass them to AddDrop3. Two codes share
// the name "Interbus".
struct DropFamily {
    static constexpr int32_t kDunlin = 0;
    static constexpr int32_t kKestrel = 1;
    static constexpr int32_t kKestrelDio = 2;
    static constexpr int32_t kWrenBrisk = 3;
    static constexpr int32_t kPlover = 4;
    static constexpr int32_t kInterbus = 5;
    static constexpr int32_t kSorrel = 13;
    static constexpr int32_t kInterbus2 = 20;
    static constexpr int32_t kDcp = 21;
    static constexpr int32_t kIoBus = 22;
    static constexpr int32_t kSlc500 = 65;
    static constexpr int32_t kControlLogix = 66;
    static constexpr int32_t kBrisk7 = 67;
    static constexpr int32_t kHeron = 68;
    // Has a family (PLC5) but no name of its own.
    static constexpr int32_t kPlc5 = 69;
    static constexpr int32_t kSarn = 70;
    static constexpr int32_t kRaven = 256;
};

}  // namespace vellcfgrdr
