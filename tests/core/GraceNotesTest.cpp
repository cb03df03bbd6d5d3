#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraceNotes.h"

using namespace qn;
using Outcome = GraceNotePlan::Outcome;

namespace {
// "file@left,top" per overlay, in creation order.
std::vector<std::string> describe(const GraceNotePlan& plan) {
    std::vector<std::string> out;
    for (const GraceOverlay& o : plan.overlays)
        out.push_back(QStringLiteral("%1@%2,%3").arg(o.file).arg(o.Left).arg(o.Top).toStdString());
    return out;
}
}  // namespace

TEST(PlanGraceNotes, Answers) {
    struct Case {
        const char* answer;
        int count;  // PictureOverlayCount before
        Outcome outcome;
        const char* message;
        std::vector<std::string> overlays;  // with the caret at (200, 156)
    } cases[] = {
        {"", 0, Outcome::Nothing, "", {}},
        {"3", 0, Outcome::Place, "", {"3.bmp@192,147", "装饰音1.bmp@191,160"}},
        {"135", 0, Outcome::Place, "",
         {"1.bmp@176,147", "3.bmp@184,147", "5.bmp@192,147", "装饰音3.bmp@175,160"}},
        {"12345", 0, Outcome::Place, "",
         {"1.bmp@160,147", "2.bmp@168,147", "3.bmp@176,147", "4.bmp@184,147", "5.bmp@192,147",
          "装饰音5.bmp@159,160"}},
        {"777", 10, Outcome::Place, "", {"7.bmp@176,147", "7.bmp@184,147", "7.bmp@192,147", "装饰音3.bmp@175,160"}},
        {"123456", 0, Outcome::TooMany, "最多只能插入5个", {}},
        {"12a4567", 0, Outcome::TooMany, "最多只能插入5个", {}},  // the length is tested first
        {"128", 0, Outcome::NotDigits, "只能输入1到7", {}},
        {"1a", 0, Outcome::NotDigits, "只能输入1到7", {}},
        {"0", 0, Outcome::NotDigits, "只能输入1到7", {}},
        {" 1", 0, Outcome::NotDigits, "只能输入1到7", {}},
        // Slots Ima(0)..Ima(50): the whole group fits, or none of it is placed.
        {"1", 49, Outcome::Place, "", {"1.bmp@192,147", "装饰音1.bmp@191,160"}},
        {"1", 50, Outcome::NoRoom, "", {}},
        {"12345", 45, Outcome::Place, "",
         {"1.bmp@160,147", "2.bmp@168,147", "3.bmp@176,147", "4.bmp@184,147", "5.bmp@192,147",
          "装饰音5.bmp@159,160"}},
        {"12345", 46, Outcome::NoRoom, "", {}},
        {"3", 51, Outcome::NoRoom, "", {}},
        // A bad answer is reported even when the slots are full.
        {"9", 51, Outcome::NotDigits, "只能输入1到7", {}},
    };
    for (const Case& c : cases) {
        const GraceNotePlan plan = PlanGraceNotes(QString::fromUtf8(c.answer), 200, 156, c.count);
        EXPECT_EQ(plan.outcome, c.outcome) << '"' << c.answer << "\" count " << c.count;
        EXPECT_EQ(plan.message.toStdString(), c.message) << '"' << c.answer << '"';
        EXPECT_EQ(describe(plan), c.overlays) << '"' << c.answer << "\" count " << c.count;
    }
}
