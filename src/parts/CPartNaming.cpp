#include "parts/CPartNaming.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "support/CStdLib.h"
#include "support/CWildcard.h"

namespace vellcfgrdr {

namespace {

// Catalogue prefixes that receive blanks in the expanded form (see
// docs/catalogue.md). Every entry stands between two "|".
constexpr std::string_view kSpecialPrefix = "VRDCH";
constexpr std::string_view kPrefixes3 =
    "|318|319|GRS|WRN|SRL|HRN|HRC|RVN|LKX|OSP|BRK|PMK|077|07V|VRD|ACC|CBL|SVC|";
constexpr std::string_view kPrefixes4 = "|4410|4411|5230|5231|6640|6641|8120|8121|8122|9350|";
// PC-card and bus-card Heron CPUs, recognised anywhere in a name.
constexpr std::string_view kBrisk57CardPrefixes[] = {"PCX57", "PCY57", "BCX57"};

constexpr const char* kGeneric = "generic";
constexpr std::string_view kNothing = "nothing";
constexpr MsgId kPhraseIds[] = {msgPleaseNote, msgChassisDeeper, msgChassisDepth,
                                msgNoDirectReplacement};

std::string RemoveAll(std::string_view s, std::string_view chars) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (chars.find(c) == std::string_view::npos) out.push_back(c);
    return out;
}

// Whether lead + item + "|" occurs in the list.
bool InList(std::string_view list, std::string_view lead, std::string_view item) {
    std::string probe;
    probe.reserve(lead.size() + item.size() + 1);
    probe.append(lead).append(item).push_back('|');
    return list.find(probe) != std::string_view::npos;
}

// The first a characters, a blank, the next b characters, a blank, the rest.
std::string InsertBlanks(std::string_view s, size_t a, size_t b) {
    const std::string_view first = CUtf8::Left(s, a);
    const std::string_view rest = s.substr(first.size());
    const std::string_view second = CUtf8::Left(rest, b);
    std::string out(first);
    out += ' ';
    out += second;
    out += ' ';
    out += rest.substr(second.size());
    return out;
}

}  // namespace

std::shared_ptr<CPartNaming> CPartNaming::Instance() {
    static const std::shared_ptr<CPartNaming> instance = std::make_shared<CPartNaming>();
    return instance;
}

std::string CPartNaming::GenericPart() const {
    return kGeneric;
}

std::string CPartNaming::Placeholder() const {
    return modResStr::ResString(msgUsedBy2SlotModule);
}

std::string CPartNaming::CompressedName(std::string_view name) const {
    return RemoveAll(name, " -");
}

std::string CPartNaming::RemoveBlanks(std::string_view name) const {
    return RemoveAll(name, " ");
}

std::string CPartNaming::ExpandedName(std::string_view name) const {
    if (name.find('-') != std::string_view::npos) return std::string(CUtf8::Trim(name));
    std::string s = RemoveBlanks(name);
    if (s.starts_with(kSpecialPrefix)) {
        s = InsertBlanks(s, 3, 2);
    } else if (InList(kPrefixes3, "|", CUtf8::Left(s, 3))) {
        s = InsertBlanks(s, 3, 3);
    } else if (InList(kPrefixes4, "", CUtf8::Left(s, 4))) {
        s = InsertBlanks(s, 4, 3);
    }
    return std::string(CUtf8::Trim(s));
}

std::string CPartNaming::RemovePartFactor(std::string_view name, int32_t& factor) const {
    name = CUtf8::Trim(name);
    const size_t close = name.find(')');
    if (close == std::string_view::npos) {
        factor = 1;
        return std::string(name);
    }
    factor = CStdLib::Atol(CUtf8::Mid(name, 1));
    return std::string(CUtf8::Trim(name.substr(close + 1)));
}

std::string CPartNaming::ExpandedNameEx(std::string_view names) const {
    names = CUtf8::Trim(names);
    if (names.empty()) return {};
    std::string out;
    for (size_t start = 0;;) {
        const size_t plus = names.find('+', start);
        const std::string_view element =
            names.substr(start, plus == std::string_view::npos ? plus : plus - start);
        int32_t factor = 0;
        const std::string bare = RemovePartFactor(element, factor);
        if (start > 0) out += " + ";
        if (factor > 1) out += CStdLib::Sprintf("(%d) ", {factor});
        out += ExpandedName(bare);
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    return out;
}

bool CPartNaming::IsPlaceholder(std::string_view name) const {
    return name == modResStr::ResString(msgUsedBy2SlotModule, eguiLangEnglish) ||
           name == modResStr::ResString(msgUsedBy2SlotModule, eguiLangFrench);
}

bool CPartNaming::PartIsNothing(std::string_view name) const {
    return name.empty() || CUtf8::EqualsNoCase(name, kNothing);
}

std::string CPartNaming::PhraseById(int32_t id) const {
    try {
        if (id < 0 || id > 3)
            ModGSCore::RaiseError("phraseId " + std::to_string(id) + " is invalid",
                                  ErrNum::kInvalidCall);
        return modResStr::ResString(kPhraseIds[id]);
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CPartNaming"), "PhraseById");
    }
}

// The line names are compared ignoring case: tools write "Brisk57", the
// catalogue "BRISK57".
bool CPartNaming::IsBrisk37Cpu(std::string_view name) const {
    return CStdLib::StringStartsWith(name, "Brisk37", false) ||
           CWildcard::Matches(CUtf8::ToUpper(name), "BRISK?37*");
}

bool CPartNaming::IsBrisk57Cpu(std::string_view name) const {
    if (CStdLib::StringStartsWith(name, "Brisk57", false) ||
        CWildcard::Matches(CUtf8::ToUpper(name), "BRISK?57*"))
        return true;
    for (std::string_view prefix : kBrisk57CardPrefixes)
        if (name.find(prefix) != std::string_view::npos) return true;
    return false;
}

std::string CPartNaming::FindLike(std::span<const std::string> names,
                                  std::string_view pattern) const {
    for (const std::string& name : names)
        if (CWildcard::Matches(name, pattern)) return name;
    return {};
}

}  // namespace vellcfgrdr
