// Peak memory of one conversion (read and document), for every reader of the
// format table: a hostile input with one 64 MB name, and an ordinary export
// grown to 64 MB. Each conversion runs in a child process whose peak
// resident size is read when it ends; the peak of a child that only starts
// the library is the fixed part. The target: the rest stays within three
// times the input size ("ratio" at most 3).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "readers/ReaderRegistry.h"
#include "vellcfgrdr/CPlcCfgReader.h"

namespace fs = std::filesystem;
using namespace vellcfgrdr;

namespace {

constexpr size_t kBigBytes = 64u << 20;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first example of the format, or an empty text.
fs::path Example(const ReaderDescription& d) {
    const fs::path folder = fs::path(VELL_SOURCE_DIR) / "examples" / std::string(d.key);
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        for (const auto& entry : fs::directory_iterator(folder))
            if (ReaderRegistry::FileFormatFromName(entry.path().string()) == d.format)
                return entry.path();
    return {};
}

// The example with one name made huge: after the first "CatalogNumber := \""
// or, in a line-based export, as a module line of its own; otherwise the
// huge word stands on a line before the text.
std::string HugeName(const std::string& text, const std::string& key) {
    const std::string big(kBigBytes, 'A');
    if (key == "controllogix") {
        const std::string mark = "CatalogNumber := \"";
        const size_t at = text.find(mark);
        if (at != std::string::npos)
            return text.substr(0, at + mark.size()) + big + text.substr(at + mark.size());
    }
    if (key == "slc500") {
        const size_t at = text.find("ladder");
        if (at != std::string::npos)
            return text.substr(0, at) + "slot 3 " + big + "\r\n" + text.substr(at);
    }
    return big + "\r\n" + text;
}

// The example repeated to the size; a text that grows by repetition of
// whole exports keeps every line in the reader's grammar.
std::string Grown(const std::string& text) {
    if (text.empty()) return std::string(kBigBytes, '\n');
    std::string out;
    out.reserve(kBigBytes + text.size());
    while (out.size() < kBigBytes)
        out += text;
    return out;
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

void Measure(benchmark::State& state, const ReaderDescription* d, bool hostile) {
    const fs::path example = Example(*d);
    const std::string base = example.empty() ? std::string() : ReadAll(example);
    const std::string text = hostile ? HugeName(base, std::string(d->key)) : Grown(base);
    const fs::path path = fs::temp_directory_path() / ("vell_peak_" + std::to_string(::getpid()) +
                                                       "." + std::string(d->extensions.front()));
    std::ofstream(path, std::ios::binary) << text;
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
    fs::remove(path);
    const double mb = 1024.0 * 1024.0;
    state.counters["input_MB"] = static_cast<double>(text.size()) / mb;
    state.counters["fixed_MB"] = static_cast<double>(fixed) / mb;
    state.counters["peak_MB"] = static_cast<double>(peak) / mb;
    state.counters["ratio"] = static_cast<double>(peak - fixed) / static_cast<double>(text.size());
}

const bool kRegistered = [] {
    for (const ReaderDescription* d : ReaderRegistry::Descriptions()) {
        for (const bool hostile : {true, false}) {
            const std::string name =
                "PeakMemory/" + std::string(d->key) + (hostile ? "/huge_name" : "/grown_export");
            benchmark::RegisterBenchmark(name.c_str(), Measure, d, hostile)
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace
