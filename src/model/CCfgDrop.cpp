#include "model/CCfgDrop.h"

#include "core/CCvtEnum.h"
#include "core/Enums.h"

namespace vellcfgrdr {

void CCfgDrop::SetIoFamily(int32_t dropFamily, int32_t plcFamily) noexcept {
    if (plcFamily == plcWren) {
        ioFamily_ = plcWren;
        return;
    }
    switch (dropFamily) {
        case DropFamily::kDunlin:
        case DropFamily::kDcp:
            ioFamily_ = plcGarnetSeries;
            break;
        case DropFamily::kKestrel:
        case DropFamily::kKestrelDio:
            ioFamily_ = plcKestrel;
            break;
        case DropFamily::kWrenBrisk:
            ioFamily_ = plcWren;
            break;
        case DropFamily::kSorrel:
            ioFamily_ = plcSorrel;
            break;
        case DropFamily::kSlc500:
            ioFamily_ = plcSlc500;
            break;
        case DropFamily::kControlLogix:
            ioFamily_ = plcControlLogix;
            break;
        case DropFamily::kBrisk7:
            ioFamily_ = plcBrisk7;
            break;
        case DropFamily::kHeron:
            ioFamily_ = plcHeron;
            break;
        case DropFamily::kPlc5:
            ioFamily_ = plcPlc5;
            break;
        case DropFamily::kRaven:
            ioFamily_ = plcRaven;
            break;
        default:
            ioFamily_ = plcUnsupported;
            break;
    }
}

void CCfgDrop::SetName(std::string_view name) {
    static constexpr std::pair<std::string_view, int32_t> kRows[] = {
        {"", DropFamily::kDunlin},
        {"GarnetIODrop", DropFamily::kDunlin},
        {"MDI_I/O-Bus_drop", DropFamily::kIoBus},
        {"OspreyCANopendrop", DropFamily::kRaven},
        {"OspreyDropforEthernet", DropFamily::kRaven},
        {"FinchBasicDrop_Q2forEthernet", DropFamily::kRaven},
        {"FinchBasicDropforEthernet", DropFamily::kRaven},
        {"KestrelDropforDIO", DropFamily::kKestrel},
        {"KestrelDropforERIO", DropFamily::kKestrel},
        {"KestrelDropforlocal", DropFamily::kKestrel},
        {"KestrelDropforOspreyERIO", DropFamily::kKestrel},
        {"KestrelDropforRIO", DropFamily::kKestrel},
        {"SorrelDrop", DropFamily::kSorrel},
        {"TamarSarndrop", DropFamily::kSarn},
        {"DroverSarndrop", DropFamily::kSarn},
        {"PloverSarndrop", DropFamily::kSarn},
        {"BriskSarndrop", DropFamily::kSarn},
    };
    for (const auto& [given, family] : kRows) {
        if (name == given) {
            name_ = CCvtEnum::DropFamilyToString(family);
            return;
        }
    }
    name_ = name;
}

std::string CCfgDrop::TopoAddress() const {
    return std::to_string(busNum_) + "." + std::to_string(dropNum_);
}

}  // namespace vellcfgrdr
