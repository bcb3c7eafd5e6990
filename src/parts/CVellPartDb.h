#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/MessageEvents.h"
#include "parts/CFamilyInfo.h"
#include "parts/CPartInfo.h"
#include "parts/CPartMapping.h"
#include "parts/IFamilyPartList.h"
#include "parts/IPartNaming.h"

namespace vellcfgrdr {

// The facade of the parts knowledge: owns family information, part
// information and part mapping, hands out the shared naming service and
// relays the messages of its members as its own.
class CVellPartDb {
  public:
    CVellPartDb();
    // The members may outlive the facade (callers hold them): its handlers
    // leave with it.
    ~CVellPartDb();
    // The members' handlers refer to this object.
    CVellPartDb(const CVellPartDb&) = delete;
    CVellPartDb& operator=(const CVellPartDb&) = delete;

    // Loads family information, part information and part mapping from the
    // folder, in this order; the first failure passes on unchanged.
    void Init(const std::string& folder);

    // The members are handed out read-only: every reader of every thread
    // shares them, so after Init nothing may change them.
    std::shared_ptr<const IFamilyInfo> FamilyInfo() const { return familyInfo_; }
    std::shared_ptr<const IPartInfo> PartInfo() const { return partInfo_; }
    std::shared_ptr<const IPartMapping> PartMapping() const { return partMapping_; }
    std::shared_ptr<const IPartNaming> PartNaming() const;
    std::shared_ptr<IFamilyPartList> NewFamilyPartList(int32_t family) const;

    // Runs the mapping self-checks unless skip is set.
    void Analyze(bool skip);

    InfoMessageEvent EvtInfoMessage;

  private:
    void Relay(const std::string& text, eMessageLevel level, const std::string& source) const;
    void DebugMessage(const std::string& text) const;

    std::shared_ptr<CFamilyInfo> familyInfo_;
    std::shared_ptr<CPartInfo> partInfo_;
    std::shared_ptr<CPartMapping> partMapping_;
    size_t familyMessages_ = 0, familyReports_ = 0, partMessages_ = 0, partReports_ = 0,
           mappingMessages_ = 0;
};

}  // namespace vellcfgrdr
