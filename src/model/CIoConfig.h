#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/MessageEvents.h"
#include "core/Where.h"
#include "model/CCfgBusList.h"
#include "model/CCfgDropList.h"
#include "model/CCfgModuleList.h"
#include "model/CCfgRackList.h"
#include "parts/IFamilyInfo.h"
#include "parts/IPartInfo.h"
#include "parts/IPartMapping.h"

namespace vellcfgrdr {

// The root of one imported I/O configuration: project data, PLC, the four
// lists, the parts knowledge they consult, and the one relay through which
// every object of an import reports messages.
class CIoConfig {
  public:
    CIoConfig();
    CIoConfig(const CIoConfig&) = delete;
    CIoConfig& operator=(const CIoConfig&) = delete;

    const std::shared_ptr<const IPartInfo>& PartInfo() const noexcept { return partInfo_; }
    void SetPartInfo(std::shared_ptr<const IPartInfo> p) { partInfo_ = std::move(p); }
    const std::shared_ptr<const IPartMapping>& PartMapping() const noexcept { return partMapping_; }
    void SetPartMapping(std::shared_ptr<const IPartMapping> p) { partMapping_ = std::move(p); }
    const std::shared_ptr<const IFamilyInfo>& FamilyInfo() const noexcept { return familyInfo_; }
    void SetFamilyInfo(std::shared_ptr<const IFamilyInfo> p) { familyInfo_ = std::move(p); }
    // The attached parts knowledge; raise the object-not-set error (91)
    // when it was never attached.
    const IPartInfo& RequirePartInfo() const;
    const IPartMapping& RequirePartMapping() const;
    const IFamilyInfo& RequireFamilyInfo() const;

    const std::string& ProjectFileName() const noexcept { return projectFileName_; }
    void SetProjectFileName(std::string path);
    int32_t ProjectFormat() const noexcept { return projectFormat_; }
    void SetProjectFormat(int32_t format) noexcept { projectFormat_ = format; }
    int32_t PlcFamily() const noexcept { return plcFamily_; }
    void SetPlcFamily(int32_t family) noexcept { plcFamily_ = family; }
    const std::string& PlcName() const noexcept { return plcName_; }
    // Stores a known name as it is, any other as its mapped part reference.
    void SetPlcName(std::string_view name);

    CCfgBusList& BusList() noexcept { return busList_; }
    const CCfgBusList& BusList() const noexcept { return busList_; }
    CCfgDropList& DropList() noexcept { return dropList_; }
    const CCfgDropList& DropList() const noexcept { return dropList_; }
    CCfgRackList& RackList() noexcept { return rackList_; }
    const CCfgRackList& RackList() const noexcept { return rackList_; }
    CCfgModuleList& ModuleList() noexcept { return moduleList_; }
    const CCfgModuleList& ModuleList() const noexcept { return moduleList_; }

    // Raises EvtInfoMessage; an empty source becomes "CIoConfig".
    void InfoMessage(const std::string& message, eMessageLevel level,
                     const std::string& source = {}) const;
    // Names, part numbers and descriptions are at most this many characters:
    // no real project comes near it, and a hostile file cannot make every
    // later copy of a huge text (mapping, messages, the document) cost
    // memory in proportion.
    static constexpr size_t kMaxTextChars = 1024;
    // The text, or its first kMaxTextChars characters with a warning saying
    // so.
    std::string_view LimitText(std::string_view text) const;
    // The same, the warning's text (or "") left for the caller to post.
    std::string_view LimitText(std::string_view text, std::string& warning) const;

    // A debug-level message, only in debug mode.
    void DebugMessage(const std::string& message, const std::string& source) const;
    // Called by handlers that swallow an error and go on. Sends nothing; in
    // debug mode the error is traced.
    void ErrorReport(const Where& where, std::string_view procName,
                     std::string_view extra = {}) const;

    InfoMessageEvent EvtInfoMessage;

  private:
    std::string projectFileName_;
    int32_t projectFormat_ = 0;
    std::string plcName_;
    int32_t plcFamily_ = 0;
    std::shared_ptr<const IPartInfo> partInfo_;
    std::shared_ptr<const IPartMapping> partMapping_;
    std::shared_ptr<const IFamilyInfo> familyInfo_;
    // Declared in the order of the parent chain, so each parent exists first.
    CCfgBusList busList_;
    CCfgDropList dropList_;
    CCfgRackList rackList_;
    CCfgModuleList moduleList_;
};

}  // namespace vellcfgrdr
