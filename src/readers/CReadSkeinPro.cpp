#include "readers/CReadSkeinPro.h"

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "parts/CPartNaming.h"
#include "support/CStdLib.h"
#include "support/CStringTokenizer.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadSkeinPro";
const Where kWhere = Where::Object("CReadSkeinPro");

constexpr int32_t kLocalBus = 0;
constexpr int32_t kCpuDrop = 1;
constexpr int32_t kMaxNum16 = 32767;

// The text after the first "=" (the whole line without one), trimmed, with
// every double quote and apostrophe removed, cut to what the model keeps (a
// value may be as long as the file).
std::string ValueOf(std::string_view line, const CIoConfig& root) {
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos) line.remove_prefix(eq + 1);
    line = CUtf8::TrimBlanks(line);
    std::string value;
    value.reserve(line.size());
    for (char ch : line)
        if (ch != '"' && ch != '\'') value += ch;
    const std::string_view kept = root.LimitText(value);
    return kept.size() == value.size() ? value : std::string(kept);
}

// Word n (1-based) of the line cut at every single space; empty when the
// line has fewer words.
std::string_view WordOf(std::string_view line, size_t n) {
    size_t start = 0;
    for (size_t i = 1; i < n; ++i) {
        const size_t space = line.find(' ', start);
        if (space == std::string_view::npos) return {};
        start = space + 1;
    }
    const size_t end = line.find(' ', start);
    return line.substr(start, end == std::string_view::npos ? end : end - start);
}

std::string WithoutSpaces(std::string_view text) {
    std::string out;
    for (char ch : text)
        if (ch != ' ') out += ch;
    return out;
}

}  // namespace

const char* CReadSkeinPro::StateName(int32_t state) noexcept {
    static constexpr const char* kNames[] = {"Initial", "HARD_CONFIGURATION",
                                             "CU",      "SUB_MODULE",
                                             "LOGICAL", "BUS",
                                             "RACK",    "SUPPLY",
                                             "MODULE",  "Error"};
    return state >= 0 && state <= stError ? kNames[state] : "";
}

const ReaderDescription& CReadSkeinPro::Description() {
    static const ReaderDescription d{
        pfSkeinPro, "skeinpro", "Skein Pro hardware export", "Corvane", {"fef"}};
    return d;
}

int32_t CReadSkeinPro::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    CReaderKit kit(root, kSource);
    kit_ = &kit;
    try {
        text_.SetCaseSensitive(false);
        text_.SetSkipBlankLines(true);
        text_.SetTrimWhiteSpace(true);
        text_.SetLineCommentDelimiter(";");
        text_.ReadFile(root.ProjectFileName());
        state_ = stInitial;
        while (!text_.AtEnd() && state_ != stError)
            HandleLine(text_.GetNextLine());
        // Without a HARD_CONFIGURATION block the file is no hardware export
        // (another tool's text, binary data, an empty file): an empty PLC
        // delivered as a success would read as "nothing to order".
        if (!sawHardConfiguration_) return kit.NotOurFormat();
        // A text cut inside a module block has lost that module; it must
        // not pass for a complete export.
        if (inModule_ && state_ != stError) {
            kit.Warn(msgFileEndsInBlock, {});
            kit.LeftOut();
        }
        return kit.Status(result_);
    } catch (...) {
        root.ErrorReport(kWhere, "GetIoConfig");
        return ModGSCore::CurrentError().Number();
    }
}

void CReadSkeinPro::Enter(State next) {
    stack_.Push(state_);
    state_ = next;
    root_->DebugMessage(std::string("Enter ") + StateName(next), kSource);
}

void CReadSkeinPro::Leave() {
    // Only a state that was entered reacts to an END line, so the stack
    // always holds the state to return to.
    state_ = stack_.Pop();
    root_->DebugMessage(std::string("Back to ") + StateName(state_), kSource);
}

void CReadSkeinPro::HandleLine(std::string_view line) {
    switch (state_) {
        case stInitial:
            if (StartsWith("HARD_CONFIGURATION")) {
                sawHardConfiguration_ = true;
                Enter(stHardConfiguration);
            }
            break;
        case stHardConfiguration:
            if (StartsWith("END_CONFIGURATION")) Leave();
            if (StartsWith("CU")) {
                Enter(stCu);
            } else if (StartsWith("BUS")) {
                ReadBusLine(line);
                Enter(stBus);
            }
            break;
        case stCu:
            if (StartsWith("END_CU"))
                Leave();
            else if (StartsWith("SUB_MODULE"))
                Enter(stSubModule);
            else if (StartsWith("LOGICAL"))
                Enter(stLogical);
            if (StartsWith("REFERENCE"))
                ReadCpuReference(line);
            else if (StartsWith("ADDRESS"))
                ReadCpuAddress(line);
            break;
        case stSubModule:
            if (StartsWith("END_SUB_MODULE")) Leave();
            break;
        case stLogical:
            if (StartsWith("END_LOGICAL")) Leave();
            break;
        case stBus:
            if (StartsWith("END_BUS")) Leave();
            if (StartsWith("RACK")) ReadRackLine(line);
            break;
        case stRack:
            if (StartsWith("END_RACK")) {
                Leave();
            } else if (StartsWith("SUPPLY")) {
                Enter(stSupply);
            } else if (StartsWith("MODULE")) {
                address_.reset();
                reference_.clear();
                moduleLine_ = text_.LineNo();
                inModule_ = true;
                Enter(stModule);
            } else if (StartsWith("REFERENCE_2")) {
                secondRack_ = true;
                ReadRackReference(line, 2);
            } else if (StartsWith("REFERENCE")) {
                ReadRackReference(line, 1);
            }
            break;
        case stSupply:
            if (StartsWith("END_SUPPLY"))
                Leave();
            else if (StartsWith("REFERENCE"))
                ReadSupplyReference(line);
            break;
        case stModule:
            if (StartsWith("END_MODULE")) {
                PlaceModule();
                inModule_ = false;
                Leave();
            } else if (StartsWith("Address")) {
                address_ = LineNumber(ValueOf(line, *root_), 0, kMaxNum16, msgBadSlotNumber);
            } else if (StartsWith("REFERENCE")) {
                reference_ = ValueOf(line, *root_);
            } else if (StartsWith("SUB_MODULE")) {
                Enter(stSubModule);
            } else if (StartsWith("LOGICAL")) {
                Enter(stLogical);
            }
            break;
        case stError:
            break;
    }
}

// "BUS <kind>": every kind but the local rack bus "X" makes a bus. The bus
// takes the counter after one step and what follows is placed on the
// number after a second step; see the notes on formats in the README.
void CReadSkeinPro::ReadBusLine(std::string_view line) {
    CStringTokenizer tokens;
    tokens.SetDelimiters(" '");
    tokens.SetSource(line);
    const std::string keyword = tokens.NextToken();
    const std::string kind = tokens.NextToken();
    if (kind == "X") return;
    if (busCounter_ + 2 > kMaxNum16) ModGSCore::RaiseError("bus counter", ErrNum::kOverflow);
    ++busCounter_;
    root_->BusList().AddBus(busCounter_, CStdLib::Sprintf("%s_%s", {keyword, kind}));
    ++busCounter_;
}

void CReadSkeinPro::ReadCpuReference(std::string_view line) {
    const std::string name = WithoutSpaces(ValueOf(line, *root_));
    root_->SetPlcFamily(root_->RequirePartInfo().GuessCpuFamily(name));
    if (root_->PlcFamily() == plcNone) {
        result_ = ErrNum::kPlcNotValid;
        return;
    }
    bool found = false;
    root_->SetPlcName(root_->RequirePartMapping().MappCPU(name, found, root_->PlcFamily()));
    ReportReplacement(name, root_->PlcName());
}

void CReadSkeinPro::ReadCpuAddress(std::string_view line) {
    const std::optional<int32_t> slot = LineNumber(WordOf(line, 2), 0, kMaxNum16, msgBadSlotNumber);
    if (!slot) return;
    root_->DropList().MakeSureDropExists(kLocalBus, kCpuDrop, DropFamily::kHeron);
    root_->ModuleList().SetModule(kLocalBus, kCpuDrop, 1, *slot, root_->PlcName());
}

// "RACK <address>": rack address n is drop n + 1 of the local bus, made
// afresh. A line without a usable address leaves the whole block unread
// rather than filling another drop.
void CReadSkeinPro::ReadRackLine(std::string_view line) {
    const std::optional<int32_t> address =
        LineNumber(WordOf(line, 2), 0, kMaxNum16 - 1, msgBadRackNumber);
    if (!address) return;
    rackReference1_.clear();
    rackReference2_.clear();
    secondRack_ = false;
    drop_ = *address + 1;
    root_->DropList().RemoveDrop(kLocalBus, drop_);
    root_->DropList().AddDrop3(kLocalBus, drop_, DropFamily::kHeron, "");
    Enter(stRack);
}

void CReadSkeinPro::ReadRackReference(std::string_view line, int32_t rack) {
    std::string& reference = rack == 2 ? rackReference2_ : rackReference1_;
    reference = ValueOf(line, *root_);
    const std::string part = RackPartName(reference);
    ReportReplacement(reference, part);
    root_->RackList().SetRack(busCounter_, drop_, rack, part);
}

void CReadSkeinPro::ReadSupplyReference(std::string_view line) {
    const std::string part =
        root_->RequirePartMapping().MatchPower(ValueOf(line, *root_), plcHeron);
    root_->ModuleList().SetModule(busCounter_, drop_, secondRack_ ? 2 : 1, skPower, part);
}

// Addresses run on through a second rack: with a REFERENCE_2 line, 8 and
// above are the slots of rack 2.
void CReadSkeinPro::PlaceModule() {
    if (!address_ || reference_.empty()) {
        kit_->Warn(msgModuleBlockSkipped, {moduleLine_});
        kit_->LeftOut();
        return;
    }
    int32_t slot = *address_ % 100;
    int32_t rack = 1;
    if (slot >= 8 && secondRack_) {
        slot -= 8;
        rack = 2;
    }
    const IPartMapping& mapping = root_->RequirePartMapping();
    const std::string reference = mapping.ToPartRef(reference_);
    std::string part = mapping.MatchModuleName(reference, plcHeron);
    if (!root_->RequirePartInfo().PartExists(part, false))
        part = mapping.MatchModuleName(part, plcBriskFinch);
    ReportReplacement(reference, part);
    root_->ModuleList().SetModule(busCounter_, drop_, rack, slot, part);
}

// Extendable racks are catalogued with "EX" while exports may end in "E".
std::string CReadSkeinPro::RackPartName(std::string_view reference) const {
    std::string name = WithoutSpaces(reference);
    if (!name.empty() && name.back() == 'E') name += 'X';
    if (root_->RequirePartInfo().PartExists(name, false)) return name;
    return root_->RequireFamilyInfo().DefaultRack(plcHeron, 1);
}

void CReadSkeinPro::ReportReplacement(std::string_view oldName, std::string_view newName) const {
    if (CUtf8::ToLower(WithoutSpaces(oldName)) == CUtf8::ToLower(WithoutSpaces(newName))) return;
    root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgPartMatched), {oldName, newName}),
                       eMsgWarning, kSource);
}

std::optional<int32_t> CReadSkeinPro::LineNumber(std::string_view word, int32_t low, int32_t high,
                                                 MsgId id) {
    return kit_->LineNumber(word, low, high, id, text_.LineNo(), text_.CurrLine());
}

}  // namespace vellcfgrdr
