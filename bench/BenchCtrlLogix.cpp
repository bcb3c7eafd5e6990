// Reading large ControlLogix exports: the library and the whole command-line
// conversion of a 50 MB text export (".L5K"), with "grep -c MODULE" on the
// same file for scale, and the library on a 50 MB XML export (".L5X").
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "vellcfgrdr/CPlcCfgReader.h"

namespace {

constexpr size_t kTargetBytes = 50u << 20;

// A sample with its tag and program sections (everything between the end
// of the last module and the end of the controller) repeated to at least
// 50 MB.
class LargeExport {
  public:
    LargeExport(const char* sample, const std::string& lastModule, const std::string& end,
                const std::string& extension) {
        std::ifstream in(sample, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        const size_t modules = text.rfind(lastModule);
        const size_t bodyStart = text.find('\n', modules) + 1;
        const size_t bodyEnd = text.rfind(end);
        if (modules == std::string::npos || bodyEnd == std::string::npos || bodyEnd < bodyStart)
            throw std::runtime_error(std::string("unexpected sample layout: ") + sample);
        const std::string body = text.substr(bodyStart, bodyEnd - bodyStart);
        std::string out = text.substr(0, bodyStart);
        while (out.size() < kTargetBytes)
            out += body;
        out += text.substr(bodyEnd);
        size_ = out.size();
        path_ = (std::filesystem::temp_directory_path() /
                 ("vell_bench_" + std::to_string(::getpid()) + extension))
                    .string();
        std::ofstream(path_, std::ios::binary) << out;
    }
    ~LargeExport() { std::filesystem::remove(path_); }
    const std::string& Path() const { return path_; }
    size_t Size() const { return size_; }

  private:
    std::string path_;
    size_t size_ = 0;
};

const LargeExport& TextFile() {
    static const LargeExport file(VELL_SAMPLE, "END_MODULE", "END_CONTROLLER", ".L5K");
    return file;
}

const LargeExport& XmlFile() {
    static const LargeExport file(VELL_SAMPLE_XML, "</Modules>", "</Controller>", ".L5X");
    return file;
}

void Run(benchmark::State& state, const LargeExport& file, const std::string& command) {
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}

void Read(benchmark::State& state, const LargeExport& file) {
    vellcfgrdr::CPlcCfgReader reader;
    for (auto _ : state) {
        if (reader.ReadIOmap(file.Path()) != 0) state.SkipWithError("status");
        benchmark::DoNotOptimize(reader.Xml());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}

void BM_ReadIOmapAndXml(benchmark::State& state) {
    Read(state, TextFile());
}

void BM_ReadIOmapAndXml_L5X(benchmark::State& state) {
    Read(state, XmlFile());
}

void BM_CommandLine(benchmark::State& state) {
    Run(state, TextFile(), std::string(VELL_CLI_PATH) + " -q -o /dev/null " + TextFile().Path());
}

void BM_CommandLine_L5X(benchmark::State& state) {
    Run(state, XmlFile(), std::string(VELL_CLI_PATH) + " -q -o /dev/null " + XmlFile().Path());
}

// grep stops at the first match when its output is /dev/null: the count
// goes to a file, so that the whole export is searched.
void BM_GrepCountModule(benchmark::State& state) {
    const std::string count = TextFile().Path() + ".count";
    Run(state, TextFile(), "grep -c MODULE " + TextFile().Path() + " > " + count);
    std::filesystem::remove(count);
}

}  // namespace

BENCHMARK(BM_ReadIOmapAndXml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepCountModule)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadIOmapAndXml_L5X)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommandLine_L5X)->Unit(benchmark::kMillisecond)->UseRealTime();
