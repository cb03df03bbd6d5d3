#include "HeaderText.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace qn {

namespace {

// The leading decimal number of a text (sign, digits, a fraction), as the
// program's number conversion reads it; 0 when the text starts otherwise.
double leadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch()) return 0;
    const double v = m.captured(0).trimmed().toDouble();
    return std::isfinite(v) ? v : 0;
}

}  // namespace

QString PageNumberText(const QString& style, Integer pageNumber) {
    QString text = style;
    ReplaceText(text, QStringLiteral("p"), QString::number(pageNumber));
    return text;
}

Integer ParsePageNumber(const QString& answer) {
    const double v = std::clamp(leadingNumber(answer), -32768.0, 32767.0);
    return Integer(RoundHalfEven(v));
}

QString TempoCaption(int value) { return QStringLiteral("每分钟%1拍").arg(value); }

int TempoSliderValue(const QString& tempoText) {
    const double v = std::clamp(leadingNumber(tempoText.mid(3)), -1e6, 1e6);
    return RoundHalfEven(v);
}

const QStringList& NumeratorList() {
    static const QStringList items = {"2", "3", "4", "5", "6"};
    return items;
}

const QStringList& DenominatorList() {
    static const QStringList items = {"4", "8"};
    return items;
}

const QStringList& KeyList() {
    static const QStringList items = {"C", "bD", "D", "bE", "E", "F", "bG", "G", "bA", "A", "bB", "B"};
    return items;
}

QString TitleAnswer(const QString& answer) {
    return answer.isEmpty() ? QStringLiteral("标题") : answer;
}

QString CreditsAnswer(const QString& answer) {
    return answer.isEmpty() ? QStringLiteral("编曲") : answer;
}

}  // namespace qn
