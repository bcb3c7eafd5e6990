#include "readers/ReaderRegistry.h"

#include <array>
#include <set>
#include <string>

#include "core/CUtf8.h"
#include "core/Enums.h"
#include "readers/CReadBrisk7.h"
#include "readers/CReadCtrlLogix.h"
#include "readers/CReadCtrlLogixXml.h"
#include "readers/CReadHalyard.h"
#include "readers/CReadQuern.h"
#include "readers/CReadSkeinPro.h"
#include "readers/CReadSlc500.h"
#include "readers/CReadTessel32.h"
#include "readers/CReadTesselQor.h"
#include "readers/CReadXEF.h"
#include "support/CFileSys.h"

namespace vellcfgrdr {

namespace {

struct Entry {
    const ReaderDescription& (*describe)();
    std::unique_ptr<IReader> (*create)();
};

template <class Reader>
constexpr Entry Register() {
    return {&Reader::Description, [] { return std::unique_ptr<IReader>(new Reader()); }};
}

// One line per reader. An extension without a reader (a format whose reader
// has not landed yet) is an unknown format.
// clang-format off
constexpr Entry kReaders[] = {
    Register<CReadSlc500>(),
    Register<CReadCtrlLogix>(),
    Register<CReadCtrlLogixXml>(),
    Register<CReadSkeinPro>(),
    Register<CReadBrisk7>(),
    Register<CReadHalyard>(),
    Register<CReadXEF>(),
    Register<CReadQuern>(),
    Register<CReadTesselQor>(),
    Register<CReadTessel32>(),
};
// clang-format on

const std::array<const ReaderDescription*, std::size(kReaders)>& AllDescriptions() {
    static const auto all = [] {
        std::array<const ReaderDescription*, std::size(kReaders)> a{};
        for (size_t i = 0; i < a.size(); ++i)
            a[i] = &kReaders[i].describe();
        return a;
    }();
    return all;
}

}  // namespace

int32_t ReaderRegistry::FileFormatFromName(std::string_view path) {
    const ReaderDescription* d = DescribeFile(path);
    return d ? d->format : pfUndefined;
}

const ReaderDescription* ReaderRegistry::DescribeFile(std::string_view path) {
    const std::string extension = CUtf8::ToLower(CFileSys::FileExtension(path, false));
    for (const ReaderDescription* d : AllDescriptions())
        for (const std::string_view e : d->extensions)
            if (e == extension) return d;
    return nullptr;
}

const ReaderDescription* ReaderRegistry::FindByName(std::string_view name) {
    if (name.starts_with('.')) name.remove_prefix(1);
    const std::string lower = CUtf8::ToLower(name);
    for (const ReaderDescription* d : AllDescriptions())
        if (d->key == lower) return d;
    for (const ReaderDescription* d : AllDescriptions())
        for (const std::string_view e : d->extensions)
            if (e == lower) return d;
    return nullptr;
}

std::unique_ptr<IReader> ReaderRegistry::CreateReader(const ReaderDescription* description) {
    for (const Entry& e : kReaders)
        if (&e.describe() == description) return e.create();
    return nullptr;
}

std::unique_ptr<IReader> ReaderRegistry::CreateReaderFor(std::string_view path) {
    return CreateReader(DescribeFile(path));
}

std::string ReaderRegistry::ExtensionList() {
    std::set<std::string_view> all;
    for (const ReaderDescription* d : AllDescriptions())
        all.insert(d->extensions.begin(), d->extensions.end());
    std::string list;
    for (const std::string_view e : all)
        list += (list.empty() ? "." : ", .") + std::string(e);
    return list;
}

std::unique_ptr<IReader> ReaderRegistry::CreateReader(int32_t format) {
    for (const Entry& e : kReaders)
        if (e.describe().format == format) return e.create();
    return nullptr;
}

std::span<const ReaderDescription* const> ReaderRegistry::Descriptions() {
    return AllDescriptions();
}

std::string ReaderRegistry::FormatTable() {
    std::string table = "| format | extensions | programming tool of |\n|---|---|---|\n";
    for (const ReaderDescription* d : AllDescriptions()) {
        std::string extensions;
        for (const std::string_view e : d->extensions)
            extensions += (extensions.empty() ? "`." : ", `.") + std::string(e) + "`";
        table += "| " + std::string(d->name) + " | " + extensions + " | " + std::string(d->vendor) +
                 " |\n";
    }
    return table;
}

}  // namespace vellcfgrdr
