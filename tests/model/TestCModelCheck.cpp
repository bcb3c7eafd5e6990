#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "core/Enums.h"
#include "model/CModelCheck.h"
#include "output/CLoomWriter.h"

using namespace vellcfgrdr;

// Racks and modules whose parent was removed are left out of the document;
// the check names each of them, and a whole model passes without a word.
TEST(CModelCheck, NamesEveryElementTheDocumentLeavesOut) {
    CIoConfig cfg;
    test::AttachShippedParts(cfg);
    std::vector<std::string> messages;
    test::RecordProblems(cfg, messages);
    cfg.SetPlcFamily(plcSlc500);
    cfg.BusList().AddBus(0, "SLC500 Bus");
    cfg.DropList().AddDrop3(0, 1, DropFamily::kSlc500, "LocalRemote");
    cfg.DropList().AddDrop3(0, 2, DropFamily::kSlc500, "LocalRemote");
    cfg.ModuleList().SetModule(0, 1, 1, 0, "1747-L532");
    cfg.ModuleList().SetModule(0, 2, 1, 1, "1746-IB16");
    cfg.ModuleList().SetModule(0, 1, 2, 3, "1746-OB16");
    EXPECT_EQ(CModelCheck::LeftOut(cfg), 0);
    EXPECT_TRUE(messages.empty());

    cfg.DropList().RemoveDrop(0, 2);
    cfg.RackList().RemoveRack(0, 1, 2);
    EXPECT_EQ(CModelCheck::LeftOut(cfg), 3);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Rack 1746-A7 at 0.2.1 left out: its parent 0.2 does not exist",
                            "Module 1746-IB16 at 0.2.1.1 left out: its parent 0.2 does not exist",
                            "Module 1746-OB16 at 0.1.2.3 left out: its parent 0.1.2 does not exist",
                        }));
    const std::string xml = CLoomWriter(cfg.PartInfo()).CreateXml(cfg);
    EXPECT_EQ(xml.find("1746-IB16"), std::string::npos);
    EXPECT_EQ(xml.find("1746-OB16"), std::string::npos);
}
