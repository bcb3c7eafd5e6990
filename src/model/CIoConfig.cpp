#include "model/CIoConfig.h"

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

const std::string kSelf = "CIoConfig";

template <class T>
const T& Require(const std::shared_ptr<const T>& p) {
    if (!p)
        throw CVellError(ErrNum::kObjectNotSet,
                         ModGSCore::StandardErrorText(ErrNum::kObjectNotSet));
    return *p;
}

}  // namespace

CIoConfig::CIoConfig()
    : busList_(*this), dropList_(busList_), rackList_(dropList_), moduleList_(rackList_) {}

const IPartInfo& CIoConfig::RequirePartInfo() const {
    return Require(partInfo_);
}
const IPartMapping& CIoConfig::RequirePartMapping() const {
    return Require(partMapping_);
}
const IFamilyInfo& CIoConfig::RequireFamilyInfo() const {
    return Require(familyInfo_);
}

void CIoConfig::SetProjectFileName(std::string path) {
    DebugMessage("Assigning ProjectFileName", "CIoConfig");
    projectFileName_ = std::move(path);
}

std::string_view CIoConfig::LimitText(std::string_view text) const {
    std::string warning;
    text = LimitText(text, warning);
    if (!warning.empty()) InfoMessage(warning, eMsgWarning, kSelf);
    return text;
}

std::string_view CIoConfig::LimitText(std::string_view text, std::string& warning) const {
    warning.clear();
    if (text.size() <= kMaxTextChars) return text;  // a character is at least one byte
    const size_t length = CUtf8::Length(text);
    if (length <= kMaxTextChars) return text;
    const std::string_view kept = CUtf8::Left(text, kMaxTextChars);
    warning = CStdLib::Sprintf(modResStr::ResString(msgTextCut),
                               {static_cast<int64_t>(length), static_cast<int64_t>(kMaxTextChars),
                                std::string(CUtf8::Left(kept, 40))});
    return kept;
}

void CIoConfig::SetPlcName(std::string_view name) {
    name = LimitText(name);
    if (RequirePartInfo().PartExists(name))
        plcName_ = name;
    else
        plcName_ = RequirePartMapping().ToPartRef(name);
}

void CIoConfig::InfoMessage(const std::string& message, eMessageLevel level,
                            const std::string& source) const {
    const std::string& from = source.empty() ? kSelf : source;
    // Messages name paths and texts of the input, which may be any bytes.
    if (CUtf8::IsValidUtf8(message) && CUtf8::IsValidUtf8(from))
        EvtInfoMessage.Raise(message, level, from);
    else
        EvtInfoMessage.Raise(CUtf8::FromExternal(message), level, CUtf8::FromExternal(from));
}

void CIoConfig::DebugMessage(const std::string& message, const std::string& source) const {
    if (ModGSCore::IsDebugMode()) InfoMessage(message, eMsgDebug, source);
}

void CIoConfig::ErrorReport(const Where& where, std::string_view procName,
                            std::string_view extra) const {
    if (ModGSCore::IsDebugMode())
        ModGSCore::DebugTrace(ModGSCore::ErrorText(where, procName, extra), "CIoConfig");
}

}  // namespace vellcfgrdr
