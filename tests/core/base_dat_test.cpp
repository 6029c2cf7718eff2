#include "core/base_dat.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

// What is written reads back as the same width, for every width the settings window offers.
TEST(BaseDatTest, WrittenWidthsReadBack) {
    EXPECT_EQ(baseDatBytes(18), " 18 \r\n");
    for (int boards = 3; boards <= 8; ++boards) {
        SCOPED_TRACE(boards);
        EXPECT_EQ(parseBaseDat(baseDatBytes(boards * 3)), boards * 3);
    }
}

}  // namespace
}  // namespace velora
