#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "readers/CReaderKit.h"
#include "readers/IReader.h"

namespace vellcfgrdr {

// Reads the XML exchange file of the Cobalt tool, plain (".xef", root
// FEFExchangeFile) or zipped (".zef", an archive holding "cobaltpro.xef"
// with root ZEFExchangeFile). Its element names come in two flavours, told
// apart by the suffix "Kestrel" or "ATS": a Kestrel PLC is read in its own
// flavour, any other in the ATS flavour and then once more in the Kestrel one.
class CReadXEF final : public IReader {
  public:
    // 0, or 14003 when an element with a position that is no number was
    // left out; every failure is raised: 321 for a file that is no exchange
    // file, 14001 for a PLC of no known family.
    static const ReaderDescription& Description();
    int32_t GetIoConfig(CIoConfig& root) override;

  private:
    // Extracts the exchange file of a zipped export into the folder; its path.
    std::string Unpack(const std::string& archive, const std::string& folder);
    void ReadDocument(const std::string& path);
    void ScanPlc(pugi::xml_node plc);
    void GetCpuInfo(pugi::xml_node plc);
    void ScanBusses(pugi::xml_node block, std::string_view flavour);
    void ScanBus(pugi::xml_node bus);
    void ScanDrops(pugi::xml_node bus, std::string_view flavour);
    void ScanRacks(pugi::xml_node element, std::string_view flavour, int32_t rackOffset);
    void PlaceModuleLikeChildren(pugi::xml_node element);
    void ScanModuleLikeItem(pugi::xml_node element, int32_t kind);
    // The element's position (0 when it has none), or nothing after a
    // warning naming the element when it is no number in min..max.
    std::optional<int32_t> Position(pugi::xml_node element, int32_t min = INT16_MIN,
                                    int32_t max = INT16_MAX);

    CIoConfig* root_ = nullptr;
    CReaderKit* kit_ = nullptr;
    int32_t bus_ = 0;
    int32_t drop_ = 0;
    int32_t rack_ = 0;
    // Handed to the part mapping for modules; left at 0 so that a module
    // name is never widened into a guess within the PLC's family.
    int32_t matchingFamily_ = 0;
};

}  // namespace vellcfgrdr
