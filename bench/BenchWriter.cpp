// Cost of writing the exchange XML of a large configuration: drops of 16
// racks of 16 modules, named from the shipped catalogue (resolved names,
// ambiguous ones with pick lists, and unknown ones). The argument is the
// number of drops: 4, 32 and 256 drops give about 1k, 8k and 64k modules,
// so the time per module shows whether the write grows linearly.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "component/CVellBases.h"
#include "core/Enums.h"
#include "model/CIoConfig.h"
#include "output/CLoomWriter.h"

using namespace vellcfgrdr;

namespace {

constexpr int kRacksPerDrop = 16;
constexpr int kModulesPerRack = 16;
constexpr int kBuses = 4;

// Module names of the Kestrel line: "318DIN16xx" and "318AIN08xx" are
// ambiguous (pick lists), "318XYZ0001" is not in the table.
const std::vector<std::string> kModuleNames = {
    "318DIN1624", "318DIN3224",  "318DOU1624T", "318DOU3224T", "318DIN16xx", "318AIN0820",
    "318DMX0808", "318DOU1624R", "318AIN0410V", "318XYZ0001",  "318DIN6424", "318DOU0824T",
    "318DMX1616", "318AIN08TC",  "318DIN0824",  "318AIN08xx",
};

void BuildModel(CIoConfig& cfg, int drops) {
    CVellPartDb& db = CVellBases::Instance().PartDb();
    cfg.SetPartInfo(db.PartInfo());
    cfg.SetPartMapping(db.PartMapping());
    cfg.SetFamilyInfo(db.FamilyInfo());
    cfg.SetProjectFileName("/plant/Large.asc");
    cfg.SetProjectFormat(pfHalyard);
    cfg.SetPlcFamily(plcKestrel);
    cfg.SetPlcName("318CPU2411");
    size_t n = 0;
    for (int d = 0; d < drops; ++d) {
        const int bus = 1 + d % kBuses;
        const int drop = 1 + d / kBuses;
        cfg.DropList().AddDrop3(bus, drop, DropFamily::kKestrel, "");
        for (int rack = 1; rack <= kRacksPerDrop; ++rack) {
            // Every eighth rack is unnamed, so the family's rack list is offered.
            cfg.RackList().AddRack(bus, drop, rack, rack % 8 == 0 ? "" : "318RCK1601");
            cfg.ModuleList().SetModule(bus, drop, rack, skPower, "318PSU0824D");
            for (int slot = 0; slot < kModulesPerRack - 1; ++slot, ++n) {
                // A few unknown names of their own, as readers produce for
                // modules they cannot name.
                if (n % 97 == 0)
                    cfg.ModuleList().SetModule(bus, drop, rack, slot,
                                               "ModuleID_" + std::to_string(n));
                else
                    cfg.ModuleList().SetModule(bus, drop, rack, slot,
                                               kModuleNames[n % kModuleNames.size()]);
            }
        }
    }
}

void BM_CreateXml(benchmark::State& state) {
    CIoConfig cfg;
    BuildModel(cfg, static_cast<int>(state.range(0)));
    const auto partInfo = cfg.PartInfo();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string xml = CLoomWriter(partInfo).CreateXml(cfg);
        bytes = xml.size();
        benchmark::DoNotOptimize(xml);
    }
    state.counters["modules"] = cfg.ModuleList().Count();
    state.counters["xmlKiB"] = static_cast<double>(bytes) / 1024.0;
    state.SetItemsProcessed(state.iterations() * cfg.ModuleList().Count());
}

}  // namespace

BENCHMARK(BM_CreateXml)->Arg(4)->Arg(32)->Arg(256)->Unit(benchmark::kMillisecond);
