// Whole exports are golden cases (tests/data/e2e/slc500, tests/bad/slc500);
// these are the language of the warnings and the cut of a hostile name.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "core/Enums.h"
#include "core/modResStr.h"
#include "readers/CReadSlc500.h"

using namespace vellcfgrdr;

namespace {

class Slc500Test : public ::testing::Test {
  protected:
    int32_t Read(const std::string& text) {
        test::AttachShippedParts(cfg_);
        test::RecordProblems(cfg_, messages_);
        cfg_.SetProjectFileName(dir_.Write("p.slc", text));
        return CReadSlc500().GetIoConfig(cfg_);
    }
    std::string At(int32_t rack, int32_t slot) const {
        return cfg_.ModuleList().ModuleNameIn(0, 1, rack, slot);
    }

    test::TempDir dir_;
    CIoConfig cfg_;
    std::vector<std::string> messages_;
};

}  // namespace

TEST_F(Slc500Test, WarningsFollowTheLanguage) {
    modResStr::SetGuiLanguage(eguiLangFrench);
    const int32_t status = Read("start 1747-L532\nslot x 1746-IB16\nslot 1\n");
    modResStr::SetGuiLanguage(eguiLangEnglish);
    EXPECT_EQ(status, 14003);
    EXPECT_EQ(messages_,
              (std::vector<std::string>{
                  "Ligne 2 ignorée : x n'est pas un numéro d'emplacement de 0 à 2147483647 : "
                  "slot x 1746-IB16",
                  "Ligne 3 ignorée : un emplacement sans module : slot 1"}));
}

// A hostile name is cut where it enters the model, before mapping, messages
// and the document copy it again.
TEST_F(Slc500Test, OverlongNamesAreCutWithAWarning) {
    const std::string huge(5000, 'A');
    EXPECT_EQ(Read("start 1747-L532\nslot 1 " + huge + "\n"), 0);
    EXPECT_EQ(At(1, 1), std::string(CIoConfig::kMaxTextChars, 'A'));
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_[0], "A text of 5000 characters was cut to its first 1024: " +
                                std::string(40, 'A') + "...");
}
