#include "readers/CReadSkein3.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "readers/CReaderKit.h"
#include "support/CByteCursor.h"
#include "support/CByteMath.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadSkein3";
const Where kWhere = Where::Object("CReadSkein3");

// Marker patterns: the 32-bit values 0x5555AAAA and 0x3333CCCC as stored,
// low byte first.
constexpr std::array<uint8_t, 4> kSegmentMarker = {0xAA, 0xAA, 0x55, 0x55};
constexpr std::array<uint8_t, 4> kSecondMarker = {0xCC, 0xCC, 0x33, 0x33};
// The segment starts this far after the second marker; its descriptors of
// the module list and the extension list lie at these offsets in it.
constexpr int64_t kSegmentFromMarker = 26;
constexpr int64_t kModuleListDescriptor = 84;
constexpr int64_t kExtensionListDescriptor = 88;
constexpr int64_t kModuleRecordSize = 3;
constexpr int64_t kExtensionRecordSize = 4;

constexpr int32_t kBus = 0;
constexpr int32_t kDrop = 1;

constexpr uint8_t kSpecialCode = 0x3E;
constexpr uint8_t kCounterMotionCode = 0x3F;

// Bits [first, first + count) of a 16-bit value.
int32_t BitField(int16_t value, int32_t first, int32_t count) {
    return CByteMath::WordShiftR(value, first) & (CByteMath::PowerOfTwo(count) - 1);
}

struct ListDescriptor {
    uint8_t count;
    uint8_t recordSize;
    int64_t offset;  // file offset of the first record
};

// A descriptor (count, record size, PLC-memory address) at the given file
// offset; the address is turned into a file offset through the segment.
ListDescriptor ReadDescriptor(CByteCursor cur, int64_t at, int64_t segment, int16_t base) {
    cur.Seek(at);
    ListDescriptor d{};
    d.count = cur.U8();
    d.recordSize = cur.U8();
    const int16_t address = cur.I16(ByteOrder::Little);
    d.offset = int64_t{address} - base + segment;
    return d;
}

// Codes 0x01-0x3B: the plain modules of the Brisk7 table, in its order.
// 0x3E: the special modules, 0x3F: counters and motion modules, by subcode.
constexpr CReadSkein3::CatalogueRow kCatalogue[] = {
    {0x01, 0, "BRKDIN0824"},    {0x02, 0, "BRKDIN1624"},      {0x03, 0, "BRKDIN3224"},
    {0x04, 0, "BRKDIN6424"},    {0x05, 0, "BRKDIN1648"},      {0x06, 0, "BRKDIN3248"},
    {0x07, 0, "BRKDIN0825"},    {0x08, 0, "BRKDIN1625"},      {0x09, 0, "BRKDIN0805"},
    {0x0A, 0, "BRKDIN1605"},    {0x0B, 0, "BRKDIN0812A"},     {0x0C, 0, "BRKDIN1612A"},
    {0x0D, 0, "BRKDIN3212A"},   {0x0E, 0, "BRKDIN1623A"},     {0x0F, 0, "BRKDIN3223A"},
    {0x10, 0, "BRKDIN0823AI"},  {0x11, 0, "BRKDIN0424F"},     {0x12, 0, "BRKDIN0848D"},
    {0x13, 0, "BRKDOU0824T"},   {0x14, 0, "BRKDOU1624T"},     {0x15, 0, "BRKDOU3224T"},
    {0x16, 0, "BRKDOU6424T"},   {0x17, 0, "BRKDOU1648T"},     {0x18, 0, "BRKDOU3248T"},
    {0x19, 0, "BRKDOU0825T"},   {0x1A, 0, "BRKDOU1625T"},     {0x1B, 0, "BRKDOU0424TD"},
    {0x1C, 0, "BRKDOU0448TD"},  {0x1D, 0, "BRKDOU0824R"},     {0x1E, 0, "BRKDOU1624R"},
    {0x1F, 0, "BRKDOU0823R"},   {0x20, 0, "BRKDOU0812A"},     {0x21, 0, "BRKDOU1612A"},
    {0x22, 0, "BRKDOU1623A"},   {0x23, 0, "BRKDOU3212A"},     {0x24, 0, "BRKDOU3223A"},
    {0x25, 0, "BRKDMX0808"},    {0x26, 0, "BRKDMX1616"},      {0x27, 0, "BRKDMX3232"},
    {0x28, 0, "BRKDMX1608R"},   {0x29, 0, "BRKDMX2416R"},     {0x2A, 0, "BRKAIN0820"},
    {0x2B, 0, "BRKAIN1620"},    {0x2C, 0, "BRKAIN0410V"},     {0x2D, 0, "BRKAIN0810V"},
    {0x2E, 0, "BRKAIN1610V"},   {0x2F, 0, "BRKAIN0405V"},     {0x30, 0, "BRKAIN0805V"},
    {0x31, 0, "BRKAIN04TC"},    {0x32, 0, "BRKAIN08TC"},      {0x33, 0, "BRKAIN16TC"},
    {0x34, 0, "BRKAIN04RT"},    {0x35, 0, "BRKAIN08RT"},      {0x36, 0, "BRKAIN16RT"},
    {0x37, 0, "BRKAIN0420I"},   {0x38, 0, "BRKAIN0420H"},     {0x39, 0, "BRKAOU0220"},
    {0x3A, 0, "BRKAOU0820"},    {0x3B, 0, "BRKAOU1620"},      {0x3E, 0x30, "BRKSPC0100"},
    {0x3E, 0x31, "BRKSPC0200"}, {0x3E, 0x32, "BRKSPC0300"},   {0x3E, 0x33, "BRKSPC0400"},
    {0x3E, 0x34, "BRKSPC0500"}, {0x3E, 0x35, "BRKSPC0600"},   {0x3E, 0xB0, "BRKSPC0700"},
    {0x3E, 0xB1, "BRKSPC0800"}, {0x3E, 0xB2, "BRKSPC0900"},   {0x3E, 0x00, "Generique 62"},
    {0x3F, 0x20, "BRKCNT0220"}, {0x3F, 0x21, "BRKCNT0240"},   {0x3F, 0x22, "BRKCNT0410"},
    {0x3F, 0x41, "BRKCNT0860"}, {0x3F, 0x42, "BRKCNT02500"},  {0x3F, 0x43, "BRKCNT04200"},
    {0x3F, 0x44, "BRKCNT0820"}, {0x3F, 0x60, "BRKMOT0100"},   {0x3F, 0x61, "BRKMOT0101"},
    {0x3F, 0x80, "BRKMOT0200"}, {0x3F, 0x81, "BRKMOT0201"},   {0x3F, 0x82, "BRKMOT0202"},
    {0x3F, 0x83, "BRKMOT0400"}, {0x3F, 0x84, "BRKMOT0401"},   {0x3F, 0x85, "BRKMOT0402"},
    {0x3F, 0x86, "BRKMOT0800"}, {0x3F, 0x87, "BRKMOT0801"},   {0x3F, 0x88, "BRKMOT0802"},
    {0x3F, 0x89, "BRKMOT1200"}, {0x3F, 0x00, "Generique 63"},
};

}  // namespace

std::span<const CReadSkein3::CatalogueRow> CReadSkein3::Catalogue() noexcept {
    return kCatalogue;
}

std::string CReadSkein3::PartOf(uint8_t code, uint16_t subcode) {
    for (const CatalogueRow& row : kCatalogue)
        if (row.code == code && row.subcode == subcode) return row.name;
    return {};
}

int32_t CReadSkein3::RackOfField(int32_t field) noexcept {
    switch (field) {
        case 0:
            return 1;
        case 1:
            return -1;
        case 2:
            return 2;
        case 3:
            return -2;
        default:
            return field - 1;
    }
}

bool CReadSkein3::IsSkein3Image(std::span<const uint8_t> bytes) {
    // A marker at offset 0 is the Brisk7 signature's place: no Skein-3 image.
    return CByteMath::PatternOffset(0, bytes, kSegmentMarker) >= 1;
}

int32_t CReadSkein3::GetIOmapSkein3(CIoConfig& root, std::span<const uint8_t> bytes) {
    root_ = &root;
    result_ = ErrNum::kOk;
    try {
        substitutions_ = CStdLib::Split(
            root.RequireFamilyInfo().FamilyAttribute(plcBrisk7, "VirtualReplace", ""), '|');
        const CByteCursor image(bytes, "Skein-3 image", ErrNum::kBadFileFormat);

        int32_t segmentMarker = CByteMath::PatternOffset(0, bytes, kSegmentMarker);
        if (segmentMarker >= 0) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(segmentMarker));
            root.DebugMessage(std::string("Segment IDP marker found at ") + hex, kSource);
        } else {
            root.DebugMessage("No Segment IDP marker found", kSource);
            segmentMarker = 0;
        }
        // A marker at offset 0 leaves no room for the base address before
        // it: such an image holds no module list.
        if (segmentMarker != 0) {
            CByteCursor at = image;
            at.Seek(int64_t{segmentMarker} - 6);
            const int16_t base = at.I16(ByteOrder::Little);
            const int32_t second = CByteMath::PatternOffset(0, bytes, kSecondMarker);
            // Without the second marker the descriptors cannot be found;
            // reading them from a guessed place would list garbage.
            if (second < 0)
                ModGSCore::RaiseError("Skein-3 image: no segment start marker",
                                      ErrNum::kBadFileFormat);
            ReadModuleList(image, int64_t{second} + kSegmentFromMarker, base);
        }
        root.SetPlcName(root.RequireFamilyInfo().DefaultCPU(plcBrisk7));
        root.SetPlcFamily(plcBrisk7);
        return result_;
    } catch (...) {
        root.ErrorReport(kWhere, "GetIOmapSkein3");
        return CReaderKit(root, kSource).NotOurFormat();
    }
}

void CReadSkein3::ReadModuleList(const CByteCursor& image, int64_t segment, int16_t base) {
    const ListDescriptor list =
        ReadDescriptor(image, segment + kModuleListDescriptor, segment, base);
    root_->DebugMessage("D_RA", kSource);
    GetExtModuleInfo(image, segment, base);
    root_->DebugMessage("Module List:", kSource);

    const int64_t records = list.recordSize == 0 ? std::min<int64_t>(list.count, 1) : list.count;
    if (records == 0) return;
    // The whole list is checked before the first module is placed, so a
    // list that runs out of the image places nothing.
    CByteCursor cur = image;
    cur.Seek(list.offset);
    cur.CheckCount(1, (records - 1) * list.recordSize + kModuleRecordSize);
    for (int64_t i = 0; i < records; ++i) {
        cur.Seek(list.offset + i * list.recordSize);
        const std::span<const uint8_t> record = cur.Bytes(kModuleRecordSize);
        ListModule(record[1], record[2]);
    }
}

void CReadSkein3::GetExtModuleInfo(const CByteCursor& image, int64_t segment, int16_t base) {
    try {
        const ListDescriptor list =
            ReadDescriptor(image, segment + kExtensionListDescriptor, segment, base);
        CByteCursor cur = image;
        for (int64_t i = 0; i < list.count; ++i) {
            cur.Seek(list.offset + i * list.recordSize);
            cur.CheckCount(1, kExtensionRecordSize);
            const int16_t info = cur.I16(ByteOrder::Little);
            const int16_t location = cur.I16(ByteOrder::Little);
            extensions_.push_back({info, BitField(location, 3, 4), BitField(location, 0, 3)});
        }
    } catch (...) {
        root_->ErrorReport(kWhere, "GetExtModuleInfo");
    }
}

void CReadSkein3::ListModule(uint8_t typeByte, uint8_t locationByte) {
    const uint8_t code = typeByte & 0x3F;
    const int32_t slot = BitField(locationByte, 0, 3);
    const int32_t rackField = BitField(locationByte, 3, 4);
    if (code == 0) return;

    uint16_t subcode = 0;
    if (code == kSpecialCode || code == kCounterMotionCode) {
        const auto ext = std::find_if(
            extensions_.begin(), extensions_.end(),
            [&](const Extension& e) { return e.rackField == rackField && e.slot == slot; });
        if (ext != extensions_.end()) subcode = static_cast<uint16_t>(ext->info);
    }
    const std::string name = PartOf(code, subcode);
    root_->DebugMessage(CStdLib::Sprintf("r%d s%d    %s", {rackField + 1, slot, name}), kSource);

    const int32_t rack = RackOfField(rackField);
    // A failing model step is reported and the next one still runs.
    const auto step = [this](auto&& f) {
        try {
            f();
        } catch (...) {
            root_->ErrorReport(kWhere, "ListModule");
        }
    };
    // A type code the catalogue lacks would clear the position and lose a
    // module: it is reported instead and the position left alone.
    if (name.empty()) {
        result_ = ErrNum::kWarnings;
        char type[16];
        std::snprintf(type, sizeof type, "0x%02X.%02X", code, subcode);
        root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgUnknownModuleType),
                                            {type, rack < 0 ? -rack : rack, slot}),
                           eMsgWarning, kSource);
        return;
    }
    if (rack >= 1) {
        // Racks after the first are extension racks of the family.
        step([&] {
            if (root_->RackList().rackName(kBus, kDrop, rack).empty())
                root_->RackList().SetRack(kBus, kDrop, rack,
                                          root_->RequireFamilyInfo().DefaultRack(plcBrisk7, rack));
        });
        step([&] { root_->ModuleList().SetModule(kBus, kDrop, rack, slot, name); });
        return;
    }
    // A half-width module seen in the half position of a rack stands for
    // its full-width counterpart in that rack.
    std::string replacement;
    for (size_t i = 0; i + 1 < substitutions_.size(); i += 2)
        if (CUtf8::EqualsNoCase(substitutions_[i], name)) {
            replacement = substitutions_[i + 1];
            break;
        }
    if (!replacement.empty()) {
        step([&] { root_->ModuleList().SetModule(kBus, kDrop, -rack, slot, replacement); });
        return;
    }
    result_ = ErrNum::kWarnings;
    root_->InfoMessage(
        CStdLib::Sprintf(modResStr::ResString(msgVirtualModuleUnresolved), {name, -rack, slot}),
        eMsgWarning, kSource);
}

}  // namespace vellcfgrdr
