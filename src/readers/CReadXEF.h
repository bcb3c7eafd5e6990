#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    // A text of the file as CIoConfig::LimitText leaves it: the part kept,
    // and the warning of a cut, posted when the text is used.
    struct Text {
        std::string kept;
        std::string cutWarning;
    };
    // What the walk reads of an element: its own attributes, the part
    // number of its first partItem and the position of its first
    // equipInfo, and its elements of the tags the walk visits there.
    struct Element {
        uint8_t tag = 0;  // index in kTags
        bool ucMod = false;
        bool hasPartItem = false;
        bool hasEquipInfo = false;
        Text partNumber;
        std::string position;
        // A bus's busType and name.
        std::unique_ptr<std::pair<Text, Text>> bus;
        std::vector<Element> children;
    };

    // Extracts the exchange file of a zipped export into the folder; its path.
    std::string Unpack(const std::string& archive, const std::string& folder);
    void ReadDocument(const std::string& path);
    // The PLC element of the exchange file read as a stream: false when
    // the stream does not take the document; `found` false when it has no
    // PLC.
    bool StreamPlc(const std::string& path, Element& plc, bool& found);
    // The same from the parsed document, which reports why it is refused.
    bool ParsePlc(const std::string& path, Element& plc);
    void Take(pugi::xml_node from, Element& to);
    // Takes what the walk reads of the element `name`, a child of `parent`,
    // whose attributes `attribute` gives; the child kept, if it is one the
    // walk visits there.
    template <class Attributes>
    Element* Fill(Element& parent, std::string_view name, const Attributes& attribute);
    Text Limited(std::string_view text) const;
    std::string Use(const Text& text) const;

    void ScanPlc(const Element& plc);
    void GetCpuInfo(const Element& plc);
    void ScanBusses(const Element* block, std::string_view flavour);
    void ScanBus(const Element& bus);
    void ScanDrops(const Element& bus, std::string_view flavour);
    void ScanRacks(const Element& element, std::string_view flavour, int32_t rackOffset);
    void PlaceModuleLikeChildren(const Element& element);
    void ScanModuleLikeItem(const Element& element, int32_t kind);
    // The element's position (0 when it has none), or nothing after a
    // warning naming the element when it is no number in min..max.
    std::optional<int32_t> Position(const Element& element, int32_t min = INT16_MIN,
                                    int32_t max = INT16_MAX);

    CIoConfig* root_ = nullptr;
    CReaderKit* kit_ = nullptr;
    int32_t bus_ = 0;
    int32_t drop_ = 0;
    int32_t rack_ = 0;
    // Handed to the part mapping for modules; left at 0 so that a module
    // name is never widened into a guess within the PLC's family.
    int32_t matchingFamily_ = 0;
    // The family of the PLC's first partItem.
    std::string plcFamily_;
};

}  // namespace vellcfgrdr
