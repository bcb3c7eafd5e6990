// Fixtures of the configuration model and its parts knowledge; kept apart
// from TestUtil.h for the weight of the includes.
#pragma once

#include <string>
#include <vector>

#include "component/CVellBases.h"
#include "model/CIoConfig.h"

namespace vellcfgrdr::test {

// The shipped parts knowledge attached as the reader component attaches it.
inline void AttachShippedParts(CIoConfig& cfg) {
    CVellPartDb& db = CVellBases::Instance().PartDb();
    cfg.SetPartInfo(db.PartInfo());
    cfg.SetPartMapping(db.PartMapping());
    cfg.SetFamilyInfo(db.FamilyInfo());
}

// Collects the texts of the configuration's warnings and errors.
inline void RecordProblems(CIoConfig& cfg, std::vector<std::string>& texts) {
    cfg.EvtInfoMessage.Subscribe(
        [&texts](const std::string& t, eMessageLevel l, const std::string&) {
            if (l == eMsgWarning || l == eMsgError) texts.push_back(t);
        });
}

// The row with its "|" turned into tabs.
inline std::string Tabs(std::string row) {
    for (char& c : row)
        if (c == '|') c = '\t';
    return row;
}

// A part table file: UTF-8 with its byte-order mark (without one it reads as
// Windows-1252), the header, then the rows written with "|" for the tab.
inline std::string PartFile(const std::vector<std::string>& rows, const std::string& eol = "\r\n") {
    std::string text = "\xEF\xBB\xBF";
    text += Tabs(
        "Family|Type|Group|PartName|ModuleId|Slots|Placement|PartCapabilities|Picklist|"
        "DescriptionEnglish|DescriptionFrench");
    for (const std::string& row : rows)
        text += eol + Tabs(row);
    return text + eol;
}

}  // namespace vellcfgrdr::test
