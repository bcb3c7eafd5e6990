#include "readers/CReadCtrlLogixXml.h"

#include <charconv>
#include <iterator>
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
#include "readers/CXmlStream.h"
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
        const std::optional<int32_t> streamed = ReadStream();
        return streamed ? *streamed : ReadDocument();
    } catch (...) {
        const CVellError e = ModGSCore::CurrentError();
        root.InfoMessage(e.Description(), eMsgWarning, "ReadCtrlLogixXml");
        return e.Number();
    }
}

std::optional<int32_t> CReadCtrlLogixXml::ReadStream() {
    // The modules of the controllers, and those of an export of single
    // modules; the rest (tags, programs, logic) is skipped. They are taken
    // in three groups, each in document order: those of the controllers,
    // those in Modules below the root, those right below it.
    struct Walk final : CXmlStream::IHandler {
        CReadCtrlLogixXml& reader;
        bool ours = false;
        std::string targetType;
        std::string processorType;
        bool controller = false;
        std::string_view outer;  // the element below the root that holds the current one

        explicit Walk(CReadCtrlLogixXml& r) : reader(r) {}

        Action Start(int depth, std::string_view name, const CXmlStream::Attributes& a) override {
            if (depth == 0) {
                // Not ours if it is well formed; the parsed document decides
                // if not.
                ours = name == "RSLogix5000Content";
                if (ours) targetType = a.Get("TargetType").value_or("");
                return ours ? Action::kEnter : Action::kSkip;
            }
            bool enter = false;
            bool module = false;
            if (depth == 1) {
                outer = name == "Controller" ? "Controller" : name == "Modules" ? "Modules" : "";
                enter = !outer.empty();
                module = name == "Module";
                if (outer == "Controller" && !controller) {
                    controller = true;
                    processorType = a.Get("ProcessorType").value_or("");
                }
            } else if (depth == 2) {
                enter = outer == "Controller" && name == "Modules";
                module = outer == "Modules" && name == "Module";
            } else {
                module = name == "Module";
            }
            if (!module) return enter ? Action::kEnter : Action::kSkip;
            reader.group_ = static_cast<size_t>(3 - depth);
            return Action::kCopy;
        }

        void Copied(pugi::xml_node module) override {
            CCtrlLogixPart part;
            if (reader.ReadModule(module, part))
                reader.parts_[reader.group_].push_back(std::move(part));
        }
    } walk(*this);

    CXmlStream xml(root_->ProjectFileName());
    if (!xml.Read(walk)) {
        parts_ = {};
        held_.clear();
        result_ = 0;
        return std::nullopt;
    }
    if (!walk.ours) return CReaderKit(*root_, kSource).NotOurFormat();
    return Finish(walk.targetType, walk.controller, walk.processorType);
}

int32_t CReadCtrlLogixXml::ReadDocument() {
    std::vector<uint8_t> bytes;
    CStdio::ReadBinFile(root_->ProjectFileName(), bytes);
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
        return CReaderKit(*root_, kSource).NotOurFormat();
    }
    const pugi::xml_node controller = content.child("Controller");
    const pugi::xpath_node_set modules =
        content.select_nodes("Controller/Modules/Module | Modules/Module | Module");
    group_ = 0;  // the order of the union is already that of the groups
    parts_[0].reserve(modules.size());
    for (const pugi::xpath_node& m : modules) {
        CCtrlLogixPart part;
        if (ReadModule(m.node(), part)) parts_[0].push_back(std::move(part));
    }
    return Finish(content.attribute("TargetType").as_string(), controller,
                  controller.attribute("ProcessorType").as_string());
}

int32_t CReadCtrlLogixXml::Finish(std::string_view targetTypeText, bool controller,
                                  std::string_view processorType) {
    const std::string targetType(root_->LimitText(targetTypeText));
    // Exports of a program, a routine or single modules hold the
    // controller as context at most.
    if (!controller || (!targetType.empty() && targetType != "Controller")) {
        root_->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgNoController),
                                            {targetType.empty() ? "?" : targetType}),
                           eMsgWarning, kSource);
        result_ = ErrNum::kWarnings;
    }
    std::vector<CCtrlLogixPart>& parts = parts_[0];
    for (size_t group = 0; group < parts_.size(); ++group) {
        for (Held& h : held_) {
            if (h.group != group) continue;
            root_->InfoMessage(h.text, eMsgWarning, h.source);
            std::string().swap(h.text);
        }
        if (group > 0)
            parts.insert(parts.end(), std::make_move_iterator(parts_[group].begin()),
                         std::make_move_iterator(parts_[group].end()));
    }
    held_.clear();
    const int32_t built =
        CCtrlLogixTopology(*root_).Build(parts, std::string(root_->LimitText(processorType)));
    return built != 0 ? built : result_;
}

std::string_view CReadCtrlLogixXml::Limit(std::string_view text) {
    std::string warning;
    text = root_->LimitText(text, warning);
    // Posted with the CIoConfig's own source, as an immediate cut would be.
    if (!warning.empty()) held_.push_back({group_, std::move(warning), std::string()});
    return text;
}

bool CReadCtrlLogixXml::ReadModule(const pugi::xml_node& module, CCtrlLogixPart& part) {
    // Texts are cut as they are taken: a value may be as long as the file.
    part.SetName(Limit(module.attribute("Name").as_string()));
    part.SetParent(Limit(module.attribute("ParentModule").as_string()));
    part.SetParentPort(
        ToWhole(module.attribute("ParentModPortId").as_string(), 0, 65535).value_or(0));
    part.SetCatalogNumber(Limit(module.attribute("CatalogNumber").as_string()));
    part.SetUserDefinedCatalogNumber(
        Limit(module.attribute("UserDefinedCatalogNumber").as_string()));
    part.SetDescription(
        std::string(Limit(CUtf8::Trim(module.child("Description").text().as_string()))));

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
    if (upstream) part.SetPortType(std::string(Limit(upstream.attribute("Type").as_string())));
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
    held_.push_back({group_,
                     CStdLib::Sprintf(modResStr::ResString(msgBadModuleNumber),
                                      {part.Name(), part.CatalogNumber(), std::string(attribute),
                                       value, 0, kMaxSlot}),
                     kSource});
    result_ = ErrNum::kWarnings;
}

}  // namespace vellcfgrdr
