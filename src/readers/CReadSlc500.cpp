#include "readers/CReadSlc500.h"

#include <algorithm>

#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "parts/CPartNaming.h"
#include "support/CStdLib.h"
#include "support/CStringTokenizer.h"
#include "support/CTextReader.h"
#include "support/CWildcard.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadSlc500";
const Where kWhere = Where::Object("CReadSlc500");

// Rack numbers are 16-bit in the model; the slot index runs across all
// chassis, so it has no bound of its own below the 32-bit range.
constexpr int32_t kMaxRack = INT16_MAX;
constexpr int32_t kMaxSlotIndex = INT32_MAX;

// The controller lines whose expansion I/O needs no chassis.
bool IsMicroLogix(std::string_view name) {
    for (std::string_view line : {"1761-", "1762-", "1763-", "1764-", "1766-"})
        if (name.starts_with(line)) return true;
    return false;
}

// Word n (1-based) of the line split at every single space; raises the
// subscript error when the line has fewer words.
std::string_view Word(std::string_view line, size_t n) {
    size_t start = 0;
    for (size_t i = 1; i < n; ++i) {
        const size_t space = line.find(' ', start);
        if (space == std::string_view::npos)
            throw CVellError(ErrNum::kSubscript, ModGSCore::StandardErrorText(ErrNum::kSubscript));
        start = space + 1;
    }
    const size_t end = line.find(' ', start);
    return line.substr(start, end == std::string_view::npos ? end : end - start);
}

}  // namespace

const ReaderDescription& CReadSlc500::Description() {
    static const ReaderDescription d{
        pfSlc500, "slc500", "SLC 500 text export", "Rockwell", {"slc"}};
    return d;
}

int32_t CReadSlc500::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    kit_.emplace(root, kSource);
    try {
        CTextReader reader;
        reader.SetCaseSensitive(false);
        reader.SetSkipBlankLines(true);
        reader.SetTrimWhiteSpace(true);
        reader.SetLineCommentDelimiter(";");
        reader.ReadFile(root.ProjectFileName());
        while (!reader.AtEnd()) {
            const std::string_view line = reader.GetNextLine();
            if (reader.LineStartsWith("start"))
                ReadProcessor(line);
            else if (reader.LineStartsWith("rack"))
                ReadRack(line, reader.LineNo());
            else if (reader.LineStartsWith("slot"))
                ReadSlot(line, reader.LineNo());
            else if (reader.LineStartsWith("ladder"))
                break;
        }
        // A file without a processor line is no SLC 500 export (binary data
        // or another tool's text): say so rather than deliver an empty PLC.
        if (!sawProcessor_) return kit_->NotOurFormat();
        return kit_->Status(ErrNum::kOk);
    } catch (...) {
        root.ErrorReport(kWhere, "GetIoConfig");
        return ModGSCore::CurrentError().Number();
    }
}

void CReadSlc500::ReadProcessor(std::string_view line) {
    // Cut before any copy: a name may be as long as the file.
    std::string name(root_->LimitText(Word(line, 2)));
    processorAsWritten_ = name;
    bool warned = false;
    if (!root_->RequirePartInfo().PartExists(name)) {
        const std::string replacement = SubstituteCpu(name);
        if (!replacement.empty()) {
            root_->InfoMessage(
                CStdLib::Sprintf(modResStr::ResString(msgPlcNotFoundSelected), {name, replacement}),
                eMsgWarning, kSource);
            name = replacement;
            warned = true;
        }
    }
    noChassis_ = IsMicroLogix(name);
    root_->SetPlcName(name);
    root_->SetPlcFamily(plcSlc500);
    root_->BusList().AddBus(0, "SLC500 Bus");
    root_->DropList().AddDrop3(0, 1, DropFamily::kSlc500, "LocalRemote");
    if (noChassis_) root_->RackList().SetRack(0, 1, 1, CCfgRack::kNoChassis);
    root_->ModuleList().PlaceModule(0, 1, 1, 0, name, !warned);
    sawProcessor_ = true;
}

std::string CReadSlc500::SubstituteCpu(const std::string& name) const {
    const std::vector<std::string> pairs =
        CStdLib::Split(root_->RequireFamilyInfo().CpuSubstitutions(plcSlc500), '|');
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        if (CWildcard::Matches(name, pairs[i])) return pairs[i + 1];
    return {};
}

void CReadSlc500::ReadRack(std::string_view line, int32_t lineNo) {
    const std::string_view chassis = Word(line, 3);
    const std::optional<int32_t> rack =
        kit_->LineNumber(Word(line, 2), 1, kMaxRack, msgBadRackNumber, lineNo, line);
    if (rack) root_->RackList().SetRack(0, 1, *rack, chassis);
}

void CReadSlc500::ReadSlot(std::string_view line, int32_t lineNo) {
    root_->RackList().MakeSureRackExists(0, 1, 1);
    CStringTokenizer tokens;
    tokens.SetDelimiters(" ");
    tokens.SetSource(line);
    tokens.NextToken();
    const std::string_view indexText = tokens.NextTokenView();
    std::string name(root_->LimitText(tokens.NextTokenView()));
    if (name.empty()) {
        // Placing an empty name would clear the position, processor included.
        kit_->SkipLine(msgSlotWithoutModule, lineNo, line);
        return;
    }
    // A negative index would land on the model's own places for supplies,
    // and one that is no number would overwrite the processor in slot 0.
    const std::optional<int32_t> index =
        kit_->LineNumber(indexText, 0, kMaxSlotIndex, msgBadSlotNumber, lineNo, line);
    if (!index) return;
    if (name == "OTHER") {
        tokens.SkipOver("-");
        const std::string label = tokens.NextToken("%");
        name = modResStr::ResString(msgThirdPartyModule) + "_" +
               CPartNaming::Instance()->CompressedName(label);
    }
    const IPartInfo& parts = root_->RequirePartInfo();
    const CCfgRackList& racks = root_->RackList();
    // Both counts and the index are non-negative and the result never exceeds
    // the index, so the 64-bit sums cannot overflow and the slot fits.
    const int64_t s1 = std::max<int64_t>(parts.SlotCount(racks.rackName(0, 1, 1)), 0);
    const int64_t s2 = std::max<int64_t>(parts.SlotCount(racks.rackName(0, 1, 2)), 0);
    int32_t rack = 3;
    int64_t slot = *index - s1 - s2;
    if (noChassis_ && racks.rackName(0, 1, 1) == CCfgRack::kNoChassis) {
        rack = 1;
        slot = *index;
    } else if (*index < s1) {
        rack = 1;
        slot = *index;
    } else if (*index < s1 + s2) {
        rack = 2;
        slot = *index - s1;
    }
    // Exports list the processor in slot 0 as well: it is placed, and
    // warned about, once, also when a substitute took its place.
    const std::string ref = root_->RequirePartMapping().ToPartRef(name);
    if (root_->ModuleList().ModuleNameIn(0, 1, rack, static_cast<int32_t>(slot)) == ref) return;
    if (rack == 1 && slot == 0 && sawProcessor_ &&
        ref == root_->RequirePartMapping().ToPartRef(processorAsWritten_))
        return;
    root_->ModuleList().PlaceModule(0, 1, rack, static_cast<int32_t>(slot), name);
}

}  // namespace vellcfgrdr
