// The page's key table: each key once, every key named for the chart.
#include <gtest/gtest.h>

#include <set>

#include "KeyTable.h"

namespace qn {
namespace {

TEST(KeyTable, EachKeyCodeOnceAndEveryKeyNamedAndDescribed) {
    std::set<Integer> seen;
    for (const KeyEntry& e : PageKeys()) {
        EXPECT_TRUE(seen.insert(e.keyCode).second) << "key " << e.keyCode << " twice: one row would hide the other";
        EXPECT_FALSE(KeyName(e.keyCode).startsWith('#')) << "key " << e.keyCode << " has no name";
        EXPECT_FALSE(QString::fromUtf16(e.what).isEmpty()) << "key " << e.keyCode;
        EXPECT_TRUE(e.command != KeyCommand::None || e.symbol != 0) << "key " << e.keyCode << " does nothing";
        EXPECT_EQ(FindPageKey(e.keyCode), &e);
    }
    EXPECT_EQ(FindPageKey(191), nullptr) << "slash is no key of the page";
}

}  // namespace
}  // namespace qn
