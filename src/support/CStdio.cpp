#include "support/CStdio.h"

#include "core/CUtf8.h"
#include "core/ModGSCore.h"
#include "support/CFileWriter.h"
#include "support/CInputFile.h"

namespace vellcfgrdr {

namespace {

// Decodes by byte-order mark; without one by the rule of FromExternal. Large
// exports are mostly valid UTF-8 or plain ASCII: those are kept in their
// buffer rather than copied.
std::string Decode(std::string&& bytes) {
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) return CUtf8::FromUtf16Le(std::string_view(bytes).substr(2));
        if (b0 == 0xFE && b1 == 0xFF) {
            // Big-endian: swapped in place into the little-endian order.
            for (size_t i = 2; i + 1 < bytes.size(); i += 2)
                std::swap(bytes[i], bytes[i + 1]);
            return CUtf8::FromUtf16Le(std::string_view(bytes).substr(2));
        }
        if (b0 == 0xEF && b1 == 0xBB) {
            const size_t mark =
                bytes.size() >= 3 && static_cast<unsigned char>(bytes[2]) == 0xBF ? 3 : 0;
            if (!CUtf8::IsValidUtf8(std::string_view(bytes).substr(mark)))
                return CUtf8::FromExternal(std::string_view(bytes).substr(mark));
            bytes.erase(0, mark);
            return std::move(bytes);
        }
    }
    if (CUtf8::IsValidUtf8(bytes)) return std::move(bytes);
    return CUtf8::FromExternal(bytes);
}

}  // namespace

std::string CStdio::LoadTextFile(const std::string& path) {
    try {
        std::string bytes;
        CInputFile(path).ReadAll(bytes);
        return Decode(std::move(bytes));
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CStdio"), "LoadTextFile(" + path + ")");
    }
}

int32_t CStdio::ReadBinFile(const std::string& path, std::vector<uint8_t>& out) {
    try {
        CInputFile(path).ReadAll(out);
        return static_cast<int32_t>(out.size());
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CStdio"), "ReadBinFile");
    }
}

void CStdio::SaveTextFile(const std::string& path, std::string_view text) {
    try {
        CFileWriter::WriteFile(path, CUtf8::ToCp1252(text));
    } catch (...) {
        ModGSCore::ReRaise(Where::Object("CStdio"), "SaveTextFile(" + path + ")");
    }
}

}  // namespace vellcfgrdr
