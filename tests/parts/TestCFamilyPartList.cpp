#include <gtest/gtest.h>

#include "TestUtil.h"
#include "component/Enums.h"
#include "parts/CFamilyPartList.h"
#include "parts/CPartInfo.h"

using namespace vellcfgrdr;
using Names = std::vector<std::string>;

namespace {

void WriteParts(const test::TempDir& dir, const std::string& rows) {
    dir.Write(CPartInfo::kPartFileName,
              "Family\tType\tGroup\tPartName\tModuleId\tSlots\tPlacement\tPartCapabilities\t"
              "Picklist\tDescriptionEnglish\tDescriptionFrench\r\n" +
                  rows);
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
    WriteParts(dir,
               "NonSpecific\tCable\tAccessories\tCBL0010\t0\t1\t0\t\t\tCable\r\n"
               "Raven\tModule\tAnalogIn\tRVNAIN0820\t0\t1\t0\t\t\tAnalog\r\n"
               "Heron\tModule\tCounter\tHRNCNT0210\t0\t2\t0\t\t\tCounter\r\n"
               "Lark\tCPU\tStandard\tLKXCPU2010\t0\t1\t0\t\t\tCPU\r\n"
               "NonSpecific\tService\tOther\tSVC0001\t0\t1\t0\t\t\tService\r\n");
    auto info = std::make_shared<CPartInfo>();
    info->Init(dir.Str());

    CFamilyPartList list;
    list.Init(plcLark, info);
    EXPECT_EQ(list.PlcFamily(), plcLark);
    EXPECT_EQ(AllNames(list), (Names{"RVNAIN0820", "LKXCPU2010", "CBL0010", "SVC0001"}));
    EXPECT_EQ(test::CatchError([&] { list.Part(0); }).Number(), 9);
    EXPECT_EQ(test::CatchError([&] { list.Part(5); }).Number(), 9);

    // Once built, the list keeps its names when the table is reloaded.
    WriteParts(dir, "Lark\tCPU\tStandard\tLKXCPU3010\t0\t1\t0\t\t\tCPU\r\n");
    info->Init(dir.Str());
    EXPECT_EQ(list.Count(), 4);
    CFamilyPartList fresh;
    fresh.Init(plcLark, info);
    EXPECT_EQ(AllNames(fresh), (Names{"LKXCPU3010"}));
}
