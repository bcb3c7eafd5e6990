#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

using namespace vellcfgrdr;
using test::CatchError;

TEST(ModGSCore, ReRaiseAddsOnlyTheInnermostPlace) {
    const CVellError e = CatchError([] {
        try {
            try {
                ModGSCore::RaiseError("detail", 9);
            } catch (...) {
                ModGSCore::ReRaise(Where::Object("CInner"), "Work");
            }
        } catch (...) {
            ModGSCore::ReRaise(Where::Object("COuter"), "Call", "more");
        }
    });
    EXPECT_EQ(e.Number(), 9);
    EXPECT_EQ(e.Source(), "VellCfgRdr > Inner.Work");
    EXPECT_EQ(e.Description(), std::string(ModGSCore::StandardErrorText(9)) + " - detail more");
}

TEST(ModGSCore, ReRaiseTurnsObjectNotSetIntoNullPointer) {
    const CVellError e = CatchError([] {
        try {
            throw CVellError(91, ModGSCore::StandardErrorText(91));
        } catch (...) {
            ModGSCore::ReRaise("X", "Y");
        }
    });
    EXPECT_EQ(e.Number(), 91);
    EXPECT_EQ(e.Description(), "Null Pointer Exception");
}

TEST(ModGSCore, ForeignExceptionsGetFittingNumbers) {
    auto number = [](auto&& thrower) {
        return CatchError([&] { ModGSCore::Guarded("G", "P", thrower); }).Number();
    };
    EXPECT_EQ(number([] { throw std::bad_alloc(); }), 7);
    EXPECT_EQ(number([] { throw std::out_of_range("x"); }), 9);
    EXPECT_EQ(number([] { throw std::invalid_argument("x"); }), 5);
    EXPECT_EQ(number([] { throw std::overflow_error("x"); }), 6);
    EXPECT_EQ(number([] { throw std::system_error(ENOENT, std::generic_category()); }), 53);
    EXPECT_EQ(number([] { throw std::system_error(EACCES, std::generic_category()); }), 70);
    EXPECT_EQ(number([] { throw std::runtime_error("x"); }), 51);
    EXPECT_EQ(number([] { throw 42; }), 51);
    const CVellError e =
        CatchError([] { ModGSCore::Guarded("G", "P", [] { throw std::out_of_range("x"); }); });
    EXPECT_EQ(e.Source(), "VellCfgRdr > G.P");
}

TEST(ModGSCore, ErrorTextIsOneLineWithNumberPlaceAndLine) {
    std::string text;
    try {
        CVellError e(457, "Duplicate Key", "IniDOM");
        e.SetLineNumber(12);
        throw e;
    } catch (...) {
        text = ModGSCore::ErrorText(Where::Object("CFamilyInfo"), "Load", "extra");
    }
    EXPECT_EQ(text, "Duplicate Key (Err=457) IniDOM > FamilyInfo.Load, near line 12 - extra");

    try {
        CVellError e(53, "File not found", "VellCfgRdr > Stdio.Load");
        e.SetOsError(ENOENT);
        throw e;
    } catch (...) {
        text = ModGSCore::ErrorText("X", "Y");
    }
    EXPECT_EQ(text, "File not found (Err=53) VellCfgRdr > Stdio.Load (Last DLL Error=2  " +
                        ModGSCore::ApiErrorText(ENOENT) + ")");
}

TEST(ModGSCore, DebugModeReadsLeadingNumber) {
    for (const char* value : {"1", "-1", "2abc"})
        EXPECT_TRUE(ModGSCore::DebugModeFromValue(value)) << value;
    // Only the first 255 characters count.
    for (const std::string& value :
         std::vector<std::string>{"0", "abc", "", std::string(255, ' ') + "1"})
        EXPECT_FALSE(ModGSCore::DebugModeFromValue(value)) << value;
}

TEST(ModGSCore, TraceLinePadsSourceToTwentyCharacters) {
    EXPECT_EQ(ModGSCore::FormatTrace("hello", "Src"), std::string(17, ' ') + "Src : hello");
    // Characters, not bytes, are counted.
    EXPECT_EQ(ModGSCore::FormatTrace("t", "Réglé"), std::string(15, ' ') + "Réglé : t");
    const std::string longSource(25, 's');
    EXPECT_EQ(ModGSCore::FormatTrace("t", longSource), longSource + " : t");
}
