// Start-up cost of the component: writing the support files, loading the
// parts knowledge from them, and the lookups every reader makes per part.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "component/CVellBases.h"
#include "core/Enums.h"
#include "parts/CVellPartDb.h"

using namespace vellcfgrdr;

namespace {

// A temporary folder for the run, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vell_bench_XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

std::string WriteSupportFiles(const std::string& root) {
    const std::string folder = CVellBases::PrepareSupportFolder(root);
    CVellBases::ExtractSupportFiles(folder);
    return folder;
}

// Arg 1: into an empty folder (the first start on a machine); arg 0: over
// the files of an earlier start, which are kept.
void BM_WriteSupportFiles(benchmark::State& state) {
    const ScratchFolder root;
    const bool fresh = state.range(0) != 0;
    const std::string folder = CVellBases::PrepareSupportFolder(root.Path());
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            std::filesystem::remove_all(folder);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(WriteSupportFiles(root.Path()));
    }
}
BENCHMARK(BM_WriteSupportFiles)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_LoadPartsKnowledge(benchmark::State& state) {
    const ScratchFolder root;
    const std::string folder = WriteSupportFiles(root.Path());
    for (auto _ : state) {
        CVellPartDb db;
        db.Init(folder);
        benchmark::DoNotOptimize(db.PartInfo()->Count());
    }
}
BENCHMARK(BM_LoadPartsKnowledge)->Unit(benchmark::kMillisecond);

// What the first use of the component costs; args as for the writing.
void BM_Startup(benchmark::State& state) {
    const ScratchFolder root;
    const bool fresh = state.range(0) != 0;
    const std::string folder = CVellBases::PrepareSupportFolder(root.Path());
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            std::filesystem::remove_all(folder);
            state.ResumeTiming();
        }
        CVellPartDb db;
        db.Init(WriteSupportFiles(root.Path()));
        benchmark::DoNotOptimize(db.PartInfo()->Count());
    }
}
BENCHMARK(BM_Startup)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Every legacy name of the mapping file through the calls a reader makes.
void BM_MappingLookups(benchmark::State& state) {
    const ScratchFolder root;
    CVellPartDb db;
    db.Init(WriteSupportFiles(root.Path()));
    const auto& mapping = dynamic_cast<const CPartMapping&>(*db.PartMapping());
    const IPartInfo& info = *db.PartInfo();
    const auto family = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        for (const std::string& name : mapping.LegacyNames()) {
            benchmark::DoNotOptimize(info.PartExists(name));
            benchmark::DoNotOptimize(mapping.ToPartRef(name));
            benchmark::DoNotOptimize(mapping.MatchModuleName(name, family));
        }
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<int64_t>(mapping.LegacyNames().size()));
}
BENCHMARK(BM_MappingLookups)->Arg(plcNone)->Arg(plcKestrel)->Unit(benchmark::kMicrosecond);

}  // namespace
