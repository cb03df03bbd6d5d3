#include "GraceNotes.h"

namespace qn {

GraceNotePlan PlanGraceNotes(const QString& answer, int insertX, int insertY, int pictureOverlayCount) {
    GraceNotePlan plan;
    if (answer.isEmpty()) return plan;
    if (answer.size() > kMaxGraceNotes) {
        plan.outcome = GraceNotePlan::Outcome::TooMany;
        plan.message = QStringLiteral("最多只能插入5个");
        return plan;
    }
    for (QChar c : answer) {
        if (c < QLatin1Char('1') || c > QLatin1Char('7')) {
            plan.outcome = GraceNotePlan::Outcome::NotDigits;
            plan.message = QStringLiteral("只能输入1到7");
            return plan;
        }
    }
    const int n = int(answer.size());
    // The digits and the group picture take n + 1 slots; a group that does not
    // fit is refused whole, as the picture insert key refuses beyond its limit.
    if (pictureOverlayCount < 0 || pictureOverlayCount + n + 1 > kPictureOverlaySlots) {
        plan.outcome = GraceNotePlan::Outcome::NoRoom;
        return plan;
    }
    plan.outcome = GraceNotePlan::Outcome::Place;
    for (int i = 1; i <= n; ++i)
        plan.overlays.push_back({QString(answer[i - 1]) + QStringLiteral(".bmp"), insertX + 8 * i - 8 * n - 8,
                                 insertY - 9});
    plan.overlays.push_back({QStringLiteral("装饰音%1.bmp").arg(n), insertX - 8 * n - 1, insertY + 4});
    return plan;
}

}  // namespace qn
