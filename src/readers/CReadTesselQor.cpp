#include "readers/CReadTesselQor.h"

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "parts/IPartInfo.h"
#include "readers/CConvertQor.h"
#include "readers/CReadDunlinWarden.h"
#include "support/CByteCursor.h"
#include "support/CByteMath.h"
#include "support/CFileSys.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadTesselQor";
const Where kWhere = Where::Object(kSource);

constexpr int32_t kMinVersion = 91;
constexpr int32_t kMaxVersion = 94;
constexpr int64_t kConfigDirectory = 3;  // record of section 2, the configuration
constexpr int64_t kWardenDirectory = 5;  // record of section 4, the Warden table
constexpr int64_t kConfigBytes = 8 * CReadTesselQor::kRecordLength;
constexpr size_t kWardenLengthWord = 44;  // counted from 0

uint16_t WordAt(CByteCursor& cur, int64_t offset) {
    cur.Seek(offset);
    return cur.U16(ByteOrder::Little);
}

}  // namespace

const ReaderDescription& CReadTesselQor::Description() {
    static const ReaderDescription d{
        pfTesselQor, "tesselqor", "Tessel Qor project", "Corvane", {"dcf"}};
    return d;
}

void CReadTesselQor::SeekRecord(CByteCursor& cur, int64_t record, int64_t length) {
    if (record < 1 || (record - 1) * length >= static_cast<int64_t>(cur.Size()))
        ModGSCore::RaiseError(
            cur.Name() + ": record " + std::to_string(record) + " is not in the file",
            ErrNum::kBadFileFormat);
    cur.Seek((record - 1) * length);
}

bool CReadTesselQor::IsMainFile(std::span<const uint8_t> mdf) {
    if (mdf.size() < 6) return false;
    if (std::memcmp(mdf.data(), "TSMD", 4) != 0 && std::memcmp(mdf.data(), "NSMD", 4) != 0)
        return false;
    const auto version = static_cast<int16_t>(mdf[4] | (mdf[5] << 8));
    return !CTesselGenericFunctions::NotInRange(version, kMinVersion, kMaxVersion);
}

QorConfiguration CReadTesselQor::ReadConfiguration(CByteCursor& mdf) {
    SeekRecord(mdf, kConfigDirectory, kRecordLength);
    const int64_t first = WordAt(mdf, (kConfigDirectory - 1) * kRecordLength + 2);
    const auto memory =
        static_cast<int16_t>(WordAt(mdf, (kConfigDirectory - 1) * kRecordLength + 14));
    SeekRecord(mdf, first, kRecordLength);
    const std::span<const uint8_t> blocks = mdf.Bytes(kConfigBytes);

    std::array<int16_t, 128> raw{};
    for (size_t k = 0; k < raw.size(); ++k)
        raw[k] = static_cast<int16_t>((blocks[2 * k] << 8) | blocks[2 * k + 1]);
    TesselControllerId id;
    id.memorySize = static_cast<int32_t>(CTesselGenericFunctions::IntToFloat(memory));
    id.firstId = raw[53] & 256;
    id.modelCode = raw[0];
    id.optionByte = CByteMath::HighByte(raw[49]);
    id.secondOption = raw[51];
    id.optionByte2 = CByteMath::LowByte(raw[127]);

    QorConfiguration config;
    config.proc = CTesselGenericFunctions::SetProcType(id);
    config.addressDigits =
        CTesselGenericFunctions::SetConfWord(blocks, config.words, config.proc.procType);
    return config;
}

std::span<const uint8_t> CReadTesselQor::ReadWarden(CByteCursor& mdf,
                                                    const QorConfiguration& config) {
    SeekRecord(mdf, kWardenDirectory, kRecordLength);
    const int64_t first = WordAt(mdf, (kWardenDirectory - 1) * kRecordLength + 2);
    const int64_t records = WordAt(mdf, (kWardenDirectory - 1) * kRecordLength + 4);
    const int64_t length = 4 * static_cast<int64_t>(config.words[kWardenLengthWord]);
    if (length > records * kRecordLength)
        ModGSCore::RaiseError(mdf.Name() + ": the Warden table of " + std::to_string(length) +
                                  " bytes is longer than its section",
                              ErrNum::kBadFileFormat);
    SeekRecord(mdf, first, kRecordLength);
    return mdf.Bytes(length);
}

int32_t CReadTesselQor::GetIoConfig(CIoConfig& root) {
    std::string path = CFileSys::FileChangeExtension(root.ProjectFileName(), "mdf");
    if (!CFileSys::FileExists(path)) {
        const std::string upper = CFileSys::FileChangeExtension(root.ProjectFileName(), "MDF");
        if (CFileSys::FileExists(upper)) path = upper;
    }
    try {
        if (!CFileSys::FileExists(path))
            ModGSCore::RaiseError("File not found: " + path, ErrNum::kBadFileFormat);
        std::vector<uint8_t> image;
        CStdio::ReadBinFile(path, image);
        if (!IsMainFile(image)) {
            root.InfoMessage(modResStr::ResString(msgUnknownFileFormat) + ": " + path, eMsgError,
                             kSource);
            return ErrNum::kBadFileFormat;
        }
        CByteCursor cur(image, "Tessel Qor main file", ErrNum::kBadFileFormat);
        const QorConfiguration config = ReadConfiguration(cur);
        root.SetPlcName(CTesselGenericFunctions::GetCpuName(config.proc.procType));
        root.SetPlcFamily(CTesselGenericFunctions::GetCpuFamily(config.proc.procType));

        const std::span<const uint8_t> table = ReadWarden(cur, config);
        std::ignore = CReadDunlinWarden().ParseWarden(table, root);
        const PlacedNames warden = NamesByPosition(root);
        CConvertQor().ReadWardenDoc(path, root);
        MergeLists(root, warden);
        return ErrNum::kOk;
    } catch (...) {
        root.ErrorReport(kWhere, "GetIoConfig");
        root.InfoMessage(ModGSCore::ErrorText(kWhere, "GetIoConfig"), eMsgError, kSource);
        return ErrNum::kBadFileFormat;
    }
}

CReadTesselQor::PlacedNames CReadTesselQor::NamesByPosition(const CIoConfig& root) {
    PlacedNames names;
    for (const CCfgModule& m : root.ModuleList())
        names[{m.BusNum(), m.DropNum(), m.rackNum(), m.Slotnum()}] = m.PartName();
    return names;
}

// The descriptions overwrite what the Warden table placed, so the name the
// table gave each position is kept from before them: it is the hardware a
// description is checked against. A text that names no part the table
// confirms stays as written (a fragment such as "DIN" could be any module).
void CReadTesselQor::MergeLists(CIoConfig& root, const PlacedNames& warden) {
    const IPartInfo& parts = root.RequirePartInfo();
    CCfgModuleList& modules = root.ModuleList();
    // Positions first, in list order: re-placing a module moves it to the
    // end of the list.
    std::vector<std::pair<std::array<int32_t, 4>, std::string>> current;
    for (const CCfgModule& m : modules)
        current.push_back({{m.BusNum(), m.DropNum(), m.rackNum(), m.Slotnum()}, m.PartName()});
    for (const auto& [position, name] : current) {
        const auto& [bus, drop, rack, slot] = position;
        const auto placed = warden.find(position);
        if (placed == warden.end() || placed->second == name) continue;
        const CCfgDrop* dropItem = root.DropList().DropByKey(bus, drop);
        const int32_t family = dropItem ? dropItem->IoFamily() : 0;
        const std::string like = parts.FindModuleLike(family, name);
        const int16_t id = parts.ModuleId(like);
        if (id > 0 && parts.ModuleId(placed->second) == id)
            modules.SetModule(bus, drop, rack, slot, like);
    }
}

}  // namespace vellcfgrdr
