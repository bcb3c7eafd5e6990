#include "readers/ReaderRegistry.h"

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "readers/CReadBrisk7.h"
#include "readers/CReadCtrlLogix.h"
#include "readers/CReadCtrlLogixXml.h"
#include "readers/CReadHalyard.h"
#include "readers/CReadSkeinPro.h"
#include "readers/CReadSlc500.h"
#include "readers/CReadXEF.h"
#include "support/CFileSys.h"

namespace vellcfgrdr {

namespace {

struct Entry {
    std::string_view extension;  // lower case
    int32_t format;
    std::unique_ptr<IReader> (*create)();
};

template <class Reader>
std::unique_ptr<IReader> Make() {
    return std::make_unique<Reader>();
}

// One line per readable format. Formats without a reader yet (Quern
// "cfg"/"env", Tessel Qor "dcf", Tessel 32 "pwx") are unknown formats until
// their reader lands.
// clang-format off
constexpr Entry kReaders[] = {
    {"slc", pfSlc500, &Make<CReadSlc500>},
    {"l5k", pfControlLogix, &Make<CReadCtrlLogix>},
    {"fef", pfSkeinPro, &Make<CReadSkeinPro>},
    {"bin", pfSkein3, &Make<CReadBrisk7>},
    {"asc", pfHalyard, &Make<CReadHalyard>},
    {"xef", pfCobalt, &Make<CReadXEF>},
    {"zef", pfCobalt, &Make<CReadXEF>},
    {"l5x", pfControlLogix, &Make<CReadCtrlLogixXml>},
};
// clang-format on

}  // namespace

int32_t ReaderRegistry::FileFormatFromName(std::string_view path) {
    const std::string extension = CUtf8::ToLower(CFileSys::FileExtension(path, false));
    for (const Entry& e : kReaders)
        if (e.extension == extension) return e.format;
    return pfUndefined;
}

std::unique_ptr<IReader> ReaderRegistry::CreateReaderFor(std::string_view path) {
    const std::string extension = CUtf8::ToLower(CFileSys::FileExtension(path, false));
    for (const Entry& e : kReaders)
        if (e.extension == extension) return e.create();
    return nullptr;
}

std::unique_ptr<IReader> ReaderRegistry::CreateReader(int32_t format) {
    for (const Entry& e : kReaders)
        if (e.format == format) return e.create();
    return nullptr;
}

}  // namespace vellcfgrdr
