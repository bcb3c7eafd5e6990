#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "component/CVellBases.h"
#include "core/ModGSCore.h"
#include "parts/CMappTestHalyard.h"
#include "parts/CMappTestTessel.h"

using namespace vellcfgrdr;

namespace {

// Records what the checks ask and answers from the shipped mapping.
class Recorder final : public IPartMapping {
  public:
    explicit Recorder(const IPartMapping& real) : real_(real) {}
    std::string MappCPU(std::string_view n, bool& f, int32_t fam) const override {
        return real_.MappCPU(n, f, fam);
    }
    std::string MatchModuleName(std::string_view n, int32_t fam) const override {
        return real_.MatchModuleName(n, fam);
    }
    std::string MatchPower(std::string_view n, int32_t fam) const override {
        return real_.MatchPower(n, fam);
    }
    std::string ToPartRef(std::string_view n) const override { return real_.ToPartRef(n); }
    void ValidateMapping(std::string_view name, std::string_view tool) const override {
        asked.emplace_back(std::string(name), std::string(tool));
    }
    mutable std::vector<std::pair<std::string, std::string>> asked;

  private:
    const IPartMapping& real_;
};

// Legacy names whose translation names a part the table does not carry
// (docs/catalogue.md, "Mapping targets outside the table").
const std::set<std::string> kUnresolved = {"812219909", "RVNWGT0100", "HRCDPM0100", "GRSTMP1600",
                                           "SRLSIM0100"};

CVellPartDb& Db() {
    return CVellBases::Instance().PartDb();
}

}  // namespace

TEST(MappingSelfChecks, ListsHaveTheirSizesAndOnlyKnownGapsStayUnresolved) {
    Recorder halyard(*Db().PartMapping());
    CMappTestHalyard().CheckMapping(halyard);
    EXPECT_EQ(halyard.asked.size(), 210u);

    Recorder tessel(*Db().PartMapping());
    CMappTestTessel().CheckMapping(tessel);
    // 340 listed names and the model names that are not skipped.
    ASSERT_GT(tessel.asked.size(), 340u);
    EXPECT_EQ(tessel.asked[340].first, "GRS-T110");
    EXPECT_EQ(tessel.asked.back().first, "077-T170");  // type 85: the later ones are skipped
    for (const auto& [name, tool] : tessel.asked)
        EXPECT_EQ(tool, "Tessel");

    std::set<std::string> unresolved;
    for (const auto& asked : {halyard.asked, tessel.asked})
        for (const auto& [name, tool] : asked)
            if (!Db().PartInfo()->PartExists(Db().PartMapping()->ToPartRef(name)))
                unresolved.insert(name);
    EXPECT_EQ(unresolved, kUnresolved);

    EXPECT_TRUE(CMappTestTessel::SkipsCpuName("Finch 100"));
    EXPECT_FALSE(CMappTestTessel::SkipsCpuName("GRS-T110"));
    EXPECT_TRUE(CMappTestTessel::SkipsCpuName("077PRC1120"));
}

// Run by CTest a second time with Debugmode=1 (tests/CMakeLists.txt).
TEST(MappingSelfChecks, InDebugModeAnalyzeReportsTheUnresolvedNames) {
    if (!ModGSCore::IsDebugMode()) GTEST_SKIP() << "needs Debugmode=1";
    std::vector<std::string> debug;
    const auto token = Db().EvtInfoMessage.Subscribe(
        [&](const std::string& text, eMessageLevel level, const std::string& source) {
            if (level == eMsgDebug && source == "CPartMapping") debug.push_back(text);
        });
    Db().Analyze(true);
    EXPECT_TRUE(debug.empty());
    Db().Analyze(false);
    Db().EvtInfoMessage.Unsubscribe(token);
    const std::vector<std::string> expected = {
        "Tessel mapped 812219909 to unknown 318SPC0900",
        "Tessel mapped RVNWGT0100 to unknown RVNSPC0700",
        "Tessel mapped HRCDPM0100 to unknown HRCFLD0400",
        "Tessel mapped GRSTMP1600 to unknown GRSAIN16TCI",
        "Tessel mapped SRLSIM0100 to unknown SVCSIM0001",
    };
    EXPECT_EQ(debug, expected);
}
