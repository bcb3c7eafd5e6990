// The reference-address table of Tessel Qor descriptions
// (docs/tessel-qor.md); whole projects are golden end-to-end cases.
#include <gtest/gtest.h>

#include "readers/CConvertQor.h"

using namespace vellcfgrdr;

TEST(CConvertQor, SystemAddressesHaveTheirKinds) {
    EXPECT_EQ(CConvertQor::DescriptionKey(1, "Keel"), "");
    EXPECT_EQ(CConvertQor::DescriptionKey(2, "Keel"), "N");
    EXPECT_EQ(CConvertQor::DescriptionKey(3, "Keel"), "S");
    EXPECT_EQ(CConvertQor::DescriptionKey(4, "Keel"), "P1");
    EXPECT_EQ(CConvertQor::DescriptionKey(8, "Keel"), "C4");
    EXPECT_EQ(CConvertQor::DescriptionKey(9, "Keel"), "L01");
    EXPECT_EQ(CConvertQor::DescriptionKey(27, "Keel"), "L19");
    EXPECT_EQ(CConvertQor::DescriptionKey(28, "Keel"), "001");
    EXPECT_EQ(CConvertQor::DescriptionKey(40, "Keel"), "101");
    EXPECT_EQ(CConvertQor::DescriptionKey(75, "Keel"), "412");
    EXPECT_EQ(CConvertQor::DescriptionKey(6380, "Keel"), "");
}

TEST(CConvertQor, HardwareAddressesNumberDropsByTheBusDesignation) {
    EXPECT_EQ(CConvertQor::DescriptionKey(76, "Keel"), "D0101");
    EXPECT_EQ(CConvertQor::DescriptionKey(80, "Keel"), "R01014");
    EXPECT_EQ(CConvertQor::DescriptionKey(81, "Keel"), "T0101101");
    EXPECT_EQ(CConvertQor::DescriptionKey(76 + 68, "Keel"), "T0101416");
    EXPECT_EQ(CConvertQor::DescriptionKey(76 + 69, "Keel"), "T0101101I");
    EXPECT_EQ(CConvertQor::DescriptionKey(76 + 196, "Keel"), "T0101416O");
    EXPECT_EQ(CConvertQor::DescriptionKey(278, "Keel"), "T0102101");
    // Block 16: the first drop of bus 2 on "Keel", drop 1 of bus 3 on "Marl".
    EXPECT_EQ(CConvertQor::DescriptionKey(76 + 16 * 197, "Keel"), "D0201");
    EXPECT_EQ(CConvertQor::DescriptionKey(76 + 16 * 197, "Marl"), "D0301");
    EXPECT_EQ(CConvertQor::DescriptionKey(6379, "Keel"), "T0216416O");
    EXPECT_EQ(CConvertQor::DescriptionKey(6379, "Marl"), "T0408416O");
}
