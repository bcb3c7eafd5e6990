#include "readers/CReadCtrlLogix.h"

#include <cctype>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "readers/CCtrlLogixTopology.h"
#include "readers/CReaderKit.h"
#include "support/CByteMath.h"
#include "support/CStdLib.h"
#include "support/CStringTokenizer.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadCtrlLogix";
const Where kWhere = Where::Object("CReadCtrlLogix");
constexpr int32_t kMinVersion = 514;  // 2.2

// Whether the line starts with the keyword as a word: a data type, member or
// tag may be named "ModuleHealth" or "Module_Fault", and must not open a
// block that would swallow the modules after it.
bool IsKeyword(CTextReader& reader, std::string_view keyword) {
    if (!reader.LineStartsWith(keyword)) return false;
    const std::string_view rest = reader.Remainder();
    if (rest.empty()) return true;
    const auto c = static_cast<unsigned char>(rest[0]);
    return !(std::isalnum(c) || c == '_' || c >= 0x80);
}

// A whole number of the given range. The two faults keep their own numbers
// (13 for a text that is no number, 6 for one out of range), so a caller
// can tell a damaged file from a value this model cannot hold.
int32_t ToInteger(const std::string& text, int32_t min, int32_t max) {
    if (!CStdLib::IsNumeric(text))
        throw CVellError(ErrNum::kTypeMismatch,
                         ModGSCore::StandardErrorText(ErrNum::kTypeMismatch) + (" - " + text));
    const double v = CStdLib::RoundHalfEven(CStdLib::Val(text));
    if (!(v >= min && v <= max))
        throw CVellError(ErrNum::kOverflow,
                         ModGSCore::StandardErrorText(ErrNum::kOverflow) + (" - " + text));
    return static_cast<int32_t>(v);
}

int32_t ToInt16(const std::string& text) {
    return ToInteger(text, INT16_MIN, INT16_MAX);
}

// Port numbers only group modules: one that cannot be read is port 0.
int32_t ToPort(const std::string& text) {
    if (!CStdLib::IsNumeric(text)) return 0;
    const double v = CStdLib::RoundHalfEven(CStdLib::Val(text));
    return v >= 0 && v <= 65535 ? static_cast<int32_t>(v) : 0;
}

void AddAttribute(std::string_view piece, CReadCtrlLogix::Attributes& out) {
    const size_t assign = piece.find(":=");
    if (assign == std::string_view::npos) return;
    const std::string_view name = CUtf8::Trim(piece.substr(0, assign));
    const std::string_view value = CUtf8::Trim(piece.substr(assign + 2));
    out.emplace_back(std::string(name),
                     value.starts_with('"') ? CStdLib::UnQuoteString(value) : std::string(value));
}

}  // namespace

bool CReadCtrlLogix::ReadAttributes(CTextReader& reader, Attributes& out) {
    std::string_view line = reader.CurrLine();
    size_t pos = line.find('(');
    if (pos == std::string_view::npos) return true;
    ++pos;
    // A piece is a view into its line; only one that runs over lines is
    // gathered, so a long value is not copied character by character.
    size_t start = pos;
    std::string carried;
    auto add = [&](size_t end) {
        const std::string_view piece = line.substr(start, end - start);
        // Blanks carried from the line before are trimmed away anyway.
        if (CUtf8::Trim(carried).empty()) {
            AddAttribute(piece, out);
        } else {
            carried.append(piece);
            AddAttribute(carried, out);
        }
        carried.clear();
        start = end + 1;
    };
    int32_t depth = 0;
    for (;;) {
        // A quoted value never runs past its line: a stray quote must not
        // swallow the rest of the file.
        bool quoted = false;
        for (; pos < line.size(); ++pos) {
            const char c = line[pos];
            if (quoted) {
                if (c == '$' && pos + 1 < line.size())
                    ++pos;
                else if (c == '"' && pos + 1 < line.size() && line[pos + 1] == '"')
                    ++pos;
                else if (c == '"')
                    quoted = false;
                continue;
            }
            switch (c) {
                case '"':
                    quoted = true;
                    break;
                case '(':
                case '[':
                case '{':
                    ++depth;
                    break;
                case ')':
                    if (depth == 0) {
                        add(pos);
                        return true;
                    }
                    --depth;
                    break;
                case ']':
                case '}':
                    if (depth > 0) --depth;
                    break;
                case ',':
                    if (depth == 0) add(pos);
                    break;
                default:
                    break;
            }
        }
        carried.append(line.substr(std::min(start, line.size())));
        if (reader.AtEnd()) return false;
        line = reader.GetNextLine();
        pos = start = 0;
        if (CUtf8::StartsWithNoCase(line, "END_")) {
            AddAttribute(carried, out);
            return true;
        }
        carried.push_back(' ');
    }
}

const ReaderDescription& CReadCtrlLogix::Description() {
    static const ReaderDescription d{
        pfControlLogix, "controllogix", "ControlLogix text export", "Rockwell", {"l5k"}};
    return d;
}

int32_t CReadCtrlLogix::GetIoConfig(CIoConfig& root) {
    root_ = &root;
    try {
        ReadFile();
        // No CONTROLLER block: binary data or another tool's text.
        CReaderKit kit(root, kSource);
        if (!sawController_) return kit.NotOurFormat();
        if (cutShort_) {
            // A cut export would otherwise pass for a complete one.
            kit.Warn(msgFileEndsInBlock, {});
            kit.LeftOut();
        }
        return kit.Status(CCtrlLogixTopology(root).Build(parts_, processorType_));
    } catch (...) {
        const CVellError e = ModGSCore::CurrentError();
        root.InfoMessage(e.Description(), eMsgWarning, "ReadCtrlLogix");
        return e.Number();
    }
}

void CReadCtrlLogix::ReadFile() {
    try {
        reader_.SetTrimWhiteSpace(true);
        reader_.ReadFile(root_->ProjectFileName());
        while (!reader_.AtEnd()) {
            reader_.GetNextLine();
            if (IsKeyword(reader_, "IE_VER"))
                CheckVersion();
            else if (IsKeyword(reader_, "CONTROLLER"))
                ReadController();
        }
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadFile");
    }
}

void CReadCtrlLogix::CheckVersion() {
    const std::string rest(reader_.Remainder());
    CStringTokenizer tokens;
    tokens.SetDelimiters(" .;:=");
    tokens.SetSource(rest);
    auto byte = [](const std::string& token) {
        const double v = CStdLib::RoundHalfEven(CStdLib::Val(token));
        if (!(v >= 0 && v <= 255))
            throw CVellError(ErrNum::kOverflow,
                             ModGSCore::StandardErrorText(ErrNum::kOverflow) + (" - " + token));
        return static_cast<uint8_t>(v);
    };
    const uint8_t major = byte(tokens.NextToken());
    const uint8_t minor = byte(tokens.NextToken());
    const int32_t version = static_cast<uint16_t>(CByteMath::MakeWord(major, minor));
    if (version < kMinVersion)
        throw CVellError(
            ErrNum::kBadFileFormat,
            CStdLib::Sprintf(modResStr::ResString(msgVersionNotSupported), {"ControlLogix", rest}),
            ModGSCore::WhereText(kWhere, "ReadFile"));
}

void CReadCtrlLogix::ReadController() {
    sawController_ = true;
    Attributes attributes;
    const bool closed = ReadAttributes(reader_, attributes);
    for (const auto& [name, value] : attributes)
        if (CUtf8::EqualsNoCase(name, "ProcessorType")) processorType_ = root_->LimitText(value);
    cutShort_ = true;
    if (!closed) return;
    for (;;) {
        if (IsKeyword(reader_, "MODULE"))
            ReadModule();
        else if (IsKeyword(reader_, "END_CONTROLLER")) {
            cutShort_ = false;
            return;
        } else if (reader_.AtEnd())
            return;
        // Tags and logic make up most of a large export: they are passed
        // over without being split into lines.
        if (!reader_.SkipToLineStartingWith("MODULE", "END_CONTROLLER")) return;
    }
}

void CReadCtrlLogix::ReadModule() {
    CCtrlLogixPart part;
    {
        CStringTokenizer tokens;
        tokens.SetDelimiters(" ,(");
        tokens.SetSource(reader_.Remainder());
        part.SetName(root_->LimitText(tokens.NextTokenView()));
    }
    // Texts are cut as they are taken: a value may be as long as the file.
    Attributes attributes;
    // A block the text ends inside is dropped.
    if (!ReadAttributes(reader_, attributes)) return;
    for (const auto& [name, value] : attributes) {
        if (CUtf8::EqualsNoCase(name, "Parent"))
            part.SetParent(root_->LimitText(value));
        else if (CUtf8::EqualsNoCase(name, "ParentModPortId"))
            part.SetParentPort(ToPort(value));
        else if (CUtf8::EqualsNoCase(name, "CatalogNumber"))
            part.SetCatalogNumber(root_->LimitText(value));
        else if (CUtf8::EqualsNoCase(name, "UserDefinedCatalogNumber"))
            part.SetUserDefinedCatalogNumber(root_->LimitText(value));
        else if (CUtf8::EqualsNoCase(name, "Slot"))
            part.SetSlot(ToInt16(value));
        else if (CUtf8::EqualsNoCase(name, "Description"))
            part.SetDescription(std::string(root_->LimitText(value)));
        else if (CUtf8::EqualsNoCase(name, "ChassisSize"))
            part.SetChassisSize(ToInt16(value));
        else if (CUtf8::EqualsNoCase(name, "PortLabel"))
            part.SetPortLabel(std::string(root_->LimitText(value)));
    }
    for (;;) {
        if (IsKeyword(reader_, "END_MODULE")) {
            parts_.push_back(std::move(part));
            return;
        }
        if (reader_.AtEnd()) return;
        reader_.GetNextLine();
        if (IsKeyword(reader_, "CONNECTION")) {
            // An unclosed connection ends with its module.
            while (!reader_.AtEnd()) {
                reader_.GetNextLine();
                if (IsKeyword(reader_, "END_CONNECTION") || IsKeyword(reader_, "END_MODULE")) break;
            }
        }
    }
}

}  // namespace vellcfgrdr
