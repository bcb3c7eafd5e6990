#include "model/CCfgDropList.h"

#include <utility>

#include "core/CCvtEnum.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CCfgBusList.h"
#include "model/CIoConfig.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

CIoConfig& CCfgDropList::IoConfig() const noexcept {
    return parent_.IoConfig();
}

const CCfgDrop* CCfgDropList::DropByKey(int32_t busNum, int32_t dropNum) const {
    if (!Fits16(busNum) || !Fits16(dropNum)) return nullptr;
    return drops_.Find(DropKey{static_cast<int16_t>(busNum), static_cast<int16_t>(dropNum)});
}

CCfgDrop* CCfgDropList::DropByKey(int32_t busNum, int32_t dropNum) {
    return const_cast<CCfgDrop*>(std::as_const(*this).DropByKey(busNum, dropNum));
}

const CCfgDrop& CCfgDropList::DropByIndex(int32_t index) const {
    return drops_.At(index);
}

bool CCfgDropList::AddDrop3(int32_t busNum, int32_t dropNum, int32_t dropFamily,
                            std::string_view name) {
    try {
        parent_.MakeSureBusExists(busNum, dropFamily);
        const std::string dropName =
            name.empty() ? CCvtEnum::DropFamilyToString(dropFamily) : std::string(name);
        return AddDrop(busNum, dropNum, dropFamily, dropName, IoConfig().PlcFamily());
    } catch (...) {
        IoConfig().ErrorReport(Where::Object("CCfgDropList"), "Add");
        return false;
    }
}

bool CCfgDropList::AddDrop(int32_t busNum, int32_t dropNum, int32_t dropFamily,
                           std::string_view name, int32_t plcFamily) {
    try {
        CCfgDrop drop;
        drop.SetBusNum(ToNum16(busNum));
        drop.SetDropNum(ToNum16(dropNum));
        drop.SetIoFamily(dropFamily, plcFamily);
        drop.SetName(IoConfig().LimitText(name));
        const DropKey key{drop.BusNum(), drop.DropNum()};
        if (!drops_.Contains(key)) drops_.Add(key, std::move(drop));
        return true;
    } catch (...) {
        IoConfig().ErrorReport(Where::Object("CCfgDropList"), "Add");
        return false;
    }
}

int32_t CCfgDropList::CheckDropFamily(int32_t busNum, int32_t dropNum) const {
    const CCfgDrop* drop = DropByKey(busNum, dropNum);
    if (!drop) return 0;
    if (drop->IoFamily() == 0)
        IoConfig().InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgUnknownDrop), {dropNum}),
                               eMsgWarning, "CCfgDropList");
    return drop->IoFamily();
}

void CCfgDropList::MakeSureDropExists(int32_t busNum, int32_t dropNum, int32_t dropFamily) {
    if (!DropByKey(busNum, dropNum)) AddDrop3(busNum, dropNum, dropFamily, "");
}

bool CCfgDropList::RemoveDrop(int32_t busNum, int32_t dropNum) {
    if (!Fits16(busNum) || !Fits16(dropNum)) return false;
    return drops_.Remove(DropKey{static_cast<int16_t>(busNum), static_cast<int16_t>(dropNum)});
}

}  // namespace vellcfgrdr
