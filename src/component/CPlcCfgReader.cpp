#include "vellcfgrdr/CPlcCfgReader.h"

#include <istream>
#include <string_view>
#include <vector>

#include "component/CVellBases.h"
#include "core/CCvtEnum.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "model/CModelCheck.h"
#include "output/CHardwareView.h"
#include "output/CHtmlReportWriter.h"
#include "output/CLoomWriter.h"
#include "readers/ReaderRegistry.h"
#include "support/CFileWriter.h"
#include "support/CInputFile.h"
#include "support/CStdLib.h"
#include "support/CWorkFolder.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "PlcCfgReader";
const Where kWhere = Where::Object("CPlcCfgReader");

// The reader a caller names; an unknown name is posted and raised as 14001
// with the names that would do.
const ReaderDescription* FindFormat(CIoConfig& root, const std::string& name) {
    if (const ReaderDescription* d = ReaderRegistry::FindByName(name)) return d;
    std::string keys;
    for (const ReaderDescription* d : ReaderRegistry::Descriptions())
        keys += (keys.empty() ? "" : ", ") + std::string(d->key);
    const std::string text =
        CStdLib::Sprintf(modResStr::ResString(msgUnknownFormatName), {name, keys});
    root.InfoMessage(text, eMsgError, kSource);
    ModGSCore::RaiseError(text, ErrNum::kUnknownFormat);
}

CVellPartDb& PartDb() {
    return CVellBases::Instance().PartDb();
}

}  // namespace

CPlcCfgReader::CPlcCfgReader() {
    ModGSCore::Guarded(kWhere, "Class_Initialize", [this] { NewConfig(); });
}

CPlcCfgReader::~CPlcCfgReader() = default;

void CPlcCfgReader::NewConfig() {
    auto config = std::make_unique<CIoConfig>();
    // The parts knowledge is attached at once, so that even an empty or
    // failed configuration can be written.
    config->SetPartInfo(PartDb().PartInfo());
    config->SetPartMapping(PartDb().PartMapping());
    config->SetFamilyInfo(PartDb().FamilyInfo());
    config->EvtInfoMessage.Subscribe(
        [this](const std::string& m, eMessageLevel l, const std::string& s) {
            EvtInfoMessage.Raise(m, l, s);
        });
    mIoConfig = std::move(config);
}

int32_t CPlcCfgReader::ReadIOmap(const std::string& sFilename) {
    try {
        return Read(sFilename, {}, sFilename);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadIOmap");
    }
}

int32_t CPlcCfgReader::ReadIOmap(const std::string& sFilename, const std::string& sFormat) {
    try {
        return Read(sFilename, sFormat, sFilename);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadIOmap");
    }
}

int32_t CPlcCfgReader::ReadIOmap(std::istream& input, const std::string& sFormat,
                                 const std::string& sName) {
    try {
        if (mReading) ModGSCore::RaiseError("the reader is busy", ErrNum::kInvalidCall);
        const ReaderDescription* reader = FindFormat(*mIoConfig, sFormat);
        // Readers open their input by path, with the extension they expect.
        CWorkFolder work("ReadIOmap");
        const std::string entry = "input." + std::string(reader->extensions.front());
        {
            const std::unique_ptr<CFileWriter> file = work.CreateEntry(entry);
            std::vector<char> buffer(size_t{1} << 20);
            uint64_t total = 0;
            while (input.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
                   input.gcount() > 0) {
                const auto got = static_cast<size_t>(input.gcount());
                total += got;
                if (total > CInputFile::kMaxSize)
                    ModGSCore::RaiseError(
                        CStdLib::Sprintf(modResStr::ResString(msgFileTooLarge),
                                         {sName, std::to_string(CInputFile::kMaxSize)}),
                        ErrNum::kPathFileAccess);
                file->Write(std::string_view(buffer.data(), got));
            }
            if (input.bad())
                ModGSCore::RaiseError(
                    CStdLib::Sprintf(modResStr::ResString(msgFileNotReadable), {sName}),
                    ErrNum::kDeviceIo);
            file->Commit();
        }
        return Read(work.EntryPath(entry), std::string(reader->key), sName);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadIOmap");
    }
}

int32_t CPlcCfgReader::Read(const std::string& path, const std::string& format,
                            const std::string& name) {
    // A message handler that reads again would replace the configuration
    // that the running read is filling.
    if (mReading) ModGSCore::RaiseError("the reader is busy", ErrNum::kInvalidCall);
    mReading = true;
    const struct Done {
        bool& reading;
        ~Done() { reading = false; }
    } done{mReading};
    NewConfig();
    const ReaderDescription* reader =
        format.empty() ? ReaderRegistry::DescribeFile(path) : FindFormat(*mIoConfig, format);
    mFormatName = reader ? std::string(reader->name) : std::string();
    mIoConfig->SetProjectFormat(reader ? reader->format : pfUndefined);
    mIoConfig->SetProjectFileName(path);
    // A path that cannot be read as a project (missing, a folder, a FIFO,
    // a device, unreadable, too large) is refused here, naming what it is.
    CInputFile::Check(path);
    if (!reader) {
        // Hosts match this text; the tool adds the extensions it reads.
        const std::string text = modResStr::ResString(msgUnknownFileFormat) + ": " + name;
        mIoConfig->InfoMessage(text, eMsgError, kSource);
        ModGSCore::RaiseError(text, ErrNum::kUnknownFormat);
    }
    mIoConfig->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgReading), {name}), eMsgInfo,
                           kSource);
    mIoConfig->DebugMessage("Format=" + CCvtEnum::ProjectFormatToString(reader->format), kSource);
    const int32_t status = ExecReader(std::string(reader->key));
    // The document names the project as the caller knows it, not the
    // temporary copy that was read.
    if (name != path) mIoConfig->SetProjectFileName(name);
    return status;
}

int32_t CPlcCfgReader::ExecReader(const std::string& format) {
    try {
        int32_t result = ErrNum::kUnknownFormat;
        if (std::unique_ptr<IReader> reader =
                ReaderRegistry::CreateReader(ReaderRegistry::FindByName(format)))
            result = reader->GetIoConfig(*mIoConfig);
        if (mIoConfig->PlcFamily() == plcWren) AddMissingPlc();
        // An element the document would leave out makes a complete read one
        // with warnings, never a silent success.
        if (CModelCheck::LeftOut(*mIoConfig) > 0 && result == ErrNum::kOk)
            result = ErrNum::kWarnings;
        return result;
    } catch (...) {
        mIoConfig->ErrorReport(kWhere, "ExecReader");
        return ModGSCore::CurrentError().Number();
    }
}

void CPlcCfgReader::AddMissingPlc() {
    const CCfgBusList& buses = mIoConfig->BusList();
    if (buses.Count() == 0) return;
    const int32_t bus = buses.BusByIndex(1)->BusNum();
    const int32_t drop = mIoConfig->DropList().DropByIndex(1).DropNum();
    if (mIoConfig->ModuleList().FindModule(bus, drop, 1, 1)) return;
    mIoConfig->ModuleList().SetModule(bus, drop, 1, 1, mIoConfig->PlcName());
    mIoConfig->DebugMessage("Missing Plc added", "CPlcCfgReader");
}

std::string CPlcCfgReader::Xml() const {
    return ModGSCore::Guarded(
        kWhere, "Xml", [this] { return CLoomWriter(PartDb().PartInfo()).CreateXml(*mIoConfig); });
}

std::string CPlcCfgReader::ErrorDescription(int32_t errNum) const {
    if (errNum > 0 && errNum < 1024) return ModGSCore::StandardErrorText(errNum);
    switch (errNum) {
        case ErrNum::kUnknownFormat:
            return modResStr::ResString(msgUnknownFileFormat);
        case ErrNum::kPlcNotValid:
            return modResStr::ResString(msgPlcNotValid);
        case ErrNum::kWarnings:
            return modResStr::ResString(msgCompleteWithWarnings);
        default:
            return modResStr::ResString(msgUnspecifiedProblem);
    }
}

CConversionSummary CPlcCfgReader::Summary() const {
    return ModGSCore::Guarded(kWhere, "Summary", [this] {
        const CHardwareView view(*mIoConfig, PartDb().PartInfo());
        const CHardwareView::Totals& t = view.Count();
        CConversionSummary s;
        s.format = view.Format();
        s.plcFamily = view.PlcFamily();
        s.plcName = view.Plc().name;
        s.buses = t.buses;
        s.drops = t.drops;
        s.racks = t.racks;
        s.modules = t.modules;
        s.resolved = t.resolved;
        s.ambiguous = t.ambiguous;
        s.unresolved = t.unresolved;
        return s;
    });
}

std::string CPlcCfgReader::HtmlReport(int32_t status,
                                      const std::vector<CMessageRecord>& messages) const {
    return ModGSCore::Guarded(kWhere, "HtmlReport", [&] {
        const CHardwareView view(*mIoConfig, PartDb().PartInfo());
        // Status 0 has no text of its own in the message table.
        return CHtmlReportWriter::Write(
            view, status, status == eReadOk ? "complete" : ErrorDescription(status), messages);
    });
}

std::string CPlcCfgReader::FormatOfFile(const std::string& path) {
    const int32_t format = ReaderRegistry::FileFormatFromName(path);
    return format == pfUndefined ? std::string() : CCvtEnum::ProjectFormatToString(format);
}

std::string CPlcCfgReader::SummaryText(int32_t status, const CConversionSummary& counts) const {
    const auto n = [](int64_t v) { return std::to_string(v); };
    std::string how;
    if (status == ErrNum::kOk)
        how = modResStr::ResString(msgReadComplete);
    else if (status == ErrNum::kWarnings)
        how = CStdLib::Sprintf(modResStr::ResString(msgReadCompleteWithWarnings), {n(status)});
    else
        how = CStdLib::Sprintf(modResStr::ResString(msgReadFailed),
                               {n(status), ErrorDescription(status)});
    return CStdLib::Sprintf(
        modResStr::ResString(msgReadSummary),
        {how, n(counts.buses), n(counts.drops), n(counts.racks), n(counts.modules),
         n(counts.resolved), n(counts.ambiguous), n(counts.unresolved)});
}

std::string CPlcCfgReader::SourceName(const std::string& source) const {
    // Messages carry the sending class's name, which hosts may rely on; this
    // is the name shown to people.
    std::string_view s = source;
    if (s.starts_with('C')) s.remove_prefix(1);
    for (const std::string_view parts : {"PartInfo", "PartMapping", "PartNaming", "FamilyInfo",
                                         "FamilyPartList", "VellPartDb", "MappTest"})
        if (s.starts_with(parts)) return "catalogue";
    if (!mFormatName.empty()) return mFormatName;
    return "VellCfgRdr";
}

void CPlcCfgReader::SetTraceHandler(TraceHandler handler) {
    ModGSCore::SetTraceHandler(std::move(handler));
}

std::vector<CFormatInfo> CPlcCfgReader::Formats() {
    std::vector<CFormatInfo> formats;
    for (const ReaderDescription* d : ReaderRegistry::Descriptions())
        formats.push_back({std::string(d->key), std::string(d->name), std::string(d->vendor),
                           std::vector<std::string>(d->extensions.begin(), d->extensions.end())});
    return formats;
}

void CPlcCfgReader::SetLanguage(eGuiLanguage language) {
    try {
        // The message table keeps any number it is given and then finds no
        // text at all, so the range is checked here, at the public edge.
        if (language != eguiLangEnglish && language != eguiLangFrench)
            ModGSCore::RaiseError("language " + std::to_string(language), ErrNum::kInvalidCall);
        modResStr::SetGuiLanguage(language);
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "SetLanguage");
    }
}

eGuiLanguage CPlcCfgReader::Language() noexcept {
    return static_cast<eGuiLanguage>(modResStr::GetGuiLanguage());
}

}  // namespace vellcfgrdr
