// Reading a large ControlLogix export: the library, the whole command-line
// conversion, and "grep -c MODULE" on the same file for scale.
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

// The sample with its tag and program sections (everything between the last
// END_MODULE and END_CONTROLLER) repeated to at least 50 MB.
class LargeExport {
  public:
    LargeExport() {
        std::ifstream in(VELL_SAMPLE, std::ios::binary);
        const std::string sample((std::istreambuf_iterator<char>(in)), {});
        const size_t lastModule = sample.rfind("END_MODULE");
        const size_t bodyStart = sample.find('\n', lastModule) + 1;
        const size_t end = sample.rfind("END_CONTROLLER");
        if (lastModule == std::string::npos || end == std::string::npos || end < bodyStart)
            throw std::runtime_error("unexpected sample layout");
        const std::string head = sample.substr(0, bodyStart);
        const std::string body = sample.substr(bodyStart, end - bodyStart);
        std::string text = head;
        while (text.size() < kTargetBytes)
            text += body;
        text += sample.substr(end);
        size_ = text.size();
        path_ = (std::filesystem::temp_directory_path() /
                 ("vell_bench_" + std::to_string(::getpid()) + ".L5K"))
                    .string();
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~LargeExport() { std::filesystem::remove(path_); }
    const std::string& Path() const { return path_; }
    size_t Size() const { return size_; }

  private:
    std::string path_;
    size_t size_ = 0;
};

const LargeExport& File() {
    static const LargeExport file;
    return file;
}

void Run(benchmark::State& state, const std::string& command) {
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().Size()));
}

void BM_ReadIOmapAndXml(benchmark::State& state) {
    vellcfgrdr::CPlcCfgReader reader;
    for (auto _ : state) {
        if (reader.ReadIOmap(File().Path()) != 0) state.SkipWithError("status");
        benchmark::DoNotOptimize(reader.Xml());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().Size()));
}

void BM_CommandLine(benchmark::State& state) {
    Run(state, std::string(VELL_CLI_PATH) + " -q -o /dev/null " + File().Path());
}

void BM_GrepCountModule(benchmark::State& state) {
    Run(state, "grep -c MODULE " + File().Path() + " > /dev/null");
}

}  // namespace

BENCHMARK(BM_ReadIOmapAndXml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepCountModule)->Unit(benchmark::kMillisecond)->UseRealTime();
