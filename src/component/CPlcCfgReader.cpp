#include "vellcfgrdr/CPlcCfgReader.h"

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
#include "support/CInputFile.h"
#include "support/CStdLib.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "PlcCfgReader";
const Where kWhere = Where::Object("CPlcCfgReader");

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
        // A message handler that reads again would replace the configuration
        // that the running read is filling.
        if (mReading) ModGSCore::RaiseError("the reader is busy", ErrNum::kInvalidCall);
        mReading = true;
        const struct Done {
            bool& reading;
            ~Done() { reading = false; }
        } done{mReading};
        NewConfig();
        mIoConfig->SetProjectFormat(ReaderRegistry::FileFormatFromName(sFilename));
        mIoConfig->SetProjectFileName(sFilename);
        // A path that cannot be read as a project (missing, a folder, a FIFO,
        // a device, unreadable, too large) is refused here, naming what it is.
        CInputFile::Check(sFilename);
        const int32_t format = mIoConfig->ProjectFormat();
        if (format == pfUndefined || format == pfBlank) {
            const std::string text = modResStr::ResString(msgUnknownFileFormat) + ": " + sFilename;
            mIoConfig->InfoMessage(text, eMsgError, kSource);
            ModGSCore::RaiseError(text, ErrNum::kUnknownFormat);
        }
        mIoConfig->InfoMessage(CStdLib::Sprintf(modResStr::ResString(msgReading), {sFilename}),
                               eMsgInfo, kSource);
        mIoConfig->DebugMessage("Format=" + CCvtEnum::ProjectFormatToString(format), kSource);
        return ExecReader();
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "ReadIOmap");
    }
}

int32_t CPlcCfgReader::ExecReader() {
    try {
        int32_t result = ErrNum::kUnknownFormat;
        if (std::unique_ptr<IReader> reader =
                ReaderRegistry::CreateReaderFor(mIoConfig->ProjectFileName()))
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
