#include "support/CIniDOM.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CStdLib.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr auto npos = std::string_view::npos;

// Calls f with each line of text: lines end at CR LF, or at LF in a text
// without any CR LF. A line end at the very end of the text starts no
// further line.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    const std::string_view eol = text.find("\r\n") != npos ? "\r\n" : "\n";
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = text.find(eol, pos);
        if (end == npos) {
            f(text.substr(pos));
            return;
        }
        f(text.substr(pos, end - pos));
        pos = end + eol.size();
    }
}

// Appends the physical line with its tabs made blanks and its blanks at both
// ends removed.
void AppendStripped(std::string& out, std::string_view raw) {
    const size_t from = out.size();
    out.append(CUtf8::TrimBlanks(raw));
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(from), out.end(), '\t', ' ');
}

// A quoted piece of a key line: [begin, end) in the unquoted text.
struct Quoted {
    size_t begin = npos;
    size_t end = npos;
    bool Contains(size_t i) const noexcept { return begin != npos && i >= begin && i < end; }
};

struct KeyLine {
    std::string text;  // the line without the quotes of the quote rule
    Quoted name;
    Quoted value;
};

// The quote rule: a leading pair of double quotes encloses (part of) the
// name, the next pair a piece of the line; both pieces are taken as they
// stand, ";" and blanks included, and an "=" in the name's belongs to it.
KeyLine Unquote(std::string_view line) {
    KeyLine k;
    size_t rest = 0;
    if (!line.empty() && line[0] == '"') {
        const size_t q = line.find('"', 1);
        if (q != npos) {
            k.text.append(line.substr(1, q - 1));
            k.name = {0, k.text.size()};
            rest = q + 1;
        }
    }
    const size_t q1 = line.find('"', rest);
    const size_t q2 = q1 == npos ? npos : line.find('"', q1 + 1);
    if (q2 == npos) {
        k.text.append(line.substr(rest));
        return k;
    }
    k.text.append(line.substr(rest, q1 - rest));
    k.value.begin = k.text.size();
    k.text.append(line.substr(q1 + 1, q2 - q1 - 1));
    k.value.end = k.text.size();
    k.text.append(line.substr(q2 + 1));
    return k;
}

void AppendCommentPart(std::string& out, const std::string& comment, bool verbatim) {
    if (verbatim) {
        out += comment;
    } else if (!comment.empty()) {
        out += ';';
        out += comment;
    }
    out += "\r\n";
}

}  // namespace

void CIniDOM::AddCommentLine(std::string text) {
    sections_.Add({}, std::move(text));
}

void CIniDOM::Reset(std::string fileName) {
    sections_ = CIniSections();
    fileName_ = std::move(fileName);
    linesRead_ = 0;
}

void CIniDOM::CreateFromFile(const std::string& path) {
    try {
        Reset(path);
        std::vector<uint8_t> bytes;
        try {
            CStdio::ReadBinFile(path, bytes);
        } catch (...) {
            // Opening the file is part of the load: the error is passed on
            // from here, not from the reading helper.
            CVellError e = ModGSCore::CurrentError();
            const size_t chain = e.Source().find(" > ");
            if (chain != std::string::npos) e.SetSource(e.Source().substr(0, chain));
            throw e;
        }
        const std::string text = CUtf8::FromExternal(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        std::vector<uint8_t>().swap(bytes);
        ReadAll(text);
    } catch (...) {
        ModGSCore::ReRaise("CreateFromFile(" + path + ")", {});
    }
}

void CIniDOM::CreateFromText(std::string_view text, std::string fileName) {
    Reset(std::move(fileName));
    ReadAll(text);
}

void CIniDOM::ReadAll(std::string_view text) {
    CIniSection* current = nullptr;
    // The line being read, with the lines that continue it appended.
    std::string line;
    bool continued = false;
    try {
        ForEachLine(text, [&](std::string_view raw) {
            ++linesRead_;
            AppendStripped(line, raw);
            continued = ReadLine(line, current);
        });
        // A continuation on the last line has nothing to join: the key line
        // ends there.
        if (continued && !line.empty()) ReadKeyLine(line, current);
    } catch (CVellError& e) {
        if (e.LineNumber() == 0) e.SetLineNumber(linesRead_);
        ModGSCore::ReRaise("ReadAll", {},
                           "line " + std::to_string(linesRead_) + " in " + fileName_);
    } catch (...) {
        ModGSCore::ReRaise("ReadAll", {},
                           "line " + std::to_string(linesRead_) + " in " + fileName_);
    }
}

// Reads one (joined) line. A key line ending in "\" is left in line without
// the "\" and true returned; every other line is consumed and line cleared.
bool CIniDOM::ReadLine(std::string& line, CIniSection*& current) {
    if (line.empty() || line[0] == ';') {
        std::string comment(CUtf8::Trim(std::string_view(line).substr(line.empty() ? 0 : 1)));
        if (current)
            current->Keys().Add({}, {}, std::move(comment));
        else
            sections_.Add({}, std::move(comment));
    } else if (line[0] == '[') {
        const std::string_view text(line);
        const size_t semi = text.find(';');
        const std::string_view head = CUtf8::Trim(text.substr(0, semi));
        // A "[" line that does not close is no header; it is dropped.
        if (head.size() >= 2 && head.back() == ']') {
            std::string comment;
            if (semi != npos) {
                const size_t next = text.find(';', semi + 1);
                comment = CUtf8::Trim(text.substr(semi + 1, next == npos ? npos : next - semi - 1));
            }
            current = sections_
                          .Add(std::string(CUtf8::Trim(head.substr(1, head.size() - 2))),
                               std::move(comment))
                          .get();
        }
    } else if (line.back() == '\\') {
        // Checked before the quote rule, so that a quoted value may end in "\".
        line.pop_back();
        return true;
    } else {
        ReadKeyLine(line, current);
    }
    line.clear();
    return false;
}

void CIniDOM::ReadKeyLine(std::string_view line, CIniSection* current) {
    const KeyLine k = Unquote(line);
    const std::string& t = k.text;
    // Only a quoted name keeps its "=": the first one after it splits, even
    // inside the quoted piece of the value.
    size_t eq = 0;
    while (eq < t.size() && (t[eq] != '=' || k.name.Contains(eq)))
        ++eq;
    if (eq == t.size()) throw CVellError(ErrNum::kInvalidPattern, "Unrecognized pattern");
    if (!current)
        throw CVellError(ErrNum::kInvalidPattern,
                         "Unrecognized pattern - key line before any section");

    // Trim blanks, but not those of a quoted piece.
    size_t nameEnd = eq;
    while (nameEnd > 0 && t[nameEnd - 1] == ' ' && !k.name.Contains(nameEnd - 1))
        --nameEnd;
    size_t vb = eq + 1, ve = t.size();
    while (vb < ve && t[vb] == ' ' && !k.value.Contains(vb))
        ++vb;
    while (ve > vb && t[ve - 1] == ' ' && !k.value.Contains(ve - 1))
        --ve;
    current->Keys().Add(t.substr(0, nameEnd), t.substr(vb, ve - vb));
}

void CIniDOM::Save(const std::string& path) const {
    ModGSCore::Guarded(Where::Object("CIniDOM"), "Save",
                       [&] { CStdio::SaveTextFile(path, ToText()); });
}

std::string CIniDOM::ToText() const {
    std::string out;
    for (const auto& section : sections_) {
        if (!section->Name().empty()) out += "[" + section->Name() + "]";
        AppendCommentPart(out, section->Comment(), section->Verbatim());
        for (const auto& key : section->Keys()) {
            if (!key->Name().empty()) {
                out += key->Name();
                out += '=';
                out += key->Value();
            }
            AppendCommentPart(out, key->Comment(), key->Verbatim());
        }
    }
    return out;
}

// Lookups by name see only named entries: the running keys of comment lines
// are no names.
std::shared_ptr<CIniSection> CIniDOM::FindSection(std::string_view name) const {
    auto section = sections_.ItemByKey(name);
    return section && !section->Name().empty() ? section : nullptr;
}

std::shared_ptr<CIniKey> CIniDOM::FindKey(std::string_view section, std::string_view key) const {
    const auto s = FindSection(section);
    if (!s || key.empty()) return nullptr;
    auto k = s->Keys().Item(key);
    return k && !k->Name().empty() ? k : nullptr;
}

bool CIniDOM::DeleteKey(std::string_view section, std::string_view key) {
    if (!FindKey(section, key)) return false;
    FindSection(section)->Keys().Remove(key);
    return true;
}

bool CIniDOM::DeleteSection(std::string_view section) {
    if (!FindSection(section)) return false;
    sections_.Remove(section);
    return true;
}

CDictionary<std::string> CIniDOM::EnumKeysAndValues(std::string_view section) const {
    CDictionary<std::string> out;
    if (const auto s = FindSection(section)) {
        for (const auto& key : s->Keys())
            if (!key->Name().empty() && !key->Verbatim() && !out.ContainsKey(key->Name()))
                out.Add(key->Name(), key->Value());
    }
    return out;
}

std::vector<std::string> CIniDOM::EnumSections() const {
    std::vector<std::string> names;
    for (const auto& section : sections_)
        if (!section->Name().empty()) names.push_back(section->Name());
    return names;
}

int32_t CIniDOM::GetLong(std::string_view section, std::string_view key, int32_t def) const {
    const auto k = FindKey(section, key);
    return k ? CStdLib::Atol(k->Value()) : def;
}

std::string CIniDOM::GetString(std::string_view section, std::string_view key,
                               std::string_view def) const {
    const auto k = FindKey(section, key);
    return k ? k->Value() : std::string(def);
}

void CIniDOM::PutString(std::string_view section, std::string_view key, std::string_view value) {
    try {
        // Empty names would make comment lines, not a section or a key.
        if (section.empty() || key.empty())
            ModGSCore::RaiseError("empty section or key name", ErrNum::kInvalidCall);
        auto s = FindSection(section);
        if (!s) s = sections_.Add(std::string(section));
        auto k = FindKey(section, key);
        if (!k) k = s->Keys().Add(std::string(key), {});
        k->SetValue(std::string(value));
    } catch (...) {
        const CVellError e = ModGSCore::CurrentError();
        throw CVellError(e.Number(), "Cannot write IniDom Attribute " + std::string(key));
    }
}

}  // namespace vellcfgrdr
