// The header texts that follow rules: page numbers in their style, typed page
// numbers and the tempo slider's value read from a caption.
#include <gtest/gtest.h>

#include "HeaderText.h"

namespace qn {
namespace {

TEST(HeaderText, PageNumberInItsStyle) {
    struct Case { const char* style; int page; const char* shown; } cases[] = {
        {"< p >", 3, "< 3 >"}, {"第p页", 3, "第3页"}, {"第一页", 9, "第一页"},
        {"pp", -2, "-2-2"}, {"P p", 1, "P 1"}, {"", 5, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageNumberText(QString::fromUtf8(c.style), Integer(c.page)), QString::fromUtf8(c.shown))
            << c.style;
}

TEST(HeaderText, TypedPageNumbers) {
    struct Case { const char* answer; int page; } cases[] = {
        {"12abc", 12}, {"abc", 0}, {"", 0}, {" 7", 7}, {"2.5", 2}, {"3.5", 4}, {"-4", -4},
        {"40000", 32767}, {"-99999", -32768}, {"1e400", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ParsePageNumber(QString::fromUtf8(c.answer)), c.page) << c.answer;
}

TEST(HeaderText, TempoSliderValueFromTheCaption) {
    struct Case { const char* caption; int value; } cases[] = {
        {"每分钟72拍", 72}, {"每分钟96.5拍", 96}, {"Adagio", 0}, {"每分钟拍", 0}, {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TempoSliderValue(QString::fromUtf8(c.caption)), c.value) << c.caption;
    EXPECT_EQ(TempoCaption(96), QStringLiteral("每分钟96拍"));
}

}  // namespace
}  // namespace qn
