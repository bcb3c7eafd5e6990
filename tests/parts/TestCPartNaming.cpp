#include <gtest/gtest.h>

#include "TestUtil.h"
#include "core/modResStr.h"
#include "parts/CPartNaming.h"

using namespace vellcfgrdr;

namespace {
const CPartNaming& Naming() {
    return *CPartNaming::Instance();
}
}  // namespace

TEST(CPartNaming, CompressedAndBlankFreeForms) {
    EXPECT_EQ(Naming().CompressedName("AB-12 34"), "AB1234");
    EXPECT_EQ(Naming().CompressedName(" - -- "), "");
    EXPECT_EQ(Naming().CompressedName(""), "");
    EXPECT_EQ(Naming().RemoveBlanks("1756 - A10"), "1756-A10");
}

TEST(CPartNaming, ExpandedNameUsesCatalogPrefixes) {
    EXPECT_EQ(Naming().ExpandedName("318CPU2411"), "318 CPU 2411");
    EXPECT_EQ(Naming().ExpandedName("318 CPU2 411"), "318 CPU 2411");
    EXPECT_EQ(Naming().ExpandedName("441016205"), "4410 162 05");
    EXPECT_EQ(Naming().ExpandedName("VRDCH08"), "VRD CH 08");
    EXPECT_EQ(Naming().ExpandedName("LKX"), "LKX");                   // surplus blanks trimmed
    EXPECT_EQ(Naming().ExpandedName("ZZZ ABC 1"), "ZZZABC1");         // unknown prefix
    EXPECT_EQ(Naming().ExpandedName("  1756-A10 x "), "1756-A10 x");  // dash: trimmed only
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
    EXPECT_TRUE(Naming().IsBrisk57Cpu("brisk57-2034"));
    EXPECT_TRUE(Naming().IsBrisk57Cpu("BriskP57-2634"));
    EXPECT_TRUE(Naming().IsBrisk57Cpu("HRNPCX5760"));
    EXPECT_TRUE(Naming().IsBrisk57Cpu("BRISKP57-2341"));  // the catalogue's spelling
    EXPECT_TRUE(Naming().IsBrisk37Cpu("BRISKH37-2311"));
    EXPECT_FALSE(Naming().IsBrisk57Cpu("Brisk37-2110"));
    EXPECT_TRUE(Naming().IsBrisk37Cpu("Brisk37-2110"));
    EXPECT_TRUE(Naming().IsBrisk37Cpu("BriskH37-2110"));
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
