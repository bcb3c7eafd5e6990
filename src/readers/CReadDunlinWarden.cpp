#include "readers/CReadDunlinWarden.h"

#include <string>

#include "core/CCvtEnum.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "support/CByteCursor.h"
#include "support/CByteMath.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadDunlinWarden";
const Where kWhere = Where::Object(kSource);

constexpr int16_t kSorrelBit = 0x2000;
constexpr int32_t kGarnetDcpCode = 0x81;
constexpr int32_t kFamilyCodeMask = 127;
constexpr int32_t kFamilyCodeKestrelDio = 2;
constexpr int32_t kWordsSkippedPerRecord = 4;  // r2 to r5

int16_t Word(CByteCursor& cur) {
    return cur.I16(ByteOrder::Big);
}

CCfgDrop& RequireDrop(CIoConfig& root, int32_t bus, int32_t drop) {
    CCfgDrop* d = root.DropList().DropByKey(bus, drop);
    if (!d) ModGSCore::RaiseError("drop " + std::to_string(drop), ErrNum::kObjectNotSet);
    return *d;
}

}  // namespace

int32_t CReadDunlinWarden::ParseWarden(std::string_view table, CIoConfig& root) {
    return ParseWarden(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(table.data()), table.size()),
        root);
}

int32_t CReadDunlinWarden::ParseWarden(std::span<const uint8_t> table, CIoConfig& root) {
    root_ = &root;
    warned_ = false;
    int32_t status = ErrNum::kBadFileFormat;
    try {
        CByteCursor cur(table.first(table.size() - table.size() % 2), "Warden table");
        cur.Skip(4);
        const int16_t dropCount = Word(cur);
        bool allRead = true;
        for (int32_t i = 0; i < dropCount; ++i) {
            Word(cur);
            const int16_t h1 = Word(cur);
            Word(cur);
            const int16_t h3 = Word(cur);
            const int16_t recordCount = Word(cur);
            const int32_t familyCode = CByteMath::HighByte(h1) & kFamilyCodeMask;
            const uint8_t bus = CByteMath::HighByte(h3);
            int32_t drop = CByteMath::LowByte(h1);
            if (familyCode == kFamilyCodeKestrelDio)
                drop = CByteMath::MakeWord(bus, static_cast<uint8_t>(drop));

            if (!root.DropList().AddDrop3(bus, drop, familyCode, "")) {
                root.DebugMessage("Problems reading drop " + std::to_string(drop), kSource);
                allRead = false;
                continue;
            }
            bool read = false;
            if (familyCode > 0) {
                Word(cur);
                read = ReadRecords(cur, bus, drop, recordCount);
            } else {
                read = ReadGarnetRecords(cur, bus, drop, recordCount);
            }
            allRead = allRead && read;
        }
        if (allRead) status = ErrNum::kOk;
    } catch (...) {
        // A table that ends inside a header: the drops it announced are lost.
        root.ErrorReport(kWhere, "ParseWarden");
        status = ModGSCore::CurrentError().Number();
        WarnOnce();
    }
    return status;
}

void CReadDunlinWarden::WarnOnce() {
    if (warned_) return;
    warned_ = true;
    root_->InfoMessage(modResStr::ResString(msgWardenModulesUnread), eMsgWarning, kSource);
}

// A record whose module cannot be placed still has a known length, so its
// remaining words are consumed and the drop's later records and the next
// drop header are read where they are, not from the middle of a record.
bool CReadDunlinWarden::ReadRecords(CByteCursor& cur, int32_t bus, int32_t drop, int32_t count) {
    bool ok = true;
    try {
        for (int32_t i = 0; i < count; ++i) {
            const int16_t r0 = Word(cur);
            const int16_t id = Word(cur);
            cur.Skip(2 * kWordsSkippedPerRecord);
            try {
                const int32_t rack = CByteMath::HighByte(r0);
                const int32_t slot = CByteMath::LowByte(r0);
                if (id & kSorrelBit)
                    RequireDrop(*root_, bus, drop)
                        .SetIoFamily(DropFamily::kSorrel, root_->PlcFamily());
                if (rack < 1 || rack > 31 || slot < 1 || slot > 31) {
                    ModGSCore::RaiseError(
                        "rack " + std::to_string(rack) + ", slot " + std::to_string(slot),
                        ErrNum::kBadRecord);
                }
                // The marking bit is no part of the catalogue's module id.
                root_->ModuleList().AddModuleById(bus, drop, rack, slot,
                                                  static_cast<int16_t>(id & ~kSorrelBit));
            } catch (...) {
                root_->ErrorReport(kWhere, "ReadRecords");
                WarnOnce();
                ok = false;
            }
            const int16_t r6 = Word(cur);
            cur.Skip(2 * static_cast<int64_t>(CByteMath::LowByte(r6)));
        }
    } catch (...) {
        // The table ended inside the drop's records.
        root_->ErrorReport(kWhere, "ReadRecords");
        WarnOnce();
        ok = false;
    }
    return ok;
}

bool CReadDunlinWarden::ReadGarnetRecords(CByteCursor& cur, int32_t bus, int32_t drop,
                                          int32_t count) {
    bool ok = true;
    try {
        for (int32_t i = 0; i < count; ++i) {
            const int16_t g0 = Word(cur);
            const int16_t g1 = Word(cur);
            Word(cur);
            if (CByteMath::HighByte(g1) > 0 && CByteMath::LowByte(g1) > 0) Word(cur);
            try {
                const int32_t rack = CByteMath::WordShiftR(g0, 12);
                const int32_t slot = CByteMath::WordShiftR(g0 & 0x0F00, 8);
                const int32_t code = CByteMath::LowByte(g0);
                CCfgDrop& d = RequireDrop(*root_, bus, drop);
                if (code == kGarnetDcpCode) {
                    d.SetIoFamily(DropFamily::kDcp, root_->PlcFamily());
                    d.SetName(CCvtEnum::DropFamilyToString(DropFamily::kDcp));
                } else {
                    d.SetIoFamily(DropFamily::kDunlin, root_->PlcFamily());
                }
                if (rack != 0 && slot != 0)
                    root_->ModuleList().AddModuleById(bus, drop, rack, slot,
                                                      static_cast<int16_t>(code));
            } catch (...) {
                root_->ErrorReport(kWhere, "ReadGarnetRecords");
                WarnOnce();
                ok = false;
            }
        }
    } catch (...) {
        root_->ErrorReport(kWhere, "ReadGarnetRecords");
        WarnOnce();
        ok = false;
    }
    return ok;
}

}  // namespace vellcfgrdr
