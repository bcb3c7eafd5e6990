#include "readers/CReadTessel32.h"

#include <cmath>
#include <limits>

#include "core/CNumText.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "model/CIoConfig.h"
#include "parts/CAdoXs.h"
#include "readers/CReadDunlinWarden.h"
#include "readers/CReaderKit.h"
#include "readers/CTesselGenericFunctions.h"
#include "readers/CTesselZipper.h"
#include "support/CHexDump.h"
#include "support/CStdLib.h"
#include "support/CWorkFolder.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadTessel32";
const Where kWhere = Where::Object(kSource);

constexpr int32_t kProcTypeIndex = 39;
constexpr int32_t kIoMapIndex = 4;
// A record's text: sequence character, an unused one, then the payload.
constexpr size_t kRecordHeader = 2;

// The part of an identifier such as "1.2.3" as a 16-bit number; anything
// else raises 13 (not a number) or 6 (too large), as the conversion of a
// bad identifier must end the step that reads it.
int16_t IdPart(std::string_view text) {
    const std::string_view t = CUtf8::Trim(text);
    if (!CNumText::IsNumeric(t))
        ModGSCore::RaiseError("identifier part '" + std::string(t) + "'", ErrNum::kTypeMismatch);
    const double v = CNumText::RoundHalfEven(CNumText::Val(t));
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        ModGSCore::RaiseError("identifier part '" + std::string(t) + "'", ErrNum::kOverflow);
    return static_cast<int16_t>(v);
}

std::string Trimmed(const CAdoValue& v) {
    return std::string(CUtf8::Trim(v.Text()));
}

}  // namespace

const ReaderDescription& CReadTessel32::Description() {
    static const ReaderDescription d{
        pfTessel32, "tessel32", "Tessel 32 project container", "Corvane", {"pwx"}};
    return d;
}

void CReadTessel32::Debug(const std::string& text) const {
    root_->DebugMessage(text, kSource);
}

int32_t CReadTessel32::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    try {
        // A private folder for this call, removed on every way out.
        CWorkFolder work("ReadTessel32");
        const std::string dbPath = Expand(work.Path());
        if (dbPath.empty()) {
            Debug("decoding failed");
            return CReaderKit(root, kSource).NotOurFormat();
        }
        Debug("decoding OK");
        return ReadDatabase(root, dbPath);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "GetIoConfig");
    }
}

int32_t CReadTessel32::ReadDatabase(CIoConfig& root, const std::string& dbPath) {
    root_ = &root;
    try {
        CAdoXs db;
        db.EvtAdoInfoMessage.Subscribe([this](const std::string& message) {
            // mTesselDb_AdoInfoMessage
            root_->InfoMessage(message, eMsgWarning, kSource);
        });
        db.OpenDb(dbPath);
        Debug("Opened Tessel Db");

        const int16_t procType = ReadProcType(db);
        const int32_t family = procType == 0 ? 0 : CTesselGenericFunctions::GetCpuFamily(procType);
        // A type without a family cannot name its hardware: as unsupported as 0.
        if (family == 0) {
            Debug("errUnsupportedCPU");
            return ErrNum::kPlcNotValid;
        }
        const std::string cpuName = CTesselGenericFunctions::GetCpuName(procType);
        root.SetPlcName(root.RequirePartMapping().ToPartRef(cpuName));
        Debug(CStdLib::Sprintf("GetCpuName=%s (equiv %s)", {root.PlcName(), cpuName}));
        root.SetPlcFamily(family);

        ReadRacks(db);

        const std::vector<uint8_t> document = ReadDocument(db, kIoMapIndex);
        int32_t status = CReadDunlinWarden().ParseWarden(document, root);
        Debug("pass 1 stat=" + std::to_string(status));
        if (status == ErrNum::kOk) {
            status = ReadSlots(db);
            Debug("pass 2 stat=" + std::to_string(status));
        }
        return status;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadDatabase");
    }
}

std::string CReadTessel32::Expand(const std::string& workFolder) {
    CTesselZipper zipper;
    return zipper.Unpack(root_->ProjectFileName(), workFolder);
}

int16_t CReadTessel32::ReadProcType(CAdoXs& db) {
    const auto rs = db.GetRecordSetEx("select Data from tbl_ProjectConfiguration where nIndex = " +
                                          std::to_string(kProcTypeIndex),
                                      CAdoXs::kLockOptimistic, CAdoXs::kCursorKeyset, true);
    int16_t procType = 0;
    if (!rs->Eof()) {
        const std::vector<uint8_t> data = rs->Field("Data").Bytes();
        Debug("Data " + CHexDump::ToHex(data));
        if (data.size() > kRecordHeader) {
            const std::string_view number(
                reinterpret_cast<const char*>(data.data()) + kRecordHeader,
                data.size() - kRecordHeader);
            const double v = CNumText::RoundHalfEven(CNumText::Val(number));
            // Beyond 16 bits no processor type exists: taken as none.
            if (v >= std::numeric_limits<int16_t>::min() &&
                v <= std::numeric_limits<int16_t>::max())
                procType = static_cast<int16_t>(v);
        }
    }
    ModGSCore::DebugTrace("GetProcType=" + std::to_string(procType), kSource);
    return procType;
}

void CReadTessel32::ReadRacks(CAdoXs& db) {
    try {
        const auto rs = db.GetRecordSetEx("select Rack_ID, Desc1 from Rack",
                                          CAdoXs::kLockOptimistic, CAdoXs::kCursorKeyset, true);
        const IPartMapping& mapping = root_->RequirePartMapping();
        const IPartInfo& parts = root_->RequirePartInfo();
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const std::string desc = Trimmed(rs->Field("Desc1"));
            if (desc.empty()) continue;
            const std::vector<std::string> id =
                CStdLib::Split(Trimmed(rs->Field("Rack_ID")) + ".0", '.');
            if (id.size() < 3)
                ModGSCore::RaiseError("rack identifier '" + Trimmed(rs->Field("Rack_ID")) + "'",
                                      ErrNum::kSubscript);
            const int16_t bus = IdPart(id[0]), drop = IdPart(id[1]), rack = IdPart(id[2]);
            const std::string part = mapping.ToPartRef(desc);
            if (parts.PartExists(part)) root_->RackList().AddRack(bus, drop, rack, part);
        }
    } catch (...) {
        // The racks are a refinement: without them pass 1 uses default racks.
        root_->ErrorReport(kWhere, "ReadRacks");
    }
}

std::vector<uint8_t> CReadTessel32::ReadDocument(CAdoXs& db, int32_t index) {
    const auto rs = db.GetRecordSetEx(
        "select nIndex, Data from tbl_ProjectConfiguration where nIndex = " + std::to_string(index),
        CAdoXs::kLockOptimistic, CAdoXs::kCursorKeyset, true);
    const size_t count = static_cast<size_t>(rs->RecordCount());
    std::vector<std::vector<uint8_t>> pieces(count);
    std::vector<bool> seen(count);
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const std::vector<uint8_t> data = rs->Field("Data").Bytes();
        const size_t sequence = data.empty() ? count : data[0];
        if (sequence >= count)
            ModGSCore::RaiseError("configuration record " + std::to_string(index) +
                                      ": sequence number outside the record count",
                                  ErrNum::kSubscript);
        // Two pieces with one number would leave another missing unnoticed.
        if (seen[sequence])
            ModGSCore::RaiseError(
                "configuration record " + std::to_string(index) + ": sequence number given twice",
                ErrNum::kSubscript);
        seen[sequence] = true;
        if (data.size() > kRecordHeader)
            pieces[sequence].assign(data.begin() + static_cast<std::ptrdiff_t>(kRecordHeader),
                                    data.end());
    }
    std::vector<uint8_t> document;
    for (const auto& piece : pieces)
        document.insert(document.end(), piece.begin(), piece.end());
    return document;
}

int32_t CReadTessel32::ReadSlots(CAdoXs& db) {
    try {
        const auto rs = db.GetRecordSetEx("select Slot_ID, Desc1 from Slot",
                                          CAdoXs::kLockOptimistic, CAdoXs::kCursorKeyset, true);
        const IPartMapping& mapping = root_->RequirePartMapping();
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const std::string desc = Trimmed(rs->Field("Desc1"));
            if (desc.empty()) continue;
            const std::vector<std::string> id = CStdLib::Split(Trimmed(rs->Field("Slot_ID")), '.');
            if (id.size() < 4)
                ModGSCore::RaiseError("slot identifier '" + Trimmed(rs->Field("Slot_ID")) + "'",
                                      ErrNum::kSubscript);
            const int16_t bus = IdPart(id[0]), drop = IdPart(id[1]), rack = IdPart(id[2]),
                          slot = IdPart(id[3]);
            if (rack == 0 || slot == 0) continue;
            UpdateModule(bus, drop, rack, slot, mapping.ToPartRef(desc));
        }
        return ErrNum::kOk;
    } catch (...) {
        root_->ErrorReport(kWhere, "ReadSlots");
        return ErrNum::kBadFileFormat;
    }
}

void CReadTessel32::UpdateModule(int32_t bus, int32_t drop, int32_t rack, int32_t slot,
                                 const std::string& part) {
    try {
        CCfgModuleList& modules = root_->ModuleList();
        CCfgModule* module = modules.FindModule(bus, drop, rack, slot);
        if (!module) {
            if (root_->DropList().DropByKey(bus, drop))
                modules.SetModule(bus, drop, rack, slot, part);
        } else if (module->PartName().empty()) {
            module->SetPartName(part);
        } else if (module->PartName() != part && root_->RequirePartInfo().PartExists(part)) {
            module->SetPartName(part);
        }
    } catch (...) {
        Debug("Module Update error ignored");
        root_->ErrorReport(kWhere, "UpdateModule");
    }
}

}  // namespace vellcfgrdr
