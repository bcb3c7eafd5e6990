// Batch conversion of 1,000 small generated projects: files per second with
// one thread and with one per core, and the speed-up over one thread.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "CBatchRunner.h"

using namespace vellcfgrdr;

namespace {

constexpr int kProjects = 1000;

// SLC 500 and ControlLogix exports of a few racks each, all different.
class Projects {
  public:
    Projects() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "vell_bench_batch_XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root_ = tmpl;
        const char* inputs[] = {"1746-IB16", "1746-OB16", "1746-OW16", "1746-NI4", "1746-NO4I",
                                "1746-IA16", "1746-OA16", "1746-NT4",  "1746-HSCE"};
        for (int p = 0; p < kProjects; ++p) {
            const std::filesystem::path folder = root_ / "in" / ("line" + std::to_string(p % 20));
            std::filesystem::create_directories(folder);
            std::ofstream out(folder / ("project" + std::to_string(p) + ".slc"), std::ios::binary);
            out << "start 1747-L532 LINE" << p << "\r\nrack 1 1746-A10\r\nrack 2 1746-A7\r\n";
            for (int s = 1; s <= 6 + p % 10; ++s)
                out << "slot " << s << " " << inputs[(p + s) % std::size(inputs)] << "\r\n";
            out << "ladder 2\r\n";
        }
    }
    ~Projects() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    std::string In() const { return (root_ / "in").string(); }
    std::string Out() const { return (root_ / "out").string(); }

  private:
    std::filesystem::path root_;
};

double gOneThread = 0;  // seconds per batch with one thread

// Arg: threads (0: one per core).
void BM_Batch(benchmark::State& state) {
    static const Projects projects;
    CBatchRunner::Options options;
    options.inputs = {projects.In()};
    options.outDir = projects.Out();
    options.jobs = static_cast<unsigned>(state.range(0));
    std::filesystem::create_directories(options.outDir);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CBatchRunner runner(options);
        runner.Collect();
        const std::atomic<bool> stop{false};
        if (!runner.Convert({}, stop) || runner.ExitStatus() != 0)
            state.SkipWithError("a conversion failed");
        runner.WriteSummaries();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double perBatch = seconds / static_cast<double>(state.iterations());
    if (state.range(0) == 1) gOneThread = perBatch;
    state.counters["files/s"] = kProjects / perBatch;
    state.counters["threads"] =
        state.range(0) ? state.range(0) : std::max(1u, std::thread::hardware_concurrency());
    if (gOneThread > 0) state.counters["speed-up"] = gOneThread / perBatch;
}
BENCHMARK(BM_Batch)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
