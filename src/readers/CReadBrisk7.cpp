#include "readers/CReadBrisk7.h"

#include <array>
#include <cctype>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "parts/CPartNaming.h"
#include "readers/CReadSkein3.h"
#include "readers/CReaderKit.h"
#include "support/CByteMath.h"
#include "support/CHexDump.h"
#include "support/CStdLib.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadBrisk7";
const Where kWhere = Where::Object("CReadBrisk7");

// 0x7777DDDD as stored, low byte first.
constexpr std::array<uint8_t, 4> kSignature = {0xDD, 0xDD, 0x77, 0x77};

constexpr int32_t kBus = 0;
constexpr int32_t kDrop = 1;
// Racks beyond this number do not exist in a Brisk7 system.
constexpr int32_t kMaxRack = 14;
// A reference longer than any catalogue number is cut here; it is then
// reported as unknown like any other name the catalogue lacks.
constexpr size_t kMaxNameBytes = 256;

// Parts knowledge of the family (docs/catalogue.md): programming adapters
// and memory cards or batteries are stored in images but are no modules.
constexpr std::array<std::string_view, 2> kSkippedNames = {"BRKPRG0001", "BRKPRG0002"};
constexpr std::array<std::string_view, 2> kSkippedStems = {"BRKMEM", "BRKBAT"};
constexpr std::string_view kProcessorPrefix = "PMK";

bool StartsReference(std::span<const uint8_t> b, size_t p) {
    return ((b[p] == 'B' && b[p + 1] == 'R') || (b[p] == 'P' && b[p + 1] == 'M')) &&
           b[p + 2] == 'K';
}

// "?" in the pattern stands for any one character; letter case aside.
bool FitsPattern(std::string_view name, std::string_view pattern) {
    if (name.size() != pattern.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (pattern[i] != '?' && std::toupper(static_cast<unsigned char>(name[i])) !=
                                     std::toupper(static_cast<unsigned char>(pattern[i])))
            return false;
    return true;
}

}  // namespace

const ReaderDescription& CReadBrisk7::Description() {
    static const ReaderDescription d{
        pfSkein3, "brisk7", "Brisk7 or Skein-3 application image", "Corvane", {"bin"}};
    return d;
}

int32_t CReadBrisk7::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    try {
        std::vector<uint8_t> bytes;
        CStdio::ReadBinFile(root.ProjectFileName(), bytes);
        if (CByteMath::PatternOffset(0, bytes, kSignature) != 0) {
            const std::span<const uint8_t> head(bytes.data(), std::min<size_t>(bytes.size(), 16));
            root.InfoMessage(
                modResStr::ResString(msgUnknownFileFormat) + ": P" + CHexDump::MakePrintable(head),
                eMsgError, kSource);
            return ErrNum::kUnknownFormat;
        }
        root.SetPlcFamily(plcBrisk7);
        root.BusList().AddBus(kBus, "Tbus");
        root.DropList().AddDrop3(kBus, kDrop, DropFamily::kBrisk7, "");
        if (CReadSkein3::IsSkein3Image(bytes)) return CReadSkein3().GetIOmapSkein3(root, bytes);
        return GetIOmap_Brisk(bytes);
    } catch (...) {
        root.ErrorReport(kWhere, "GetIoConfig");
        return ModGSCore::CurrentError().Number();
    }
}

void CReadBrisk7::SetProcessor(const std::string& name) {
    root_->SetPlcFamily(plcBrisk7);
    root_->SetPlcName(name);
    root_->ModuleList().SetModule(kBus, kDrop, 1, skCpu, name);
}

void CReadBrisk7::Warn(const std::string& text) {
    root_->InfoMessage(text, eMsgWarning, kSource);
}

bool CReadBrisk7::IsProcessor(const std::string& name) const {
    if (CStdLib::StringStartsWith(name, kProcessorPrefix, false)) return true;
    for (const std::string& cpu : genericCpus_)
        if (!cpu.empty() && cpu == name) return true;
    return false;
}

CReadBrisk7::Kind CReadBrisk7::Classify(std::string& name) const {
    name = CPartNaming::Instance()->RemoveBlanks(name);
    for (std::string_view skipped : kSkippedNames)
        if (CUtf8::EqualsNoCase(name, skipped)) return {kSkip, 0};
    for (std::string_view stem : kSkippedStems)
        if (CUtf8::StartsWithNoCase(name, stem)) return {kSkip, 1};
    if (IsProcessor(name)) {
        name = root_->RequireFamilyInfo().DefaultCPU(plcBrisk7);
        return {ptCpu, 0};
    }
    const IPartInfo& parts = root_->RequirePartInfo();
    if (const int32_t type = parts.PartType(name); type != ptUnknown) return {type, 0};
    // Names with placeholder digits ("BRKAIN04xx") take what they fit.
    for (const std::string& part : parts.PartNamesSubset(plcBrisk7, ptUnknown)) {
        std::string pattern;
        const bool placeholder = part.find('x') != std::string::npos;
        for (char ch : part) {
            if (ch == ' ') continue;
            pattern += placeholder && (ch == 'x' || ch == 'y' || ch == 'z') ? '?' : ch;
        }
        if (FitsPattern(name, pattern)) {
            name = part;
            return {parts.PartType(part), 0};
        }
    }
    return {ptUnknown, 0};
}

int32_t CReadBrisk7::GetIOmap_Brisk(std::span<const uint8_t> bytes) {
    try {
        const IFamilyInfo& family = root_->RequireFamilyInfo();
        const IPartInfo& parts = root_->RequirePartInfo();
        genericCpus_ = CStdLib::Split(family.GenericCPUs(plcBrisk7), '|');
        const int32_t minSlot = family.MinSlot(plcBrisk7);
        int32_t position = minSlot;
        int32_t rack = 1;
        int32_t previousSlot = 0;

        // A reference needs its three letters and, three bytes before it,
        // its slot byte.
        for (size_t p = 3; p + 3 <= bytes.size(); ++p) {
            if (!StartsReference(bytes, p)) continue;
            int32_t slot = int32_t{bytes[p - 3]} - 1;
            size_t end = p;
            while (end < bytes.size() && bytes[end] >= 32)
                ++end;
            const std::string_view raw(reinterpret_cast<const char*>(bytes.data() + p),
                                       std::min(end - p, kMaxNameBytes));
            std::string name(CUtf8::Trim(CUtf8::FromCp1252(raw)));
            p = end;

            const Kind kind = Classify(name);
            bool place = false;
            switch (kind.kind) {
                case ptRack:
                    root_->RackList().SetRack(kBus, kDrop, root_->RackList().Count() + 1, name);
                    continue;
                case ptCpu:
                    SetProcessor(name);
                    processorPlaced_ = true;
                    continue;
                case ptPower:
                    root_->ModuleList().SetModule(kBus, kDrop, rack, skPower, name);
                    continue;
                case kSkip:
                    break;
                case ptModule:
                    place = true;
                    break;
                default:
                    Warn(CStdLib::Sprintf(modResStr::ResString(msgUnknownOrUnsupported), {name}));
                    incomplete_ = true;
                    place = true;
                    break;
            }
            if (place) {
                if (rack == 1 && !processorPlaced_) {
                    SetProcessor(family.DefaultCPU(plcBrisk7));
                    processorPlaced_ = true;
                }
                if (slot < previousSlot) {
                    ++rack;
                    if (slot == -1) slot = 0;
                }
                previousSlot = slot;
                root_->ModuleList().SetModule(kBus, kDrop, rack, slot, name);
                ++position;
                if (root_->RackList().rackName(kBus, kDrop, rack).empty()) {
                    root_->RackList().SetRack(kBus, kDrop, root_->RackList().Count() + 1,
                                              family.DefaultRack(plcBrisk7, rack));
                    if (root_->RackList().rackName(kBus, kDrop, rack).empty()) {
                        Warn(modResStr::ResString(msgRackCountMismatch));
                        incomplete_ = true;
                    }
                }
                const int32_t slots =
                    parts.SlotCount(root_->RackList().rackName(kBus, kDrop, rack));
                if (position <= slots - 1 + minSlot) continue;
            }
            if (kind.subKind == 0) {
                if (rack > kMaxRack) {
                    Warn(CStdLib::Sprintf(modResStr::ResString(msgInvalidRackNumber), {rack}));
                    incomplete_ = true;
                }
                position = minSlot;
            }
        }
        root_->DropList().AddDrop3(kBus, kDrop, DropFamily::kBrisk7, "");
        if (incomplete_) {
            Warn(modResStr::ResString(msgImportNotCorrect));
            return ErrNum::kWarnings;
        }
        return ErrNum::kOk;
    } catch (...) {
        root_->ErrorReport(kWhere, "GetIOmap_Brisk");
        return CReaderKit(*root_, kSource).NotOurFormat();
    }
}

}  // namespace vellcfgrdr
