#include "readers/CReadCtrlLogixXml.h"

#include <charconv>
#include <optional>
#include <pugixml.hpp>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "readers/CCtrlLogixTopology.h"
#include "readers/CReaderKit.h"
#include "support/CStdLib.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadCtrlLogixXml";
const Where kWhere = Where::Object("CReadCtrlLogixXml");
constexpr int32_t kMaxSlot = INT16_MAX;

// Comments, processing instructions and white space are not kept: a large
// export holds mostly tags and logic, which are never looked at. A document
// type declaration is kept only to be refused.
constexpr unsigned kParseFlags =
    pugi::parse_escapes | pugi::parse_cdata | pugi::parse_doctype | pugi::parse_wconv_attribute;

// A plain whole number (digits, an optional minus sign) in min..max.
std::optional<int32_t> ToWhole(std::string_view text, int32_t min, int32_t max) {
    text = CUtf8::Trim(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < min ||
        value > max)
        return std::nullopt;
    return value;
}

}  // namespace

const ReaderDescription& CReadCtrlLogixXml::Description() {
    static const ReaderDescription d{
        pfControlLogix, "controllogix_xml", "ControlLogix XML export", "Rockwell", {"l5x"}};
    return d;
}

int32_t CReadCtrlLogixXml::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    try {
        std::vector<uint8_t> bytes;
        CStdio::ReadBinFile(root.ProjectFileName(), bytes);
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed =
            doc.load_buffer_inplace(bytes.data(), bytes.size(), kParseFlags);
        bool dtd = false;
        for (const pugi::xml_node n : doc.children())
            dtd = dtd || n.type() == pugi::node_doctype;
        const pugi::xml_node content = doc.child("RSLogix5000Content");
        if (!parsed || dtd || !content) {
            // Another format, a damaged export, or one that declares its own
            // entities: nothing in it is trusted.
            return CReaderKit(root, kSource).NotOurFormat();
        }
        const pugi::xml_node controller = content.child("Controller");
        const std::string targetType(root.LimitText(content.attribute("TargetType").as_string()));
        // Exports of a program, a routine or single modules hold the
        // controller as context at most.
        if (!controller || (!targetType.empty() && targetType != "Controller")) {
            root.InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgNoController),
                                              {targetType.empty() ? "?" : targetType}),
                             eMsgWarning, kSource);
            result_ = ErrNum::kWarnings;
        }
        const pugi::xpath_node_set modules =
            content.select_nodes("Controller/Modules/Module | Modules/Module | Module");
        parts_.reserve(modules.size());
        for (const pugi::xpath_node& m : modules) {
            CCtrlLogixPart part;
            if (ReadModule(m.node(), part)) parts_.push_back(std::move(part));
        }
        const int32_t built = CCtrlLogixTopology(root).Build(
            parts_, std::string(root.LimitText(controller.attribute("ProcessorType").as_string())));
        return built != 0 ? built : result_;
    } catch (...) {
        const CVellError e = ModGSCore::CurrentError();
        root.InfoMessage(e.Description(), eMsgWarning, "ReadCtrlLogixXml");
        return e.Number();
    }
}

bool CReadCtrlLogixXml::ReadModule(const pugi::xml_node& module, CCtrlLogixPart& part) {
    // Texts are cut as they are taken: a value may be as long as the file.
    part.SetName(root_->LimitText(module.attribute("Name").as_string()));
    part.SetParent(root_->LimitText(module.attribute("ParentModule").as_string()));
    part.SetParentPort(
        ToWhole(module.attribute("ParentModPortId").as_string(), 0, 65535).value_or(0));
    part.SetCatalogNumber(root_->LimitText(module.attribute("CatalogNumber").as_string()));
    part.SetUserDefinedCatalogNumber(
        root_->LimitText(module.attribute("UserDefinedCatalogNumber").as_string()));
    part.SetDescription(
        std::string(root_->LimitText(CUtf8::Trim(module.child("Description").text().as_string()))));

    // The upstream port names the parent's port and the slot in the
    // parent's chassis; a downstream port with a bus size holds the module's
    // own chassis, and its address is the module's slot there.
    pugi::xml_node upstream, backplane;
    for (const pugi::xml_node port : module.child("Ports").children("Port")) {
        if (port.attribute("Upstream").as_bool()) {
            if (!upstream) upstream = port;
        } else if (!backplane && port.child("Bus").attribute("Size")) {
            backplane = port;
        }
    }
    if (upstream)
        part.SetPortType(std::string(root_->LimitText(upstream.attribute("Type").as_string())));
    pugi::xml_attribute address;
    if (backplane) {
        const pugi::xml_attribute size = backplane.child("Bus").attribute("Size");
        const std::optional<int32_t> n = ToWhole(size.as_string(), 0, kMaxSlot);
        if (!n) {
            LeaveOut(part, "Size", size.as_string());
            return false;
        }
        part.SetChassisSize(*n);
        part.SetBackplanePort(ToWhole(backplane.attribute("Id").as_string(), 0, 65535).value_or(0));
        address = backplane.attribute("Address");
    } else if (upstream && !CCtrlLogixTopology::IsNetwork(part.PortType(), part.ParentPort())) {
        address = upstream.attribute("Address");
    }
    if (address) {
        const std::optional<int32_t> slot = ToWhole(address.as_string(), 0, kMaxSlot);
        if (!slot) {
            LeaveOut(part, "Address", address.as_string());
            return false;
        }
        part.SetSlot(*slot);
    }
    return true;
}

void CReadCtrlLogixXml::LeaveOut(const CCtrlLogixPart& part, const char* attribute,
                                 const std::string& value) {
    root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgBadModuleNumber),
                                        {part.Name(), part.CatalogNumber(), std::string(attribute),
                                         value, 0, kMaxSlot}),
                       eMsgWarning, kSource);
    result_ = ErrNum::kWarnings;
}

}  // namespace vellcfgrdr
