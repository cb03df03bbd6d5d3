#include <gtest/gtest.h>

#include "TestWindow.h"

using namespace qn;
using qn::test::TestWindow;

TEST(MapKeyToSymbol, Table) {
    struct Case {
        Integer key;
        Integer full, half;  // result in full-width and in half-width mode
        Integer band;
    } cases[] = {
        {49, 14, 14, 0}, {50, 15, 15, 0}, {55, 20, 20, 0}, {56, 21, 21, 0},
        {81, 7, 7, 0}, {87, 8, 8, 0}, {69, 9, 9, 0}, {82, 10, 10, 0}, {84, 11, 11, 0}, {89, 12, 12, 0}, {85, 13, 13, 0},
        {73, 14, 14, 0},
        {112, 21, 21, 0}, {118, 27, 27, 0}, {119, 28, 28, 0}, {123, 32, 32, 0},
        {90, 36, 36, 0}, {88, 37, 37, 0}, {67, 38, 38, 0}, {86, 39, 39, 0}, {66, 40, 40, 0},
        {189, 41, 41, 0}, {192, 41, 41, 0},
        {65, 101, 101, 0}, {72, 101, 101, 0}, {219, 102, 102, 0}, {221, 103, 103, 0}, {220, 104, 104, 0},
        {222, 105, 105, 0}, {190, 115, 115, 0},
        {78, 201, 201, 2}, {77, 202, 202, 2}, {188, 203, 203, 2},
        {32, 100, 200, 0}, {57, 113, 209, 0}, {48, 114, 210, 0},
        {8, 999, 999, 0},
        {79, 35, 35, 0} /* O reaches the table only when called directly */, {186, 35, 35, 0},
        {74, 0, 0, 0}, {187, 0, 0, 0}, {13, 0, 0, 0}, {0, 0, 0, 0}, {-3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        for (Integer half : {Integer(0), Integer(1)}) {
            TestWindow w;
            w.ed.st.HalfWidthMode = half;
            w.ed.st.GlyphBand = 2;
            const Integer got = w.keys.MapKeyToSymbol(c.key);
            EXPECT_EQ(got, half ? c.half : c.full) << "key " << c.key << " half " << half;
            EXPECT_EQ(w.ed.st.GlyphBand, c.band) << "key " << c.key;
        }
    }
}

TEST(MapKeyToSymbol, StaffInputTransposesNotesOnly) {
    struct Case {
        bool staff;
        int keyIndex;
        Integer key, want;
    } cases[] = {
        {true, 1, 50, 14},   // 2 in D is written as 1
        {true, 1, 81, 6},    // Q: 1 with a dot below, lowered into two dots below
        {true, 1, 74, -1},   // unmapped: 0 - 1
        {true, 6, 65, 101},  // bar lines are not transposed
        {true, 6, 32, 100},
        {true, 6, 190, 115},
        {true, 6, 8, 999},
        {true, 4, 123, 28},  // F12 (32) in G
        {true, 6, 186, 35},  // semicolon: the rest has no pitch
        {false, 3, 50, 15},  // staff input off: no lowering
    };
    for (const Case& c : cases) {
        TestWindow w;
        w.check1 = c.staff;
        w.combo2 = c.keyIndex;
        EXPECT_EQ(w.keys.MapKeyToSymbol(c.key), c.want) << c.key << " in " << c.keyIndex;
    }
}

TEST(MapKeyToSymbol, ZeroOrNegativeStampsNothing) {
    TestWindow w;
    w.check1 = true;
    w.combo2 = 1;
    w.press(74);  // J: unmapped, -1 after lowering
    EXPECT_FLOAT_EQ(w.ed.caret.Left, 20);
    EXPECT_TRUE(w.sounds.empty());
}
