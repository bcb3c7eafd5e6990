#pragma once

#include <string_view>

namespace vellcfgrdr {

// The vocabulary of the exchange file: element names (Xe), attribute names
// (Xa) and paths (Xp). Attributes without a property ("displayPart",
// "partNumber", "ignoreError", "ignorePart") are written as literals.
class CConfigXmlDtd {
  public:
    static constexpr std::string_view XeRoot() noexcept { return "configExchangeFile"; }
    static constexpr std::string_view XeProject() noexcept { return "project"; }
    static constexpr std::string_view XePlc() noexcept { return "plc"; }
    static constexpr std::string_view XeBus() noexcept { return "bus"; }
    static constexpr std::string_view XeDrop() noexcept { return "drop"; }
    static constexpr std::string_view XeRack() noexcept { return "rack"; }
    static constexpr std::string_view XeModule() noexcept { return "module"; }
    static constexpr std::string_view XePickList() noexcept { return "pickList"; }
    static constexpr std::string_view XaVersion() noexcept { return "version"; }
    static constexpr std::string_view XaDateTime() noexcept { return "dateTime"; }
    static constexpr std::string_view XaVendor() noexcept { return "vendor"; }
    static constexpr std::string_view XaFileName() noexcept { return "fileName"; }
    static constexpr std::string_view XaFileType() noexcept { return "fileType"; }
    static constexpr std::string_view XaType() noexcept { return "type"; }
    static constexpr std::string_view XaPath() noexcept { return "path"; }
    static constexpr std::string_view XaFamily() noexcept { return "family"; }
    static constexpr std::string_view XaPartName() noexcept { return "partName"; }
    static constexpr std::string_view XaTopoAddress() noexcept { return "topoAddress"; }
    static constexpr std::string_view XaPosition() noexcept { return "position"; }
    // Kept for readers of older documents: in the written document the plc
    // element lies under project, so these paths select nothing there.
    static constexpr std::string_view XpPlc() noexcept { return "/configExchangeFile/plc"; }
    static constexpr std::string_view XpBus() noexcept { return "/configExchangeFile/plc/bus"; }
};

}  // namespace vellcfgrdr
