#include "parts/CPartMapping.h"

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "parts/CMappTestHalyard.h"
#include "parts/CMappTestTessel.h"
#include "parts/CPartNaming.h"
#include "support/CFileSys.h"
#include "support/CStdLib.h"
#include "support/CTextReader.h"
#include "support/CWildcard.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CPartMapping";

// Legacy Plover tools wrote the I/O line with this prefix; the catalogue's
// prefix differs in the first character only (docs/catalogue.md).
constexpr std::string_view kPloverShortPrefix = "97V";
constexpr std::string_view kBrisk57 = "Brisk57";
constexpr std::string_view kBriskP57 = "BriskP57";
constexpr std::string_view kBrisk37 = "Brisk37";

constexpr std::string_view kBlanks = " \t";

// The next token of a line separated by blanks or tabs; empty at the end.
std::string_view NextToken(std::string_view line, size_t& pos) {
    const size_t start = line.find_first_not_of(kBlanks, pos);
    if (start == std::string_view::npos) {
        pos = line.size();
        return {};
    }
    size_t end = line.find_first_of(kBlanks, start);
    if (end == std::string_view::npos) end = line.size();
    pos = end;
    return line.substr(start, end - start);
}

}  // namespace

void CPartMapping::Init(const std::string& folder, std::shared_ptr<const IPartInfo> partInfo,
                        std::shared_ptr<const IFamilyInfo> familyInfo) {
    partInfo_ = std::move(partInfo);
    familyInfo_ = std::move(familyInfo);
    table_.clear();
    legacyNames_.clear();
    try {
        ReadMapFile(CFileSys::PathAppend(folder, kFileName));
    } catch (...) {
        ModGSCore::ReRaise("ReadMapFile", "");
    }
}

void CPartMapping::ReadMapFile(const std::string& path) {
    CTextReader reader;
    reader.SetTrimWhiteSpace(true);
    reader.SetSkipBlankLines(true);
    reader.SetLineCommentDelimiter("'");
    reader.ReadFile(path);
    for (;;) {
        const std::string_view line = reader.GetNextLine();
        if (line.empty() && reader.AtEnd()) break;
        size_t pos = 0;
        const std::string_view legacy = NextToken(line, pos);
        const std::string_view replacement = NextToken(line, pos);
        if (replacement.empty())
            ModGSCore::Assert(false, "CreateMappFrom " + std::string(legacy),
                              Where::Object("CPartMapping"), "ReadMapFile");
        // The first pair of a legacy name stays in force.
        if (table_.try_emplace(std::string(legacy), replacement).second)
            legacyNames_.emplace_back(legacy);
    }
}

bool CPartMapping::Known(std::string_view name, bool exact) const {
    return partInfo_ && partInfo_->PartExists(name, exact);
}

std::vector<std::string> CPartMapping::NamesOf(int32_t family, int32_t type) const {
    if (!partInfo_) return {};
    return partInfo_->PartNamesSubset(family, type);
}

std::string CPartMapping::ToPartRef(std::string_view name) const {
    std::string s(name);
    if (s.starts_with(kPloverShortPrefix)) s[0] = '0';
    if (Known(s, true)) return s;
    std::string compressed = CPartNaming::Instance()->CompressedName(s);
    if (Known(s)) return compressed;
    if (const auto it = table_.find(compressed); it != table_.end()) return it->second;
    return compressed;
}

std::string CPartMapping::MatchModuleName(std::string_view name, int32_t family) const {
    const CPartNaming& naming = *CPartNaming::Instance();
    std::string bare = naming.RemoveBlanks(name);
    // Nothing to match: "**" would take the family's first module.
    if (bare.empty() || Known(bare)) return bare;
    std::string m = ToPartRef(name);
    // Neither a dash nor a translation changed the name: look for a module of
    // the family that contains it.
    if (m == bare) m = naming.FindLike(NamesOf(family, ptModule), "*" + m + "*");
    return m.empty() ? bare : m;
}

std::string CPartMapping::MatchPower(std::string_view name, int32_t family) const {
    const CPartNaming& naming = *CPartNaming::Instance();
    std::string bare = naming.RemoveBlanks(name);
    if (Known(bare)) return bare;
    // An empty name would match the family's first supply, not its default.
    std::string supply =
        bare.empty() ? std::string() : naming.FindLike(NamesOf(family, ptPower), bare + "*");
    if (!supply.empty()) return supply;
    if (family == plcNone) return std::string(name);
    return familyInfo_ ? familyInfo_->DefaultPowerSupply(family) : std::string();
}

std::string CPartMapping::MappCPU(std::string_view name, bool& found, int32_t family) const {
    found = false;
    std::string bare = CPartNaming::Instance()->RemoveBlanks(name);
    if (Known(bare)) {
        found = true;
        return bare;
    }
    if (family == plcHeron || family == plcBriskFinch)
        return BriskCpuSearch(bare, NamesOf(family, ptUnknown));
    return bare;
}

// Legacy tools write Brisk CPU names without their last one or two
// characters, and older 57 CPUs without the "P" of the current line. They
// spell the line "Brisk57" while the catalogue's names are upper case, so the
// candidates are compared ignoring case.
std::string CPartMapping::BriskCpuSearch(const std::string& name,
                                         const std::vector<std::string>& list) const {
    const auto findLike = [&list](std::string_view pattern) -> std::string {
        const std::string upper = CUtf8::ToUpper(pattern);
        for (const std::string& entry : list)
            if (CWildcard::Matches(CUtf8::ToUpper(entry), upper)) return entry;
        return {};
    };
    std::string match = findLike(name + "?");
    if (match.empty()) match = findLike(name + "??");
    if (!match.empty()) return match;

    std::string pattern;
    if (name.starts_with(kBrisk57))
        pattern = std::string(kBriskP57) + name.substr(kBrisk57.size()) + "?";
    else if (name.starts_with(kBrisk37))
        pattern = name + "*";
    else
        return name;
    match = findLike(pattern);
    return match.empty() ? name : match;
}

void CPartMapping::ValidateMapping(std::string_view name, std::string_view toolName) const {
    if (!ModGSCore::IsDebugMode()) return;
    const std::string mapped = ToPartRef(name);
    if (Known(mapped)) return;
    EvtInfoMessage.Raise(
        CStdLib::Sprintf(modResStr::ResString(msgMappedToUnknown), {toolName, name, mapped}),
        eMsgDebug, kSource);
}

void CPartMapping::CheckMapping() const {
    CMappTestTessel().CheckMapping(*this);
    CMappTestHalyard().CheckMapping(*this);
}

}  // namespace vellcfgrdr
