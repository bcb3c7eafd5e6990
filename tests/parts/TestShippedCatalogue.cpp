// Consistency of the support files that ship with the component.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "ModelFixture.h"
#include "TestUtil.h"
#include "component/CVellBases.h"
#include "core/CCvtEnum.h"
#include "core/CUtf8.h"
#include "core/Enums.h"
#include "core/modResStr.h"
#include "model/CIoConfig.h"
#include "output/CLoomWriter.h"
#include "parts/CFamilyInfo.h"
#include "parts/CPartNaming.h"
#include "parts/CVellPartDb.h"
#include "support/CIniDOM.h"
#include "support/CStdLib.h"
#include "support/CTextReader.h"

using namespace vellcfgrdr;

namespace {

class ShippedCatalogue : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir();
        CVellBases::ExtractSupportFiles(dir_->Str());
        db_ = new CVellPartDb();
        test::RecordMessages(*db_, messages_);
        db_->Init(dir_->Str());
        families_ = new CIniDOM();
        families_->CreateFromFile(dir_->File("FamilyInfo.txt"));
    }
    static void TearDownTestSuite() {
        delete families_;
        delete db_;
        delete dir_;
    }
    const IPartInfo& Parts() const { return *db_->PartInfo(); }

    static inline test::TempDir* dir_ = nullptr;
    static inline CVellPartDb* db_ = nullptr;
    static inline CIniDOM* families_ = nullptr;  // FamilyInfo.txt
    static inline std::vector<std::string> messages_;
};

// Keys of FamilyInfo.txt whose value is one part name.
const std::set<std::string> kPartKeys = {
    "defaultrack",        "defaultextrack",      "defaultcpu",
    "defaultpowersupply", "defaultredundpower",  "defaultbackplnextmod",
    "backplaneextkit",    "defaultriointerface", "defaultriohead",
    "slotcover",          "hotstdbycpu",         "rackextender"};

}  // namespace

TEST_F(ShippedCatalogue, LoadsWithoutMessagesAndHasTheExpectedSize) {
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    int maker = 0;
    for (const CPart& p : Parts().Parts())
        if (p.PlcFamily() != plcSlc500 && p.PlcFamily() != plcControlLogix &&
            p.PlcFamily() != plcPlc5 && (p.PlcFamily() < plcS5Small || p.PlcFamily() > plcS5ML))
            ++maker;
    EXPECT_GE(maker, 1000);
    // French descriptions survive the Windows-1252 round trip.
    EXPECT_NE(Parts().PartDescription("318RCK0401", true).find("Main rack"), std::string::npos);
    modResStr::SetGuiLanguage(eguiLangFrench);
    const std::string fr = Parts().PartDescription("318RCK0401", true);
    modResStr::SetGuiLanguage(eguiLangEnglish);
    EXPECT_NE(fr.find("Châssis"), std::string::npos);
}

TEST_F(ShippedCatalogue, EveryPartNamedByFamilyInformationIsKnown) {
    const CIniDOM& ini = *families_;
    const CPartNaming& naming = *CPartNaming::Instance();
    int checked = 0;
    for (const std::string& section : ini.EnumSections()) {
        for (const auto& pair : ini.EnumKeysAndValues(section)) {
            const std::string key = CUtf8::ToLower(pair.Key);
            const std::string value = db_->FamilyInfo()->FamilyAttribute(
                CCvtEnum::PlcFamilyFromString(section), pair.Key, "");
            std::vector<std::string> names;
            if (kPartKeys.count(key) || key.starts_with("migrack")) names = {value};
            if (key == "needsresolutionlist" || key == "virtualreplace")
                names = CStdLib::Split(value, '|');
            if (key == "hotstandbyparts")
                for (const std::string& p : CStdLib::Split(value, '+')) {
                    int32_t factor = 0;
                    names.push_back(naming.RemovePartFactor(p, factor));
                }
            if (key == "cpusubstitutions") {
                const std::vector<std::string> all = CStdLib::Split(value, '|');
                ASSERT_EQ(all.size() % 2, 0u) << section;
                for (size_t i = 1; i < all.size(); i += 2)
                    names.push_back(all[i]);
            }
            for (const std::string& name : names) {
                EXPECT_TRUE(Parts().PartExists(name)) << section << "." << pair.Key << ": " << name;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100);
    const auto& family = dynamic_cast<const CFamilyInfo&>(*db_->FamilyInfo());
    EXPECT_TRUE(family.Validate().empty());
    EXPECT_TRUE(family.HasHotStandbyOption(plcRaven));  // read from the Osprey section
    EXPECT_EQ(family.Lifecycle(plcGarnetSeries), 4);    // value with an inline comment
    EXPECT_EQ(family.DefaultRack(plcKestrel, 3), family.DefaultRack(plcKestrel, 1));
    // Every family of the maker names its essentials.
    for (int32_t f : {plcKestrel, plcGarnetSeries, plcHeron, plcWren, plcBrisk7, plcSorrel,
                      plcOsprey, plcLark}) {
        EXPECT_NE(db_->FamilyInfo()->FamilyAttribute(f, "DefaultRack", ""), "") << f;
        EXPECT_NE(db_->FamilyInfo()->DefaultCPU(f), "") << f;
        EXPECT_NE(db_->FamilyInfo()->DefaultPowerSupply(f), "") << f;
    }
}

TEST_F(ShippedCatalogue, MappingTargetsAreKnownButTheDocumentedOnes) {
    // The exceptions are listed in the catalogue conventions.
    std::set<std::string> documented;
    std::ifstream doc(std::string(VELL_SOURCE_DIR) + "/docs/catalogue.md");
    const std::regex row(R"(^\| `([^`]+)` \| `([^`]+)` \|$)");
    bool inSection = false;
    for (std::string line; std::getline(doc, line);) {
        if (line.starts_with("## "))
            inSection = line.find("Mapping targets outside") != std::string::npos;
        std::smatch m;
        if (inSection && std::regex_match(line, m, row)) documented.insert(m[2]);
    }
    ASSERT_FALSE(documented.empty());

    CTextReader reader;
    reader.ReadFile(dir_->File("PartMapping.txt"));
    reader.SetTrimWhiteSpace(true);
    reader.SetSkipBlankLines(true);
    reader.SetLineCommentDelimiter("'");
    std::set<std::string> unknown;
    int pairs = 0;
    while (!reader.AtEnd()) {
        const std::string line(reader.GetNextLine());
        if (line.empty()) continue;
        const size_t gap = line.find_first_of(" \t");
        ASSERT_NE(gap, std::string::npos) << line;
        const std::string legacy = line.substr(0, gap);
        const std::string target(CUtf8::TrimBlanks(line.substr(gap)));
        ++pairs;
        EXPECT_EQ(db_->PartMapping()->ToPartRef(legacy), target) << legacy;
        if (!Parts().PartExists(target)) unknown.insert(target);
    }
    EXPECT_GE(pairs, 400);
    EXPECT_EQ(unknown, documented);
    // Plover I/O written with the short prefix resolves to a known part.
    EXPECT_TRUE(Parts().PartExists(db_->PartMapping()->ToPartRef("97VDIN1624")));
}

TEST_F(ShippedCatalogue, CpuNamesRevealTheirFamily) {
    const std::set<int32_t> patterned = {plcKestrel, plcLark,  plcOsprey,
                                         plcPlover,  plcHeron, plcBriskFinch};
    int cpus = 0;
    for (const CPart& p : Parts().Parts()) {
        if (p.Typ() != ptCpu) continue;
        ++cpus;
        EXPECT_EQ(Parts().GuessCpuFamily(p.Name()), p.PlcFamily()) << p.Name();
        // A variant the table does not know still shows its family by its
        // name alone.
        if (patterned.count(p.PlcFamily())) {
            EXPECT_EQ(Parts().GuessCpuFamily(p.Name() + "Q"), p.PlcFamily()) << p.Name();
        }
    }
    EXPECT_GT(cpus, 50);
}

TEST_F(ShippedCatalogue, PickListsNameKnownParts) {
    for (const CPart& p : Parts().Parts()) {
        if (p.Picklist().empty()) continue;
        for (const std::string& candidate : Parts().Picklist(p.Name()))
            EXPECT_TRUE(Parts().PartExists(candidate, true)) << p.Name() << " -> " << candidate;
    }
    EXPECT_TRUE(Parts().PartNeedsResolution("genericRackKestrel"));
    EXPECT_GE(Parts().Picklist("genericRackKestrel").size(), 2u);
}

TEST_F(ShippedCatalogue, GenericCpuPatternsNamePartsOfTheTable) {
    // A reader puts the pattern, each wildcard written "x", in place of a
    // processor it does not know: that name must be a part.
    const CIniDOM& ini = *families_;
    int families = 0;
    for (const std::string& section : ini.EnumSections()) {
        const std::string value =
            db_->FamilyInfo()->GenericCPUs(CCvtEnum::PlcFamilyFromString(section));
        if (value.empty()) continue;
        ++families;
        for (std::string name : CStdLib::Split(value, '|')) {
            for (char& c : name)
                if (c == '#' || c == '*' || c == '?') c = 'x';
            EXPECT_TRUE(Parts().PartExists(name, true)) << section << ": " << name;
        }
    }
    EXPECT_GE(families, 11);
}

TEST_F(ShippedCatalogue, EveryRealPartIsWrittenAsResolved) {
    // Only placeholders may leave a choice: names with "x" digits or "*", the
    // families' placeholder racks and the names a family lists as needing
    // resolution. A real part that is the start of two others would get them
    // as candidates in a slot; a processor or rack that is the start of any
    // other, or not upper case, would never be resolved.
    const CIniDOM& ini = *families_;
    std::set<std::string> needResolution;
    for (const std::string& section : ini.EnumSections())
        for (const std::string& name :
             CStdLib::Split(db_->FamilyInfo()->FamilyAttribute(
                                CCvtEnum::PlcFamilyFromString(section), "NeedsResolutionList", ""),
                            '|'))
            needResolution.insert(name);
    test::EnvGuard epoch("SOURCE_DATE_EPOCH", "0");
    int real = 0;
    for (const CPart& p : Parts().Parts()) {
        const std::string& name = p.Name();
        if (name.find_first_of("x*") != std::string::npos || name.starts_with("genericRack") ||
            needResolution.count(name)) {
            EXPECT_TRUE(Parts().PartNeedsResolution(name)) << name;
            continue;
        }
        ++real;
        const bool cpu = p.Typ() == ptCpu, rack = p.Typ() == ptRack;
        CIoConfig cfg;
        test::AttachShippedParts(cfg);
        cfg.SetPlcFamily(p.PlcFamily());
        cfg.SetPlcName(cpu ? name : "");
        ASSERT_TRUE(cfg.DropList().AddDrop3(1, 1, DropFamily::kKestrel, ""));
        ASSERT_TRUE(cfg.RackList().AddRack(1, 1, 1, rack ? name : "318RCK0801"));
        cfg.ModuleList().SetModule(1, 1, 1, 1, name);
        const std::string xml = CLoomWriter(cfg.PartInfo()).CreateXml(cfg);
        EXPECT_EQ(xml.find("<pickList"), std::string::npos) << name;
        if (cpu || rack) {
            EXPECT_NE(xml.find("displayPart=\"" + name + "\" partNumber=\"" + name + "\""),
                      std::string::npos)
                << name;
        }
    }
    EXPECT_GT(real, 1200);
}
