#include "parts/CVellPartDb.h"

#include "core/ModGSCore.h"
#include "parts/CFamilyPartList.h"
#include "parts/CPartNaming.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CVellPartDb";

}  // namespace

CVellPartDb::CVellPartDb()
    : familyInfo_(std::make_shared<CFamilyInfo>()),
      partInfo_(std::make_shared<CPartInfo>()),
      partMapping_(std::make_shared<CPartMapping>()) {
    const auto relay = [this](const std::string& text, eMessageLevel level,
                              const std::string& source) { Relay(text, level, source); };
    // Error reports are for a developer, not for the host.
    const auto trace = [](const std::string& text) { ModGSCore::DebugTrace(text, kSource); };
    familyMessages_ = familyInfo_->EvtInfoMessage.Subscribe(relay);
    familyReports_ = familyInfo_->EvtReportError.Subscribe(trace);
    partMessages_ = partInfo_->EvtInfoMessage.Subscribe(relay);
    partReports_ = partInfo_->EvtReportError.Subscribe(trace);
    mappingMessages_ = partMapping_->EvtInfoMessage.Subscribe(relay);
}

CVellPartDb::~CVellPartDb() {
    familyInfo_->EvtInfoMessage.Unsubscribe(familyMessages_);
    familyInfo_->EvtReportError.Unsubscribe(familyReports_);
    partInfo_->EvtInfoMessage.Unsubscribe(partMessages_);
    partInfo_->EvtReportError.Unsubscribe(partReports_);
    partMapping_->EvtInfoMessage.Unsubscribe(mappingMessages_);
}

void CVellPartDb::Init(const std::string& folder) {
    DebugMessage("Path assigned");
    familyInfo_->Init(folder);
    partInfo_->Init(folder);
    partMapping_->Init(folder, partInfo_, familyInfo_);
}

std::shared_ptr<const IPartNaming> CVellPartDb::PartNaming() const {
    return CPartNaming::Instance();
}

std::shared_ptr<IFamilyPartList> CVellPartDb::NewFamilyPartList(int32_t family) const {
    auto list = std::make_shared<CFamilyPartList>();
    list->Init(family, partInfo_);
    return list;
}

void CVellPartDb::Analyze(bool skip) {
    if (skip) return;
    partMapping_->CheckMapping();
}

void CVellPartDb::Relay(const std::string& text, eMessageLevel level,
                        const std::string& source) const {
    const std::string from = source.empty() ? std::string(kSource) : source;
    ModGSCore::DebugTrace(text, from);
    EvtInfoMessage.Raise(text, level, from);
}

void CVellPartDb::DebugMessage(const std::string& text) const {
    if (ModGSCore::IsDebugMode()) Relay(text, eMsgDebug, kSource);
}

}  // namespace vellcfgrdr
