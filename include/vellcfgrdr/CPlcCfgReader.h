#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "vellcfgrdr/CEvent.h"
#include "vellcfgrdr/CPublicEnums.h"
#include "vellcfgrdr/CVellError.h"
#include "vellcfgrdr/VellExport.h"

namespace vellcfgrdr {

class CIoConfig;

// A format the library reads.
struct CFormatInfo {
    std::string key;                      // the short name a format is asked for by
    std::string name;                     // the format as users know it
    std::string vendor;                   // maker of the programming tool
    std::vector<std::string> extensions;  // lower case, without the dot
};

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
    // The same, read as the format named whatever the extension: a format's
    // key or one of its extensions (see Formats()); an empty name chooses by
    // the extension. A name that is neither raises 14001 listing the formats.
    int32_t ReadIOmap(const std::string& sFilename, const std::string& sFormat);
    // Reads a project from a stream (standard input, a pipe) as the format
    // named. Its bytes go to a private temporary file, at most 1 GiB (more
    // raises 75), removed before the call returns; messages and the XML call
    // the project sName.
    int32_t ReadIOmap(std::istream& input, const std::string& sFormat, const std::string& sName);
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
    // One line about a read in the current language: how it ended
    // ("complete", "complete with warnings (14003)", "failed (321): ...")
    // and what the document holds.
    std::string SummaryText(int32_t status, const CConversionSummary& counts) const;

    // A name a user can read for the source of a message of this object
    // (sources are the sending classes' names): "catalogue" for the parts
    // knowledge, the name of the format being read for the reader and the
    // configuration it fills, "VellCfgRdr" for the rest.
    std::string SourceName(const std::string& source) const;

    // Where the debug-mode traces of the process go: the handler gets each
    // trace's text and source (standard error when no handler is set; an
    // empty handler restores it). It may be called on any thread that uses
    // the library.
    using TraceHandler = std::function<void(const std::string& text, const std::string& source)>;
    static void SetTraceHandler(TraceHandler handler);

    // Every format read, in a fixed order.
    static std::vector<CFormatInfo> Formats();

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
    int32_t Read(const std::string& path, const std::string& format, const std::string& name);
    int32_t ExecReader(const std::string& format);
    void AddMissingPlc();

    std::unique_ptr<CIoConfig> mIoConfig;
    bool mReading = false;
    std::string mFormatName;  // of the current configuration
};

}  // namespace vellcfgrdr
