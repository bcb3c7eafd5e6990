#include "model/CIoConfig.h"

#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace vellcfgrdr {

namespace {

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

void CIoConfig::SetPlcName(std::string_view name) {
    if (RequirePartInfo().PartExists(name))
        plcName_ = name;
    else
        plcName_ = RequirePartMapping().ToPartRef(name);
}

void CIoConfig::InfoMessage(const std::string& message, eMessageLevel level,
                            const std::string& source) const {
    EvtInfoMessage.Raise(message, level, source.empty() ? std::string("CIoConfig") : source);
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
