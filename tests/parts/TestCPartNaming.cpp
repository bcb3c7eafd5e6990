#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/modResStr.h"
#include "parts/CPartNaming.h"

using namespace vellcfgrdr;
using test::ExpectEach;

namespace {
const CPartNaming& Naming() {
    return *CPartNaming::Instance();
}
}  // namespace

TEST(CPartNaming, CompressedBlankFreeAndExpandedForms) {
    EXPECT_EQ(Naming().RemoveBlanks("1756 - A10"), "1756-A10");
    // clang-format off
    ExpectEach([](auto n) { return Naming().CompressedName(n); },
               {{"AB-12 34", "AB1234"}, {" - -- ", ""}, {"", ""}});
    // By the catalogue's prefixes; surplus blanks trimmed; an unknown prefix
    // compressed; with a dash only trimmed.
    ExpectEach([](auto n) { return Naming().ExpandedName(n); }, {
        {"318CPU2411", "318 CPU 2411"}, {"318 CPU2 411", "318 CPU 2411"},
        {"441016205", "4410 162 05"}, {"VRDCH08", "VRD CH 08"}, {"LKX", "LKX"},
        {"ZZZ ABC 1", "ZZZABC1"}, {"  1756-A10 x ", "1756-A10 x"}});
    // clang-format on
}

TEST(CPartNaming, FactorsAndLists) {
    int32_t factor = -1;
    EXPECT_EQ(Naming().RemovePartFactor(" (3) ABC ", factor), "ABC");
    EXPECT_EQ(factor, 3);
    EXPECT_EQ(Naming().RemovePartFactor("(x) ABC", factor), "ABC");
    EXPECT_EQ(factor, 0);
    EXPECT_EQ(Naming().RemovePartFactor("ABC", factor), "ABC");
    EXPECT_EQ(factor, 1);
    EXPECT_EQ(Naming().ExpandedNameEx("(2) 318CPU2411+XY"), "(2) 318 CPU 2411 + XY");
    EXPECT_EQ(Naming().ExpandedNameEx("(1) A+(x) B"), "A + B");
    EXPECT_EQ(Naming().ExpandedNameEx("A+B"), "A + B");
    EXPECT_EQ(Naming().ExpandedNameEx("   "), "");
}

TEST(CPartNaming, SpecialNames) {
    EXPECT_EQ(Naming().GenericPart(), "generic");
    EXPECT_TRUE(Naming().PartIsNothing("NOTHING"));
    EXPECT_TRUE(Naming().PartIsNothing(""));
    EXPECT_FALSE(Naming().PartIsNothing("nothing "));
    EXPECT_TRUE(Naming().IsPlaceholder("used by 2-slot module"));
    EXPECT_TRUE(Naming().IsPlaceholder(modResStr::ResString(130, eguiLangFrench)));
    EXPECT_FALSE(Naming().IsPlaceholder("used by 2-slot module "));
}

TEST(CPartNaming, CpuLines) {
    // clang-format off
    ExpectEach<bool>([](auto n) { return Naming().IsBrisk57Cpu(n); }, {
        {"brisk57-2034", true}, {"BriskP57-2634", true}, {"HRNPCX5760", true},
        {"BRISKP57-2341", true}, {"Brisk37-2110", false}});
    ExpectEach<bool>([](auto n) { return Naming().IsBrisk37Cpu(n); }, {
        {"BRISKH37-2311", true}, {"Brisk37-2110", true}, {"BriskH37-2110", true}});
    // clang-format on
    const std::vector<std::string> names{"Brisk57-2034", "Brisk57-20345", "Brisk57-2035"};
    EXPECT_EQ(Naming().FindLike(names, "Brisk57-203?"), "Brisk57-2034");
    EXPECT_EQ(Naming().FindLike(names, "*99*"), "");
}

TEST(CPartNaming, PhrasesByNumber) {
    EXPECT_EQ(Naming().PhraseById(0), "<br><b>Please note:</b>");
    EXPECT_NE(Naming().PhraseById(3).find("no direct replacement"), std::string::npos);
    const CVellError e = test::CatchError([] { Naming().PhraseById(4); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_NE(e.Description().find("phraseId 4 is invalid"), std::string::npos);
    EXPECT_EQ(e.Source(), "VellCfgRdr > PartNaming.PhraseById");
}
