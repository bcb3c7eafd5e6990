#include "readers/CReadQuern.h"

#include <vector>

#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "core/MsgId.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "readers/CReadDunlinWarden.h"
#include "readers/CTesselGenericFunctions.h"
#include "support/CByteCursor.h"
#include "support/CByteMath.h"
#include "support/CFileSys.h"
#include "support/CStdio.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kSource = "CReadQuern";
const Where kWhere = Where::Object(kSource);

constexpr int32_t kMinVersion = 101;
constexpr int64_t kConfigOffset = 292;
constexpr int32_t kConfigWords = 128;
// Six words or fewer cannot hold a drop header after the table header.
constexpr int16_t kMinTableWords = 6;

}  // namespace

const ReaderDescription& CReadQuern::Description() {
    static const ReaderDescription d{
        pfQuern, "quern", "Quern controller image", "Corvane", {"cfg", "env"}};
    return d;
}

int32_t CReadQuern::GetIoConfig(CIoConfig& root) {
    // An environment file stands for the image beside it (names copied
    // from older systems are often in capitals, which a case-sensitive file
    // system keeps apart); any other file, however named, is the image
    // itself, so that a file read as this format by choice is the one read.
    const std::string& project = root.ProjectFileName();
    std::string path = project;
    if (CUtf8::EqualsNoCase(CFileSys::FileExtension(project, false), "env")) {
        path = CFileSys::FileChangeExtension(project, "cfg");
        if (!CFileSys::FileExists(path)) path = CFileSys::FileChangeExtension(project, "CFG");
    }
    if (!CFileSys::FileExists(path)) return ErrNum::kFileNotFound;
    try {
        std::vector<uint8_t> image;
        CStdio::ReadBinFile(path, image);
        CByteCursor cur(image, "Quern configuration", ErrNum::kBadFileFormat);

        if (cur.I32(ByteOrder::Little) < kMinVersion) {
            root.InfoMessage(modResStr::ResString(msgQuernVersion), eMsgWarning, kSource);
            return ErrNum::kBadFileFormat;
        }
        cur.Seek(kConfigOffset);
        const std::vector<int16_t> words = cur.I16Array(kConfigWords, ByteOrder::Little);

        TesselControllerId id;
        id.memorySize = 0;
        id.firstId = words[53] & 256;
        id.modelCode = words[0];
        id.optionByte = CByteMath::HighByte(words[49]);
        id.secondOption = words[51];
        id.optionByte2 = CByteMath::LowByte(words[127]);
        const int32_t procType = CTesselGenericFunctions::SetProcType(id).procType;
        const std::string cpuName = CTesselGenericFunctions::GetCpuName(procType);
        root.SetPlcName(cpuName);
        root.SetPlcFamily(CTesselGenericFunctions::GetCpuFamily(procType));
        if (root.PlcFamily() == plcNone) {
            // The family text (140) and the model name, joined as "%s : %s".
            root.InfoMessage(CCvtEnum::PlcFamilyToString(plcNone) + " : " + cpuName, eMsgError,
                             kSource);
            return ErrNum::kPlcNotValid;
        }

        if (words[41] == 0 || words[42] < 6) return ErrNum::kOk;
        const int64_t tableOffset = (static_cast<int64_t>(words[41]) + 98) * 2;
        cur.Seek(tableOffset);
        const int16_t length = cur.I16(ByteOrder::Little);
        if (length <= kMinTableWords) return ErrNum::kOk;
        cur.Seek(tableOffset);
        const auto stored = cur.Bytes(2 * static_cast<int64_t>(length));
        std::vector<uint8_t> table(stored.size());
        for (size_t i = 0; i + 1 < stored.size(); i += 2) {
            table[i] = stored[i + 1];
            table[i + 1] = stored[i];
        }
        return CReadDunlinWarden().ParseWarden(table, root);
    } catch (...) {
        // A short or inconsistent image: say which file, not only the status.
        root.ErrorReport(kWhere, "GetIoConfig");
        root.InfoMessage(modResStr::ResString(msgUnknownFileFormat) + ": " + path, eMsgError,
                         kSource);
        return ErrNum::kBadFileFormat;
    }
}

}  // namespace vellcfgrdr
