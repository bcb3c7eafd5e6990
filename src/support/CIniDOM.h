#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/CDictionary.h"
#include "support/CIniSections.h"
#include "support/IStorage.h"

namespace vellcfgrdr {

// An INI file as an ordered tree of sections and lines that keeps comments
// and blank lines, so that a document read and saved again keeps its order,
// names, values and comments (blanks around "=" and after ";" are not kept).
//
// Reading rules: tabs become blanks and each line is trimmed; an empty line
// or one starting with ";" is a comment line; "[Name] ;comment" is a section
// header (a "[" line without "]" is ignored); every other line is a key line
// "name = value", split at the first "=" with the value trimmed (an inline
// ";" remark stays part of the value). A key line ending in "\" continues on
// the next line. A line starting with a double quote quotes the name (an "="
// inside belongs to the name); two further double quotes quote a piece of
// the value, which is then kept as it stands.
class CIniDOM : public IStorage {
  public:
    CIniDOM() = default;
    CIniDOM(const CIniDOM&) = delete;
    CIniDOM& operator=(const CIniDOM&) = delete;

    CIniSections& Sections() noexcept { return sections_; }
    const CIniSections& Sections() const noexcept { return sections_; }
    // Appends a comment line to the top level.
    void AddCommentLine(std::string text);

    // Replaces the tree by the file's content (Windows-1252, CR LF). A failed
    // load keeps what was read before the failing line.
    void CreateFromFile(const std::string& path);
    // The same for a text already decoded; fileName only names it in errors.
    void CreateFromText(std::string_view text, std::string fileName);
    // Writes the tree as Windows-1252 with CR LF, replacing the file.
    void Save(const std::string& path) const;
    // The text Save writes (before encoding).
    std::string ToText() const;

    // The path of the last load and the number of lines it read.
    const std::string& FileName() const noexcept { return fileName_; }
    int32_t LinesRead() const noexcept { return linesRead_; }

    bool DeleteKey(std::string_view section, std::string_view key) override;
    bool DeleteSection(std::string_view section) override;
    CDictionary<std::string> EnumKeysAndValues(std::string_view section) const override;
    std::vector<std::string> EnumSections() const override;
    int32_t GetLong(std::string_view section, std::string_view key, int32_t def) const override;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const override;
    // A failure raises its number with "Cannot write IniDom Attribute " + key.
    void PutString(std::string_view section, std::string_view key, std::string_view value) override;

  private:
    void Reset(std::string fileName);
    void ReadAll(std::string_view text);
    bool ReadLine(std::string& line, CIniSection*& current);
    void ReadKeyLine(std::string_view line, CIniSection* current);
    std::shared_ptr<CIniSection> FindSection(std::string_view name) const;
    std::shared_ptr<CIniKey> FindKey(std::string_view section, std::string_view key) const;

    CIniSections sections_;
    std::string fileName_;
    int32_t linesRead_ = 0;
};

}  // namespace vellcfgrdr
