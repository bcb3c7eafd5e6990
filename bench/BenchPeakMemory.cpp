// Peak memory of one conversion (read and document), for every reader of the
// format table, each on large inputs: a hostile one with one 64 MB name (a
// binary image, whose names are bounded by its records, is padded to that
// size instead), an ordinary export grown to 64 MB by repeating its modules,
// and for the text formats both at once: a 16 MB name among 48 MB of
// modules (one value beyond what an XML stream parser takes by default, so a
// reader that falls back to a parsed document for it shows here). Each
// conversion runs in a child process whose peak resident size
// is read when it ends; the peak of a child that only starts the library is
// the fixed part. The target: the rest stays within three times the input
// size ("ratio" at most 3).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/CUtf8.h"
#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace fs = std::filesystem;
using namespace vellcfgrdr;

namespace {

constexpr size_t kBigBytes = 64u << 20;

// How a format's sample grows. The huge name goes right after `nameAfter`;
// the text from the first `repeatFrom` to the end of the `repeatTo` after
// it (one module) is repeated in place (the whole text when they are empty;
// a case whose module is not found fails rather than measure a text repeated
// whole, which a reader may stop reading after its first copy). A sample
// without `nameAfter` is binary: its file named `grownExtension` (the main
// file itself when empty) is padded with zeros, or repeated whole.
struct Growth {
    std::string_view key;
    std::string_view nameAfter;
    std::string_view repeatFrom;
    std::string_view repeatTo;
    std::string_view grownExtension;
};

// clang-format off
constexpr Growth kGrowths[] = {
    {"slc500",           "slot 3 ",            "slot 1 ",          "1746-HSCE\n",      {}},
    {"controllogix",     "CatalogNumber := \"", {},                {},                 {}},
    {"controllogix_xml", "CatalogNumber=\"",   "<Module ",         "</Module>",        {}},
    {"skeinpro",         "REFERENCE = '",      "      MODULE\r\n", "END_MODULE\r\n",   {}},
    {"halyard",          "moduleName = \"",    "BEGIN IOModule",   "END\n",            {}},
    {"cobalt",           "partNumber=\"",      "<moduleKestrel",   "</moduleKestrel>\n", {}},
    {"tesselqor",        {},                   {},                 {},                 "mdf"},
};
// clang-format on

const Growth& GrowthOf(std::string_view key) {
    static const Growth binary{};
    for (const Growth& g : kGrowths)
        if (g.key == key) return g;
    return binary;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The largest sample of the format: among its examples, else among its
// golden cases.
fs::path Sample(const ReaderDescription& d) {
    fs::path best;
    std::error_code ec;
    for (const fs::path& folder :
         {fs::path(VELL_SOURCE_DIR) / "examples" / std::string(d.key),
          fs::path(VELL_SOURCE_DIR) / "tests" / "data" / "e2e" / std::string(d.key)}) {
        if (!fs::is_directory(folder, ec)) continue;
        for (const auto& entry : fs::directory_iterator(folder))
            if (ReaderRegistry::FileFormatFromName(entry.path().string()) == d.format &&
                CUtf8::EqualsNoCase(entry.path().extension().string(),
                                    "." + std::string(d.extensions.front())) &&
                (best.empty() || entry.file_size() > fs::file_size(best)))
                best = entry.path();
        if (!best.empty()) return best;
    }
    return best;
}

std::string HugeName(const std::string& text, const Growth& g, size_t size = kBigBytes) {
    if (g.nameAfter.empty()) return text + std::string(size, '\0');
    const size_t at = text.find(g.nameAfter);
    if (at == std::string::npos) return std::string(size, 'A') + "\r\n" + text;
    const size_t cut = at + g.nameAfter.size();
    return text.substr(0, cut) + std::string(size, 'A') + text.substr(cut);
}

std::string Grown(const std::string& text, const Growth& g, size_t size = kBigBytes) {
    if (text.empty()) return std::string(size, '\n');
    size_t from = 0, to = text.size();
    if (!g.repeatFrom.empty()) {
        const size_t first = text.find(g.repeatFrom);
        const size_t end = first == std::string::npos ? first : text.find(g.repeatTo, first);
        if (end == std::string::npos) return {};
        from = first;
        to = end + g.repeatTo.size();
    }
    const std::string_view unit = std::string_view(text).substr(from, to - from);
    std::string out;
    out.reserve(size + text.size());
    out.append(text, 0, from);
    while (out.size() < size)
        out += unit;
    out.append(text, to);
    return out;
}

enum class Case { kHugeName, kGrown, kBoth };

std::string Build(const std::string& text, const Growth& g, Case c) {
    switch (c) {
        case Case::kHugeName:
            return HugeName(text, g);
        case Case::kGrown:
            return Grown(text, g);
        case Case::kBoth:
            break;
    }
    const std::string grown = Grown(text, g, kBigBytes / 4 * 3);
    return grown.empty() ? grown : HugeName(grown, g, kBigBytes / 4);
}

// Peak resident size in bytes of a child that runs f.
template <class F>
long ChildPeak(F&& f) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        f();
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss * 1024L;
}

// Writes the input of one case into a fresh folder: the sample's main file
// and its companions (files of the same name), one of them grown. Returns
// the main file and the bytes written.
fs::path WriteCase(const ReaderDescription& d, Case c, const fs::path& folder, size_t& bytes) {
    const fs::path sample = Sample(d);
    const Growth& g = GrowthOf(d.key);
    const std::string ext = "." + std::string(d.extensions.front());
    const fs::path main = folder / ("big" + (sample.empty() ? ext : sample.extension().string()));
    std::vector<fs::path> files{sample};
    if (!sample.empty())
        for (const auto& entry : fs::directory_iterator(sample.parent_path()))
            if (entry.path().stem() == sample.stem() && entry.path() != sample)
                files.push_back(entry.path());
    bytes = 0;
    for (const fs::path& from : files) {
        const fs::path to = folder / ("big" + (from.empty() ? ext : from.extension().string()));
        std::string text = from.empty() ? std::string() : ReadAll(from);
        const std::string_view grow =
            g.grownExtension.empty() ? d.extensions.front() : g.grownExtension;
        if (CUtf8::EqualsNoCase(to.extension().string(), "." + std::string(grow))) {
            text = Build(text, g, c);
            if (text.empty()) return {};
        }
        std::ofstream(to, std::ios::binary) << text;
        bytes += text.size();
    }
    return main;
}

void Measure(benchmark::State& state, const ReaderDescription* d, Case c) {
    const fs::path folder = fs::temp_directory_path() / ("vell_peak_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    size_t bytes = 0;
    const fs::path path = WriteCase(*d, c, folder, bytes);
    if (path.empty()) {
        fs::remove_all(folder);
        state.SkipWithError("the sample holds no module to repeat");
        return;
    }
    long fixed = 0, peak = 0;
    for (auto _ : state) {
        fixed = ChildPeak([] { CPlcCfgReader reader; });
        peak = ChildPeak([&] {
            try {
                CPlcCfgReader reader;
                reader.ReadIOmap(path.string());
                benchmark::DoNotOptimize(reader.Xml());
            } catch (const CVellError&) {
            }
        });
    }
    fs::remove_all(folder);
    const double mb = 1024.0 * 1024.0;
    state.counters["input_MB"] = static_cast<double>(bytes) / mb;
    state.counters["fixed_MB"] = static_cast<double>(fixed) / mb;
    state.counters["peak_MB"] = static_cast<double>(peak) / mb;
    state.counters["ratio"] = static_cast<double>(peak - fixed) / static_cast<double>(bytes);
}

const bool kRegistered = [] {
    for (const ReaderDescription* d : ReaderRegistry::Descriptions()) {
        const bool text = !GrowthOf(d->key).nameAfter.empty();
        for (const auto& [c, label] :
             {std::pair{Case::kHugeName, "/huge_name"}, std::pair{Case::kGrown, "/grown_export"},
              std::pair{Case::kBoth, "/huge_name_grown"}}) {
            if (c == Case::kBoth && !text) continue;
            const std::string name = "PeakMemory/" + std::string(d->key) + label;
            benchmark::RegisterBenchmark(name.c_str(), Measure, d, c)
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace
