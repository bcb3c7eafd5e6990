// Cost of reading large Cobalt exchange files and Halyard exports: drops of
// 16 racks of 16 modules. The argument is the number of drops (4, 32, 256:
// about 1k, 8k and 64k modules), so the time per module shows whether the
// reading grows linearly.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "component/CVellBases.h"
#include "core/Enums.h"
#include "model/CIoConfig.h"
#include "readers/CReadHalyard.h"
#include "readers/CReadXEF.h"

using namespace vellcfgrdr;

namespace {

constexpr int kRacksPerDrop = 16;
constexpr int kModulesPerRack = 16;
const char* const kModules[] = {"318DIN1624", "318DOU1624T", "318AIN0820", "318DMX0808"};

std::string Item(const std::string& tag, const std::string& part, int position,
                 const std::string& inner = "") {
    return "<" + tag + "><partItem partNumber=\"" + part + "\"/><equipInfo position=\"" +
           std::to_string(position) + "\"/>" + inner + "</" + tag + ">\n";
}

std::string XefText(int drops) {
    std::string bus;
    for (int d = 1; d <= drops; ++d) {
        std::string racks;
        for (int r = 1; r <= kRacksPerDrop; ++r) {
            std::string modules = Item("powerSupply", "318PSU0824D", -1);
            for (int s = 0; s < kModulesPerRack - 1; ++s)
                modules += Item("moduleKestrel", kModules[s % 4], s);
            racks += Item("rackKestrel", "318RCK1601", r, modules);
        }
        bus += Item("dropKestrel", "KestrelDropforRIO", d, racks);
    }
    return "<?xml version=\"1.0\"?>\n<FEFExchangeFile><IOConf><PLC><partItem "
           "partNumber=\"318CPU2411\" family=\"Kestrel\"/><configKestrel><IOMapBlock>"
           "<busKestrel busType=\"RIO bus\"><equipInfo position=\"1\"/>" +
           bus + "</busKestrel></IOMapBlock></configKestrel></PLC></IOConf></FEFExchangeFile>\n";
}

std::string HalyardText(int drops) {
    std::string text = "BEGIN PLCConfig\r\nmodelName = 318CPU2411\r\nBEGIN DropHead\r\n";
    for (int d = 1; d <= drops; ++d) {
        text += "BEGIN IODrop\r\ndropNumber = " + std::to_string(d) + "\r\nDropType = 1\r\n";
        for (int r = 1; r <= kRacksPerDrop; ++r)
            for (int s = 0; s < kModulesPerRack; ++s)
                text += "BEGIN IOModule\r\nrack = " + std::to_string(r) +
                        "\r\nslot = " + std::to_string(s) + "\r\nmoduleName = \"" +
                        kModules[s % 4] + "\"\r\nEND\r\n";
        text += "END\r\n";
    }
    return text + "END\r\nEND\r\n";
}

template <class Reader>
void Run(benchmark::State& state, const std::string& extension, std::string (*make)(int)) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vell_bench_" + std::to_string(::getpid()) + extension))
                                 .string();
    std::ofstream(path, std::ios::binary) << make(static_cast<int>(state.range(0)));
    CVellPartDb& db = CVellBases::Instance().PartDb();
    int32_t modules = 0;
    for (auto _ : state) {
        CIoConfig cfg;
        cfg.SetPartInfo(db.PartInfo());
        cfg.SetPartMapping(db.PartMapping());
        cfg.SetFamilyInfo(db.FamilyInfo());
        cfg.SetProjectFileName(path);
        benchmark::DoNotOptimize(Reader().GetIoConfig(cfg));
        modules = cfg.ModuleList().Count();
    }
    std::filesystem::remove(path);
    state.counters["modules"] = modules;
    state.SetItemsProcessed(state.iterations() * modules);
}

void BM_ReadXef(benchmark::State& state) {
    Run<CReadXEF>(state, ".xef", &XefText);
}

void BM_ReadHalyard(benchmark::State& state) {
    Run<CReadHalyard>(state, ".asc", &HalyardText);
}

}  // namespace

BENCHMARK(BM_ReadXef)->Arg(4)->Arg(32)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHalyard)->Arg(4)->Arg(32)->Arg(256)->Unit(benchmark::kMillisecond);
