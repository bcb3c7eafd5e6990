#include "model/CCfgBus.h"

#include <utility>

namespace vellcfgrdr {

std::string CCfgBus::NormalizeTypename(std::string_view name, bool modelRows) {
    static constexpr std::pair<std::string_view, std::string_view> kRows[] = {
        {"Local Kestrel Bus", "Local bus"},
        {"DIO bus", "DIO bus"},
        {"RIO bus", "RIO bus"},
        {"ERIO bus", "Ethernet RIO bus"},
        {"Tbus", "Tbus"},
        {"TbusFinch", "Tbus"},
        {"TbusOsprey", "Tbus"},
        {"BusRIODIO", "Tbus RIO DIO"},
        {"CANopenFinchBasic", "CANopen bus"},
        {"CANopenCXM", "CANopen bus"},
        {"BUS_FIP", "Sarn bus"},
        {"Sarn", "Sarn bus"},
        {"MDIATIBus", "IO bus"},
        {"MDI_I/O-Bus", "IO bus"},
    };
    for (const auto& [given, stored] : kRows)
        if (name == given) return std::string(stored);
    if (modelRows) {
        if (name == "SLC500 Bus") return "SLC500 Bus";
        if (name == "T_BUS") return "Tbus";
    }
    return std::string(name);
}

}  // namespace vellcfgrdr
