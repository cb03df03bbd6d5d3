#include <gtest/gtest.h>

#include "EditorState.h"

using namespace qn;

TEST(ReplaceText, Cases) {
    struct Case {
        const char* text;
        const char* search;
        const char* replacement;
        const char* expected;
    } cases[] = {
        {"< p >", "p", "12", "< 12 >"},
        {"p-p", "p", "3", "3-3"},
        {"第p页", "p", "7", "第7页"},
        {"< p >", "", "12", "< p >"},     // empty search: unchanged
        {"< p >", "p", "p", "< p >"},     // equal texts: unchanged
        {"aaa", "a", "aa", "aaaaaa"},     // replaced text is not searched again
        {"abc", "x", "y", "abc"},
        {"", "p", "1", ""},
    };
    for (const Case& c : cases) {
        QString text = QString::fromUtf8(c.text);
        ReplaceText(text, QString::fromUtf8(c.search), QString::fromUtf8(c.replacement));
        EXPECT_EQ(text.toStdString(), c.expected) << c.text << " / " << c.search;
    }
}

TEST(SwapInt, ExchangesValues) {
    Integer a = 5, b = -2;
    SwapInt(a, b);
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 5);
}

TEST(RoundHalfEven, TiesGoToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(83.5), 84);
    EXPECT_EQ(RoundHalfEven(944.6), 945);
}

TEST(EditorState, StartValues) {
    const EditorState st;
    EXPECT_EQ(st.SelectedOverlay, -1);
    EXPECT_EQ(st.SpacingClass, 5);
    EXPECT_EQ(st.InsertMode, 1);
    EXPECT_EQ(st.NoteInputMode, 1);
    EXPECT_EQ(st.BeatsPerBar, 4);
    EXPECT_EQ(st.BeatUnit, 4);
    EXPECT_EQ(st.NoteValue, 0);
    EXPECT_FLOAT_EQ(st.SpacingValues[0], 0.5f);
    EXPECT_FLOAT_EQ(st.SpacingValues[1], 0.5f);
    EXPECT_FLOAT_EQ(st.SpacingValues[2], 0.0f);
    EXPECT_FLOAT_EQ(st.SpacingValues[3], 0.0f);
    EXPECT_EQ(st.BandTop[1], 26);
    EXPECT_EQ(st.BandTop[2], 3);
    EXPECT_EQ(st.BandHeight[0], 40);
    EXPECT_EQ(st.BandHeight[1], 5);
    EXPECT_EQ(st.BandHeight[2], 22);
    for (int i = 3; i < 10; ++i) EXPECT_EQ(st.BandHeight[i], 0);
    EXPECT_TRUE(st.DocumentPath.isEmpty());
}
