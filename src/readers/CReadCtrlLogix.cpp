#include "readers/CReadCtrlLogix.h"

#include <unordered_map>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "support/CByteMath.h"
#include "support/CStdLib.h"
#include "support/CStringCollection.h"
#include "support/CStringTokenizer.h"
#include "support/CWildcard.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadCtrlLogix";
const Where kWhere = Where::Object("CReadCtrlLogix");
constexpr int32_t kMinVersion = 514;  // 2.2
constexpr int32_t kDropFamily = DropFamily::kControlLogix;

// A whole number of the given range, as the legacy conversion reads it:
// a text that is no number raises 13, one out of range 6.
int32_t ToInteger(const std::string& text, int32_t min, int32_t max) {
    if (!CStdLib::IsNumeric(text))
        throw CVellError(ErrNum::kTypeMismatch,
                         ModGSCore::StandardErrorText(ErrNum::kTypeMismatch) + (" - " + text));
    const double v = CStdLib::RoundHalfEven(CStdLib::Val(text));
    if (!(v >= min && v <= max))
        throw CVellError(ErrNum::kOverflow,
                         ModGSCore::StandardErrorText(ErrNum::kOverflow) + (" - " + text));
    return static_cast<int32_t>(v);
}

int16_t ToInt16(const std::string& text) {
    return static_cast<int16_t>(ToInteger(text, INT16_MIN, INT16_MAX));
}

}  // namespace

int32_t CReadCtrlLogix::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    try {
        ReadFile();
        if (!sawController_) {
            // No CONTROLLER block: binary data or another tool's text.
            root.InfoMessage(
                modResStr::ResString(msgUnknownFileFormat) + ": " + root.ProjectFileName(),
                eMsgError, kSource);
            return ErrNum::kBadFileFormat;
        }
        // Every distinct parent (letter case aside) is a drop, in order of
        // first appearance; its members are the records naming it exactly.
        std::vector<std::string> drops;
        CStringCollection seen;
        seen.SetUnique(true);
        std::unordered_map<std::string, std::vector<const CCtrlLogixPart*>> members;
        for (const CCtrlLogixPart& part : parts_) {
            if (seen.Add(part.parent())) drops.push_back(part.parent());
            members[part.parent()].push_back(&part);
            if (!controller_ && part.parent() == part.Name() &&
                CUtf8::EqualsNoCase(part.Name(), "Local"))
                controller_ = &part;
        }
        if (controller_) SetController(controller_->CatalogNumber(), controller_->Slot());
        root.SetPlcFamily(plcControlLogix);
        root.BusList().AddBus(0, "ControlLogix Bus");
        for (size_t i = 0; i < drops.size(); ++i)
            FillDrop(static_cast<int32_t>(i + 1), members[drops[i]]);
        // Without a "Local" controller module the processor type of the
        // CONTROLLER block names the PLC.
        if ((root.PlcName().empty() || root.PlcName() == modResStr::ResString(msgPlcNotValid)) &&
            !processorType_.empty())
            SetController(processorType_, firstSlot_);
        return result_;
    } catch (...) {
        const CVellError e = ModGSCore::CurrentError();
        root.InfoMessage(e.Description(), eMsgWarning, "ReadCtrlLogix");
        return e.Number();
    }
}

void CReadCtrlLogix::ReadFile() {
    try {
        reader_.SetTrimWhiteSpace(true);
        reader_.ReadFile(root_->ProjectFileName());
        while (!reader_.AtEnd()) {
            reader_.GetNextLine();
            if (reader_.LineStartsWith("IE_VER"))
                CheckVersion();
            else if (reader_.LineStartsWith("CONTROLLER"))
                ReadController();
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadFile");
    }
}

void CReadCtrlLogix::CheckVersion() {
    const std::string rest(reader_.Remainder());
    CStringTokenizer tokens;
    tokens.SetDelimiters(" .;:=");
    tokens.SetSource(rest);
    auto byte = [](const std::string& token) {
        const double v = CStdLib::RoundHalfEven(CStdLib::Val(token));
        if (!(v >= 0 && v <= 255))
            throw CVellError(ErrNum::kOverflow,
                             ModGSCore::StandardErrorText(ErrNum::kOverflow) + (" - " + token));
        return static_cast<uint8_t>(v);
    };
    const uint8_t major = byte(tokens.NextToken());
    const uint8_t minor = byte(tokens.NextToken());
    const int32_t version = static_cast<uint16_t>(CByteMath::MakeWord(major, minor));
    if (version < kMinVersion)
        throw CVellError(ErrNum::kBadFileFormat,
                         "ControlLogix version " + rest + " is not supported",
                         ModGSCore::WhereText(kWhere, "ReadFile"));
}

void CReadCtrlLogix::ReadController() {
    sawController_ = true;
    for (;;) {
        if (reader_.LineContains("ProcessorType"))
            processorType_ = Value();
        else if (reader_.LineStartsWith("MODULE"))
            ReadModule();
        else if (reader_.LineStartsWith("END_CONTROLLER") || reader_.AtEnd())
            return;
        reader_.GetNextLine();
    }
}

void CReadCtrlLogix::ReadModule() {
    CCtrlLogixPart part;
    {
        CStringTokenizer tokens;
        tokens.SetDelimiters(" ,");
        tokens.SetSource(reader_.Remainder());
        part.SetName(tokens.NextToken());
    }
    for (;;) {
        if (reader_.LineStartsWith("CONNECTION")) {
            while (!reader_.AtEnd()) {
                reader_.GetNextLine();
                if (reader_.LineStartsWith("END_CONNECTION")) break;
            }
        } else if (reader_.LineContains("Parent ")) {
            part.SetParent(Value());
        } else if (reader_.LineContains("CatalogNumber ")) {
            const std::string value = Value();
            part.SetCatalogNumber(value.substr(0, value.find('/')));
        } else if (reader_.LineContains("Slot ")) {
            part.SetSlot(ToInt16(Value()));
        } else if (reader_.LineContains("Description")) {
            part.SetDescription(Value());
        } else if (reader_.LineContains("ChassisSize ")) {
            part.SetChassisSize(ToInt16(Value()));
        } else if (reader_.LineContains("PortLabel ")) {
            part.SetPortLabel(Value());
        } else if (reader_.LineStartsWith("END_MODULE")) {
            parts_.push_back(std::move(part));
            return;
        }
        // A block the text ends inside is dropped.
        if (reader_.AtEnd()) return;
        reader_.GetNextLine();
    }
}

std::string CReadCtrlLogix::Value() const {
    CStringTokenizer tokens;
    tokens.SetDelimiters(" :=,)");
    tokens.SetQuoted(true);
    tokens.SetSource(reader_.Remainder());
    return CStdLib::UnQuoteString(tokens.NextToken());
}

void CReadCtrlLogix::SetController(std::string catalogNumber, int16_t slot) {
    const IPartInfo& parts = root_->RequirePartInfo();
    if (!parts.PartExists(catalogNumber)) {
        std::string hit;
        for (const std::string& name : parts.PartNamesSubset(plcControlLogix, ptCpu)) {
            if (CStdLib::StringStartsWith(name, catalogNumber, false)) {
                hit = name;
                break;
            }
        }
        if (hit.empty()) {
            for (const std::string& pattern :
                 CStdLib::Split(root_->RequireFamilyInfo().GenericCPUs(plcControlLogix), '|')) {
                if (!pattern.empty() && CWildcard::Matches(catalogNumber, pattern)) {
                    hit = pattern;
                    for (char& c : hit)
                        if (c == '#' || c == '*' || c == '?') c = 'x';
                    break;
                }
            }
        }
        if (!hit.empty()) catalogNumber = hit;
    }
    root_->SetPlcName(catalogNumber);
    root_->SetPlcFamily(plcControlLogix);
    if (slot == 0 && firstSlot_ != 0) slot = firstSlot_;
    root_->BusList().MakeSureBusExists(0, kDropFamily);
    root_->DropList().MakeSureDropExists(0, 1, kDropFamily);
    root_->ModuleList().SetModule(0, 1, 1, slot, root_->PlcName());
}

std::string CReadCtrlLogix::ChassisPart(int16_t size) const {
    // The chassis sizes that exist are named as they are; other sizes take
    // the next chassis up.
    const std::string exact = "1756-A" + std::to_string(size);
    if (size > 0 && root_->RequirePartInfo().PartExists(exact, true)) return exact;
    return size < 8 ? "1756-A7" : size <= 10 ? "1756-A10" : "1756-A17";
}

void CReadCtrlLogix::FillDrop(int32_t drop, const std::vector<const CCtrlLogixPart*>& members) {
    root_->DropList().AddDrop3(0, drop, kDropFamily, "LocalRemote");
    int32_t rack = 1;
    for (const CCtrlLogixPart* p : members) {
        const CCtrlLogixPart& part = *p;
        if (part.chassisSize() != 0) {
            if (firstSlot_ == 0 && part.Slot() != 0) firstSlot_ = part.Slot();
            root_->RackList().SetRack(0, drop, rack, ChassisPart(part.chassisSize()));
        }
        PortLabel2Rack(drop, rack, part.PortLabel());
        root_->RackList().MakeSureRackExists(0, drop, rack);
        CCfgModuleList& modules = root_->ModuleList();
        const std::string there = modules.ModuleNameIn(0, drop, rack, part.Slot());
        if (there.empty()) {
            modules.SetModule(0, drop, rack, part.Slot(), part.CatalogNumber());
        } else if (&part != controller_) {
            // The first module keeps the position; the planner must hear of
            // the one that is left out.
            root_->InfoMessage(
                CStdLib::Sprintf(
                    "Module %s (%s) left out: drop %d, rack %d, slot %d already holds %s",
                    {part.Name(), part.CatalogNumber(), drop, rack, part.Slot(), there}),
                eMsgWarning, kSource);
            result_ = ErrNum::kWarnings;
        }
    }
}

void CReadCtrlLogix::PortLabel2Rack(int32_t drop, int32_t& rack, const std::string& label) {
    // Labels such as "RxBACKPLANE" or "ENet" carry no rack number.
    const std::string tail(CUtf8::Right(CUtf8::Trim(label), 2));
    if (!CStdLib::IsNumeric(tail)) return;
    const int32_t number = CStdLib::Atol(tail);
    if (number < 0) {
        root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgInvalidRackNumber), {tail}),
                           eMsgWarning, kSource);
        return;
    }
    rack = number;
    root_->RackList().SetRack(
        0, drop, rack,
        root_->RequireFamilyInfo().DefaultRack(plcControlLogix, static_cast<int16_t>(number)));
}

}  // namespace vellcfgrdr
