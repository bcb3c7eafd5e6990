#include "parts/CPartInfo.h"

#include <algorithm>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "parts/CPartNaming.h"
#include "support/CFileSys.h"
#include "support/CStdLib.h"
#include "support/CStdio.h"
#include "support/CWildcard.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CPartInfo";
constexpr const char* kDuplicateSource = "ReadPartDescriptions";

// CPU name tests of GuessCpuFamily, taken from the catalogue conventions
// (docs/catalogue.md, "Families").
constexpr std::string_view kKestrelCpuPattern = "318CPU*";
constexpr std::string_view kLarkCpuPrefix = "LKXCPU";  // compared ignoring case
constexpr std::string_view kOspreyCpuPattern = "OSP?58*";
constexpr std::string_view kPloverCpuPattern = "077PRC*";

// Shortening of PartDescription, in characters.
constexpr size_t kShortLimit = 160;
constexpr size_t kShortMinimum = 25;

// A bundle factor beyond this is taken as a typo rather than a quantity.
constexpr int32_t kMaxFactor = 1000;

bool IsSkippedLine(std::string_view line) {
    if (line.starts_with('\'') || line.starts_with(';')) return true;
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
    for (size_t pos = 0; (pos = text.find(what, pos)) != std::string::npos; pos += with.size())
        text.replace(pos, what.size(), with);
}

bool HasWildcard(std::string_view pattern) {
    return pattern.find_first_of("*?#[") != std::string_view::npos;
}

bool IsValidUtf8(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii || CUtf8::FromUtf8(text) == text;
}

}  // namespace

void CPartInfo::Init(const std::string& folder) {
    try {
        ReadParts(CFileSys::PathAppend(folder, kPartFileName));
        supplement_.CreateFromFile(CFileSys::PathAppend(folder, kSupplementFileName));
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CPartInfo"), "Create");
    }
}

void CPartInfo::ClearTables() {
    parts_.clear();
    lowerKeys_.clear();
    byLowerKey_.clear();
    byCompressed_.clear();
    exactNames_.clear();
    const std::lock_guard lock(subsetMutex_);
    for (auto& entry : subsetCache_)
        entry.reset();
}

void CPartInfo::ReadParts(const std::string& path) {
    const std::string text = CStdio::LoadTextFile(path);
    ClearTables();
    // Lines end at CR LF; a file without any CR LF ends them at LF.
    const std::string_view eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string_view all(text);
    try {
        int32_t i = 0;  // 0 is the header
        for (size_t start = 0;; ++i) {
            const size_t end = all.find(eol, start);
            const std::string_view line =
                all.substr(start, end == std::string_view::npos ? end : end - start);
            if (i == 0) {
                ModGSCore::Assert(CPart::ValidateFieldNames(line),
                                  std::to_string(CPart::kFieldCount) + " fieldnames expected,",
                                  Where::Object("CPartInfo"), "ReadParts");
            } else if (!IsSkippedLine(line)) {
                CPart part;
                part.DeSerialize(i + 1, line);
                AddPart(std::move(part));
            }
            if (end == std::string_view::npos) break;
            start = end + eol.size();
        }
    } catch (...) {
        BuildPrefixIndex();
        ModGSCore::ReRaise(Where::Object("CPartInfo"), "ReadParts");
    }
    BuildPrefixIndex();
    if (ModGSCore::IsDebugMode()) EvtInfoMessage.Raise("Done reading inFile", eMsgDebug, kSource);
}

void CPartInfo::AddPart(CPart&& part) {
    std::string compressed = CPartNaming::Instance()->CompressedName(part.Name());
    const bool newKey = !byCompressed_.contains(compressed);
    const bool newName = !exactNames_.contains(part.Name());
    // One message per line, though an exact duplicate collides in both tables.
    if (!newKey || !newName)
        EvtInfoMessage.Raise(
            CStdLib::Sprintf(modResStr::ResString(msgDuplicatePart), {part.Name()}), eMsgError,
            kDuplicateSource);
    if (newName) exactNames_.insert(part.Name());
    if (!newKey) return;
    const auto pos = static_cast<uint32_t>(parts_.size());
    lowerKeys_.push_back(CUtf8::ToLower(compressed));
    byCompressed_.emplace(std::move(compressed), pos);
    parts_.push_back(std::move(part));
}

void CPartInfo::BuildPrefixIndex() {
    byLowerKey_.resize(parts_.size());
    for (uint32_t i = 0; i < byLowerKey_.size(); ++i)
        byLowerKey_[i] = i;
    std::sort(byLowerKey_.begin(), byLowerKey_.end(),
              [this](uint32_t a, uint32_t b) { return lowerKeys_[a] < lowerKeys_[b]; });
}

// --- Lookup ---

const CPart* CPartInfo::Find(std::string_view name) const {
    // Most names arrive compressed already: look them up without a copy.
    const auto it = name.find_first_of(" -") == std::string_view::npos
                        ? byCompressed_.find(name)
                        : byCompressed_.find(CPartNaming::Instance()->CompressedName(name));
    return it == byCompressed_.end() ? nullptr : &parts_[it->second];
}

std::string CPartInfo::CanonicalName(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->Name() : std::string(name);
}

bool CPartInfo::PartExists(std::string_view name, bool exact) const {
    return exact ? exactNames_.contains(name) : Find(name) != nullptr;
}

std::string CPartInfo::Supplement(std::string_view section, std::string_view name) const {
    return supplement_.GetString(section, CanonicalName(name), "");
}

std::string CPartInfo::AlternativConnector(std::string_view name) const {
    return Supplement("AlternativConnector", name);
}
std::string CPartInfo::BundleContents(std::string_view name) const {
    return Supplement("Bundles", name);
}
std::string CPartInfo::Connector(std::string_view name) const {
    return Supplement("Connector", name);
}
std::string CPartInfo::ShieldKit(std::string_view name) const {
    return Supplement("ShieldKit", name);
}

int32_t CPartInfo::GroupOf(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->Group() : 0;
}
int16_t CPartInfo::ModuleId(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->ModuleId() : 0;
}
int32_t CPartInfo::PartFamily(std::string_view name) const {
    return PlcFamily(name);
}
int32_t CPartInfo::PlcFamily(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->PlcFamily() : 0;
}
int32_t CPartInfo::PartType(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->Typ() : 0;
}
int16_t CPartInfo::SlotCount(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->SlotCount() : 1;
}
int32_t CPartInfo::PlacementRule(std::string_view name) const {
    const CPart* part = Find(name);
    return part ? part->PlacementRule() : 0;
}

bool CPartInfo::PartNeedsResolution(std::string_view name) const {
    const CPart* part = Find(name);
    if (!part) return name.find('*') != std::string_view::npos;
    return part->Name().find('*') != std::string::npos || !part->Picklist().empty();
}
bool CPartInfo::IsAmbiguousName(std::string_view name) const {
    const CPart* part = Find(name);
    return part && !part->Picklist().empty();
}
bool CPartInfo::IsHotStandByCPU(std::string_view name) const {
    const CPart* part = Find(name);
    return part && (part->PartCapabilities() & CPart::kHotStandbyCpu) != 0;
}
bool CPartInfo::IsRedundantSupply(std::string_view name) const {
    const CPart* part = Find(name);
    return part && (part->PartCapabilities() & CPart::kRedundant) != 0;
}
bool CPartInfo::RackHasRedundandPowerSlot(std::string_view name) const {
    const CPart* part = Find(name);
    return part && (part->PartCapabilities() & CPart::kTwoPowerSlots) != 0;
}
bool CPartInfo::RackIncludesQWA(std::string_view name) const {
    const CPart* part = Find(name);
    return part && (part->PartCapabilities() & CPart::kChassisWithRack) != 0;
}

// --- Searches ---

std::vector<std::string> CPartInfo::Picklist(std::string_view name) const {
    // A name the table does not hold, such as a truncated processor name,
    // still offers the parts it starts: a choice for the planner rather than
    // a part ignored. No name at all starts every part and offers none.
    const CPart* part = Find(name);
    if (part && !part->Picklist().empty()) return CStdLib::Split(part->Picklist(), ',');
    if (!part && CPartNaming::Instance()->CompressedName(name).empty()) return {};
    return MatchPartsLike(name);
}

std::vector<std::string> CPartInfo::MatchPartsLike(std::string_view pattern) const {
    const std::string self = CUtf8::ToLower(CPartNaming::Instance()->CompressedName(pattern));
    // The usual call is a plain name or a name with a trailing "*": a prefix
    // range of the sorted keys. Anything else goes through the matcher.
    std::string_view prefix = self;
    if (prefix.ends_with('*')) prefix.remove_suffix(1);
    // Prefix order is byte order only for valid UTF-8; the matcher decodes.
    if (HasWildcard(prefix) || !IsValidUtf8(prefix)) return MatchPartsLikeByScan(pattern);

    auto it = std::lower_bound(
        byLowerKey_.begin(), byLowerKey_.end(), prefix,
        [this](uint32_t pos, std::string_view key) { return lowerKeys_[pos] < key; });
    std::vector<uint32_t> hits;
    for (; it != byLowerKey_.end() && lowerKeys_[*it].starts_with(prefix); ++it)
        if (lowerKeys_[*it] != self) hits.push_back(*it);
    std::sort(hits.begin(), hits.end());
    std::vector<std::string> names;
    names.reserve(hits.size());
    for (uint32_t pos : hits)
        names.push_back(parts_[pos].Name());
    return names;
}

std::vector<std::string> CPartInfo::MatchPartsLikeByScan(std::string_view pattern) const {
    // A part never matches itself: the comparison is with the pattern as
    // given, before the "*" that makes a plain name a prefix.
    const std::string self = CUtf8::ToLower(CPartNaming::Instance()->CompressedName(pattern));
    std::string like = self;
    if (like.find_first_of("*?") == std::string::npos) like += '*';
    std::vector<std::string> names;
    for (size_t i = 0; i < parts_.size(); ++i)
        if (lowerKeys_[i] != self && CWildcard::Matches(lowerKeys_[i], like))
            names.push_back(parts_[i].Name());
    return names;
}

std::vector<std::string> CPartInfo::PartNamesSubset(int32_t family, int32_t type) const {
    if (family < 0 || family >= kCachedFamilies || type < 0 || type >= kCachedTypes)
        return ScanPartNamesSubset(family, type);
    // The lock covers the first scan only: an entry, once made, is never
    // replaced until the next Init, so the copy is taken outside it and the
    // threads of a batch do not queue behind each other's copies.
    const std::vector<std::string>* cached;
    {
        const std::lock_guard lock(subsetMutex_);
        auto& entry = subsetCache_[family * kCachedTypes + type];
        if (!entry)
            entry =
                std::make_unique<const std::vector<std::string>>(ScanPartNamesSubset(family, type));
        cached = entry.get();
    }
    return *cached;
}

std::vector<std::string> CPartInfo::ScanPartNamesSubset(int32_t family, int32_t type) const {
    std::vector<std::string> names;
    for (const CPart& part : parts_)
        if (part.MatchesFamily(family) && part.MatchesType(type)) names.push_back(part.Name());
    return names;
}

std::string CPartInfo::FindModuleLike(int32_t family, std::string_view text) const {
    std::string like = "*";
    like.append(text).push_back('*');
    for (const CPart& part : parts_)
        if (part.PlcFamily() == family && part.Typ() == ptModule &&
            CWildcard::Matches(part.Name(), like))
            return part.Name();
    return {};
}

CEnumSet CPartInfo::GroupsByFamilyAndType(int32_t family, int32_t type) const {
    return ModGSCore::Guarded(Where::Object("CPartInfo"), "GroupsByFamilyAndType", [&] {
        // Lark and Osprey racks carry the Raven I/O.
        const bool withRaven = family == plcLark || family == plcOsprey;
        CEnumSet groups;
        for (const CPart& part : parts_)
            if (part.Typ() == type &&
                (part.PlcFamily() == family || (withRaven && part.PlcFamily() == plcRaven)))
                groups.AllowAlso(part.Group());
        return groups;
    });
}

int32_t CPartInfo::GuessCpuFamily(std::string_view name) const {
    if (const CPart* part = Find(name)) return part->PlcFamily();
    const auto naming = CPartNaming::Instance();
    if (naming->IsBrisk57Cpu(name)) return plcHeron;
    if (naming->IsBrisk37Cpu(name)) return plcBriskFinch;
    if (CWildcard::Matches(name, kKestrelCpuPattern)) return plcKestrel;
    if (CUtf8::StartsWithNoCase(name, kLarkCpuPrefix)) return plcLark;
    if (CWildcard::Matches(name, kOspreyCpuPattern)) return plcOsprey;
    if (CWildcard::Matches(name, kPloverCpuPattern)) return plcPlover;
    return plcNone;
}

std::string CPartInfo::ModuleNameFromId(int16_t moduleId, int32_t family) const {
    for (const CPart& part : parts_)
        if (part.PlcFamily() == family && (part.Typ() == ptModule || part.Typ() == ptPower) &&
            part.ModuleId() == moduleId)
            return part.Name();
    return "ModuleID_" + std::to_string(moduleId);
}

std::vector<std::string> CPartInfo::MultiplePartsAsArray(std::string_view text) const {
    std::vector<std::string> names;
    if (text.empty()) return names;
    const auto naming = CPartNaming::Instance();
    for (const std::string& element : CStdLib::Split(text, '+')) {
        int32_t factor = 1;
        std::string name = naming->RemovePartFactor(element, factor);
        factor = std::clamp(factor, 1, kMaxFactor);
        for (int32_t n = 1; n < factor; ++n)
            names.push_back(name);
        names.push_back(std::move(name));
    }
    return names;
}

std::string CPartInfo::PartDescription(std::string_view name, bool full) const {
    const CPart* part = Find(name);
    if (!part) return {};
    const int32_t language = modResStr::GetGuiLanguage();
    std::string text = part->Description(language);
    if (text.empty() && language == eguiLangFrench) text = part->Description(eguiLangEnglish);
    // The macro step of the description leaves the text as it is.

    if (full) {
        ReplaceAll(text, "\\n", "\r\n");
        return text;
    }
    if (CUtf8::Length(text) >= kShortLimit) {
        const std::string_view head = CUtf8::Left(text, kShortLimit);
        const size_t stop = head.find_last_of(";.");
        // Characters kept: up to the last ";" or ".", at least the minimum.
        size_t keep =
            stop == std::string_view::npos ? kShortLimit : CUtf8::CharIndex(head, stop) + 1;
        keep = std::max(keep, kShortMinimum);
        text.resize(CUtf8::Left(text, keep).size());
    }
    const size_t tag = text.find('<');
    if (tag != std::string::npos && CUtf8::CharIndex(text, tag) + 1 > kShortMinimum)
        text.resize(tag);
    const size_t lineBreak = text.find("\\n");
    if (lineBreak != std::string::npos) text.resize(lineBreak);
    return text;
}

}  // namespace vellcfgrdr
