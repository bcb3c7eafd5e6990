#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "support/KeyHash.h"

namespace vellcfgrdr {

class CCfgBus;
class CCfgDrop;
class CCfgModule;
class CCfgRack;
class CIoConfig;
class CXMLDocument;
class IPartInfo;

// Writes a configuration as the exchange XML "configExchangeFile": the model
// tree in list order, every part marked as resolved (partNumber), ambiguous
// (pickList children) or unresolved (an ignore flag).
//
// The lists are flat and refer to their parents by number; they are grouped
// by parent once per write, so the cost grows with the number of elements,
// not with the product of the list sizes. Elements whose parent is missing
// are not written.
//
// When SOURCE_DATE_EPOCH holds a decimal number of seconds, dateTime is that
// time in UTC instead of the local time, so that output compares byte for
// byte.
class CLoomWriter {
  public:
    explicit CLoomWriter(std::shared_ptr<const IPartInfo> partInfo);
    ~CLoomWriter();
    CLoomWriter(const CLoomWriter&) = delete;
    CLoomWriter& operator=(const CLoomWriter&) = delete;

    // The formatted document. Errors pass on with the step that met them.
    std::string CreateXml(const CIoConfig& root);

    // The dateTime text: "YYYY-MM-DD HH:MM:SS".
    static std::string DateTimeText();
    // The vendor attribute of a ProjectFormat.
    static std::string VendorName(int32_t format);

  private:
    // The part table's answers about one name, each asked for at most once
    // per write.
    struct PartFacts {
        std::optional<bool> exists;
        std::optional<int32_t> type;
        std::optional<bool> resolved;
        std::optional<std::vector<std::string>> picklist;
        std::exception_ptr picklistError;
    };

    void IndexModel();
    void CreateRootNode();
    void CreateProjectNode();
    void WritePlcNode();
    void WriteBusses();
    void WriteDrops(const CCfgBus& bus);
    void WriteRacks(const CCfgDrop& drop);
    void WriteModules(const CCfgRack& rack);
    void WritePickList(const std::vector<std::string>& list, pugi::xml_node parent);

    static std::string MapBusType(std::string_view name);
    std::string ModuleTypeText(const std::string& name, int32_t slot);
    bool IsResolvedPart(const std::string& name);
    bool HasPickList(const std::string& name);

    PartFacts& Facts(const std::string& name);
    bool PartExists(const std::string& name);
    const std::vector<std::string>& Picklist(const std::string& name);

    std::shared_ptr<const IPartInfo> partInfo_;
    const CIoConfig* root_ = nullptr;
    std::unique_ptr<CXMLDocument> doc_;
    pugi::xml_node xmlRoot_, xmlProject_, xmlPlc_, xmlBus_, xmlDrop_, xmlRack_, xmlModule_;

    // Children of each parent in list order, keyed by the parent's numbers.
    std::unordered_map<uint64_t, std::vector<const CCfgDrop*>> dropsByBus_;
    std::unordered_map<uint64_t, std::vector<const CCfgRack*>> racksByDrop_;
    std::unordered_map<uint64_t, std::vector<const CCfgModule*>> modulesByRack_;
    std::unordered_map<std::string, PartFacts, StringHash, StringEqual> facts_;
};

}  // namespace vellcfgrdr
