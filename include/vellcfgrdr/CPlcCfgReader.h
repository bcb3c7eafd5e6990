#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vellcfgrdr/CEvent.h"
#include "vellcfgrdr/CPublicEnums.h"
#include "vellcfgrdr/CVellError.h"
#include "vellcfgrdr/VellExport.h"

namespace vellcfgrdr {

class CIoConfig;

// One message of a conversion, as EvtInfoMessage gave it.
struct CMessageRecord {
    std::string text;
    eMessageLevel level = eMsgPlain;
    std::string source;
};

// What a configuration holds, counted as its exchange XML describes it
// (elements the XML leaves out are not counted).
struct CConversionSummary {
    std::string format;     // the project format, e.g. "ControlLogix"
    std::string plcFamily;  // e.g. "ControlLogix"
    std::string plcName;
    int32_t buses = 0, drops = 0, racks = 0, modules = 0;
    // Parts are the PLC, every rack and every module: resolved (a part
    // number), ambiguous (candidates to choose from) or unresolved.
    int32_t resolved = 0, ambiguous = 0, unresolved = 0;
};

// Reads the project or configuration file of a PLC and describes its I/O
// hardware as the exchange XML.
//
//     CPlcCfgReader reader;
//     reader.EvtInfoMessage.Subscribe([](const std::string& text, eMessageLevel level,
//                                        const std::string& source) { ... });
//     int32_t status = reader.ReadIOmap("plant.L5K");
//     std::string xml = reader.Xml();
//
// Every failure that leaves a member is a CVellError. The first reader of a
// process prepares the parts knowledge (support files in a private folder
// under the temporary folder); a failure there reaches that caller.
// One object serves one thread at a time.
class VELL_API CPlcCfgReader {
  public:
    CPlcCfgReader();
    ~CPlcCfgReader();
    CPlcCfgReader(const CPlcCfgReader&) = delete;
    CPlcCfgReader& operator=(const CPlcCfgReader&) = delete;

    // Reads the file into a new configuration and returns the status:
    // eReadOk, eReadWarnings, eReadPlcNotValid, eReadBadFile, or the
    // number of the error that ended the reading (the configuration keeps
    // what was read until then). A missing file raises 53 and a file whose
    // extension names no known format raises 14001. Called again from a
    // message handler while it reads, it raises 5 ("the reader is busy").
    int32_t ReadIOmap(const std::string& sFilename);
    // The exchange XML of the current configuration, made anew on each call.
    std::string Xml() const;
    // The text for a status or error number, in the current language.
    std::string ErrorDescription(int32_t errNum) const;
    // The counts of the current configuration.
    CConversionSummary Summary() const;
    // The rack report of the current configuration: one self-contained HTML
    // page (no script, nothing fetched) that prints on A4. Status and
    // messages are those of the read, as the caller received them.
    std::string HtmlReport(int32_t status, const std::vector<CMessageRecord>& messages) const;
    // The name of the format a path is read as by its extension, or an empty
    // text when no reader takes it.
    static std::string FormatOfFile(const std::string& path);

    // The language of every message and description of the process
    // (English at start). Anything but eguiLangEnglish or eguiLangFrench
    // raises 5 and leaves the language unchanged.
    static void SetLanguage(eGuiLanguage language);
    static eGuiLanguage Language() noexcept;

    // Progress, warnings and errors while reading, in order, on the
    // caller's thread: text, level and source.
    CEvent<const std::string&, eMessageLevel, const std::string&> EvtInfoMessage;

  private:
    void NewConfig();
    int32_t ExecReader();
    void AddMissingPlc();

    std::unique_ptr<CIoConfig> mIoConfig;
    bool mReading = false;
};

}  // namespace vellcfgrdr
