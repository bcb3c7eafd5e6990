#include "readers/CReadHalyard.h"

#include <cctype>
#include <cmath>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "parts/CPartNaming.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadHalyard";
const Where kWhere = Where::Object("CReadHalyard");

// Numbers of the model's places; a negative one would land on the places
// the model keeps for supplies.
constexpr int32_t kMaxNumber = INT16_MAX;

std::string BusTypeName(int32_t headType) {
    switch (headType) {
        case 0:
            return "Local Bus";
        case 1:
            return "LocalRemote";
        case 2:
            return "Keel Brume Bus";
        case 3:
            return "Interbus";
        case 4:
            return "Plover Bus";
        default:
            return "Generic Bus";
    }
}

int32_t DropFamilyCode(int32_t dropType) {
    switch (dropType) {
        case 0:
            return DropFamily::kDunlin;
        case 1:
            return DropFamily::kKestrel;
        case 2:
        case 3:
            return DropFamily::kKestrelDio;
        case 5:
            return DropFamily::kInterbus2;
        case 8:
            return DropFamily::kSorrel;
        case 9:
            return DropFamily::kDcp;
        case 10:
        case 16:
            return DropFamily::kWrenBrisk;
        case 12:
            return DropFamily::kPlover;
        case 13:
            return DropFamily::kInterbus;
        case 14:
            return DropFamily::kIoBus;
        default:
            return -1;
    }
}

bool StartsWithWord(std::string_view line, std::string_view word) {
    if (!CUtf8::StartsWithNoCase(line, word)) return false;
    if (line.size() == word.size()) return true;
    const auto next = static_cast<unsigned char>(line[word.size()]);
    return !std::isalnum(next) && next != '_';
}

}  // namespace

const ReaderDescription& CReadHalyard::Description() {
    static const ReaderDescription d{
        pfHalyard, "halyard", "Halyard configuration export", "Corvane", {"asc"}};
    return d;
}

int32_t CReadHalyard::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    kit_.emplace(root, kSource);
    status_ = ErrNum::kOk;
    try {
        reader_.SetCaseSensitive(false);
        reader_.SetSkipBlankLines(true);
        reader_.SetTrimWhiteSpace(true);
        reader_.SetLineCommentDelimiter(";");
        reader_.ReadFile(root.ProjectFileName());
    } catch (...) {
        root.ErrorReport(kWhere, "GetIoConfig");
        return ModGSCore::CurrentError().Number();
    }
    while (NextLine()) {
        if (Is("BEGIN PLCConfig")) {
            depth_ = 1;
            ReadPlcConfig();
            break;
        }
    }
    // Without a model (or a PLCConfig block) the file is no Halyard export.
    if (!sawModel_) return kit_->NotOurFormat();
    // A file cut off inside a block may have lost what followed: what was
    // read is delivered, but not as a complete import.
    if (depth_ > 0 && status_ == ErrNum::kOk) {
        kit_->Warn(msgFileEndsInBlock, {});
        kit_->LeftOut();
    }
    return kit_->Status(status_);
}

bool CReadHalyard::NextLine() {
    if (reader_.AtEnd()) return false;
    if (reader_.GetNextLine().empty()) return false;  // blank lines are skipped: the end
    if (IsBegin())
        ++depth_;
    else if (IsEnd() && depth_ > 0)
        --depth_;
    return true;
}

bool CReadHalyard::Is(std::string_view keyword) {
    return CUtf8::StartsWithNoCase(reader_.CurrLine(), keyword);
}

bool CReadHalyard::IsBegin() {
    return StartsWithWord(reader_.CurrLine(), "BEGIN");
}

bool CReadHalyard::IsEnd() {
    return StartsWithWord(reader_.CurrLine(), "END");
}

std::string CReadHalyard::Value() const {
    std::string_view line = reader_.CurrLine();
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos) line.remove_prefix(eq + 1);
    return CStdLib::UnQuoteString(CUtf8::TrimBlanks(line));
}

std::optional<int32_t> CReadHalyard::Number(int32_t min, int32_t max, MsgId id) {
    return kit_->LineNumber(Value(), min, max, id, reader_.LineNo(), reader_.CurrLine());
}

void CReadHalyard::SkipTo(int32_t depth) {
    while (depth_ >= depth && NextLine()) {
    }
}

void CReadHalyard::BlockFailed(std::string_view procName, int32_t depth) {
    root_->ErrorReport(kWhere, procName);
    status_ = ModGSCore::CurrentError().Number();
    SkipTo(depth);
}

void CReadHalyard::ReadPlcConfig() {
    try {
        while (NextLine()) {
            if (Is("modelName")) {
                if (!ReadCpuName()) return;
            } else if (Is("BEGIN DropHead")) {
                ReadDropHead();
            } else if (IsBegin()) {
                SkipTo(depth_);
            } else if (IsEnd()) {
                return;
            }
        }
    } catch (...) {
        // A model line that fails ends the configuration block.
        root_->ErrorReport(kWhere, "ReadPlcConfig");
        status_ = ModGSCore::CurrentError().Number();
    }
}

bool CReadHalyard::ReadCpuName() {
    sawModel_ = true;
    try {
        const std::string model = root_->RequirePartMapping().ToPartRef(Value());
        const int32_t family = root_->RequirePartInfo().PlcFamily(model);
        status_ = family != plcNone ? ErrNum::kOk : ErrNum::kPlcNotValid;
        root_->SetPlcName(model);
        root_->SetPlcFamily(family);
        root_->DebugMessage("CPU found " + CPartNaming::Instance()->CompressedName(model), kSource);
        root_->DebugMessage("Family " + CCvtEnum::PlcFamilyToString(family), kSource);
        return status_ == ErrNum::kOk;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "GetCpuName");
    }
}

void CReadHalyard::ReadDropHead() {
    const int32_t depth = depth_;
    try {
        int32_t headIndex = 0;
        int32_t headType = 0;
        bool busCreated = false;
        while (NextLine()) {
            if (Is("headIndex")) {
                // Without its number the head's drops have no place.
                const std::optional<int32_t> n = Number(0, kMaxNumber, msgBadBusNumber);
                if (!n) return SkipTo(depth);
                headIndex = *n;
            } else if (Is("headType")) {
                headType = Number(INT32_MIN, INT32_MAX, msgBadNumber).value_or(headType);
            } else if (Is("BEGIN IODrop")) {
                if (!busCreated) {
                    root_->BusList().AddBus(headIndex, BusTypeName(headType));
                    busCreated = true;
                }
                ReadIoDrop(headIndex);
            } else if (IsBegin()) {
                SkipTo(depth_);
            } else if (IsEnd()) {
                return;
            }
        }
    } catch (...) {
        BlockFailed("ReadDropHead", depth);
    }
}

void CReadHalyard::ReadIoDrop(int32_t bus) {
    const int32_t depth = depth_;
    try {
        int32_t dropNumber = 0;
        int32_t familyCode = 0;
        bool dropCreated = false;
        const auto createDrop = [&] {
            if (dropCreated) return;
            root_->DropList().AddDrop3(bus, dropNumber, familyCode, "");
            dropCreated = true;
        };
        while (NextLine()) {
            if (Is("dropNumber")) {
                const std::optional<int32_t> n = Number(0, kMaxNumber, msgBadDropNumber);
                if (!n) return SkipTo(depth);
                dropNumber = *n;
            } else if (Is("DropType")) {
                if (const std::optional<int32_t> n = Number(INT32_MIN, INT32_MAX, msgBadNumber))
                    familyCode = DropFamilyCode(*n);
            } else if (Is("BEGIN IOModule")) {
                createDrop();
                ReadModule(bus, dropNumber);
            } else if (IsBegin()) {
                SkipTo(depth_);
            } else if (IsEnd()) {
                createDrop();
                return;
            }
        }
    } catch (...) {
        BlockFailed("ReadIoDrop", depth);
    }
}

void CReadHalyard::ReadModule(int32_t bus, int32_t drop) {
    try {
        const int32_t depth = depth_;
        int32_t rack = 0;
        int32_t slot = 0;
        std::string name;
        while (NextLine()) {
            if (Is("rack") || Is("slot")) {
                const bool isRack = Is("rack");
                const std::optional<int32_t> n =
                    Number(0, kMaxNumber, isRack ? msgBadRackNumber : msgBadSlotNumber);
                // A module without its place is left out, never put on another's.
                if (!n) return SkipTo(depth);
                (isRack ? rack : slot) = *n;
            } else if (Is("moduleName")) {
                name = Value();
            } else if (Is("personality")) {
                Number(INT32_MIN, INT32_MAX, msgBadNumber);
            } else if (IsBegin()) {
                // Taking a nested block's END for the module's own would close
                // the drop and its head early and lose every drop after it.
                SkipTo(depth_);
            } else if (IsEnd()) {
                if (!name.empty()) root_->ModuleList().SetModule(bus, drop, rack, slot, name);
                return;
            }
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadModule");
    }
}

}  // namespace vellcfgrdr
