#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "parts/CFamilyPartList.h"
#include "parts/CPartInfo.h"

using namespace vellcfgrdr;
using Names = std::vector<std::string>;

namespace {

void WriteParts(const test::TempDir& dir, const std::vector<std::string>& rows) {
    dir.Write(CPartInfo::kPartFileName, test::PartFile(rows));
    dir.Write(CPartInfo::kSupplementFileName, "");
}

Names AllNames(const IFamilyPartList& list) {
    Names names;
    for (int32_t i = 1; i <= list.Count(); ++i)
        names.push_back(list.Part(i));
    return names;
}

}  // namespace

TEST(CFamilyPartList, FamilyThenNeutralPartsInFileOrderBuiltOnce) {
    test::TempDir dir;
    WriteParts(dir, {"NonSpecific|Cable|Accessories|CBL0010|0|1|0|||Cable",
                     "Raven|Module|AnalogIn|RVNAIN0820|0|1|0|||Analog",
                     "Heron|Module|Counter|HRNCNT0210|0|2|0|||Counter",
                     "Lark|CPU|Standard|LKXCPU2411|0|1|0|||CPU",
                     "NonSpecific|Service|Other|SVC0001|0|1|0|||Service"});
    auto info = std::make_shared<CPartInfo>();
    info->Init(dir.Str());

    CFamilyPartList list;
    list.Init(plcLark, info);
    EXPECT_EQ(list.PlcFamily(), plcLark);
    EXPECT_EQ(AllNames(list), (Names{"RVNAIN0820", "LKXCPU2411", "CBL0010", "SVC0001"}));
    EXPECT_EQ(test::CatchError([&] { list.Part(0); }).Number(), 9);
    EXPECT_EQ(test::CatchError([&] { list.Part(5); }).Number(), 9);

    // Once built, the list keeps its names when the table is reloaded.
    WriteParts(dir, {"Lark|CPU|Standard|LKXCPU3411|0|1|0|||CPU"});
    info->Init(dir.Str());
    EXPECT_EQ(list.Count(), 4);
    CFamilyPartList fresh;
    fresh.Init(plcLark, info);
    EXPECT_EQ(AllNames(fresh), (Names{"LKXCPU3411"}));
}
