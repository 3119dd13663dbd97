// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/takecomparison.h"

#include "base/numbers.h"

#include <algorithm>
#include <cmath>

namespace {

// "موضع واحد", "موضعان", "٣ مواضع", "١١ موضعًا": Arabic counts agree with the number.
QString countPlaces(int n)
{
    if (n == 1)
        return QStringLiteral("موضع واحد");
    if (n == 2)
        return QStringLiteral("موضعان");
    const QString digits = ArabicIndic(n);
    const int lastTwo = n % 100;
    if (lastTwo >= 3 && lastTwo <= 10)
        return digits + QStringLiteral(" مواضع");
    if (lastTwo == 0 || lastTwo == 1 || lastTwo == 2)
        return digits + QStringLiteral(" موضع");
    return digits + QStringLiteral(" موضعًا");
}

} // namespace

double TakeComparison::HeldSegment::Ratio() const
{
    const double reference = referenceEnd - referenceStart;
    return reference > 0 ? (takeEnd - takeStart) / reference : 0.0;
}

int TakeComparison::PercentDifference() const
{
    const double reference = ReferenceSeconds();
    if (reference <= 0)
        return 0;
    return int(std::lround((TakeSeconds() - reference) / reference * 100.0));
}

int TakeComparison::CountOf(HeldSegment::Kind kind) const
{
    return int(
        std::count_if(segments.begin(), segments.end(), [kind](const HeldSegment &s) { return s.kind == kind; }));
}

QString TakeComparison::DifferenceFromReciter(int percent)
{
    if (percent == 0)
        return QStringLiteral("بطول تلاوة القارئ");
    return (percent < 0 ? QStringLiteral("أقصر من تلاوة القارئ بـ ") : QStringLiteral("أطول من تلاوة القارئ بـ "))
        + ArabicPercent(std::abs(percent));
}

QString TakeComparison::Sentence() const
{
    switch (status) {
    case Status::NoVoice: return QStringLiteral("لم يُسمع صوت في تسجيلك؛ تأكد من الميكروفون ثم سجّل مرة أخرى");
    case Status::ReferenceSilent: return QStringLiteral("لا صوت في تلاوة القارئ لهذا المثال، فلا مقارنة");
    case Status::TooLong: return QStringLiteral("التسجيل أطول من أن يقارن بتلاوة القارئ؛ سجّل المثال وحده");
    case Status::TakeUnreadable: return QStringLiteral("تعذرت قراءة تسجيلك، فلا مقارنة");
    case Status::ReferenceUnreadable: return QStringLiteral("تعذرت قراءة تلاوة القارئ، فلا مقارنة");
    case Status::Compared: break;
    }
    QString sentence = QStringLiteral("تسجيلك ") + DifferenceFromReciter(PercentDifference());
    if (referencePercent < 100)
        sentence += QStringLiteral(" بسرعة ") + ArabicPercent(referencePercent);

    const int longer = CountOf(HeldSegment::Kind::Long);
    const int shorter = CountOf(HeldSegment::Kind::Short);
    QStringList places;
    if (longer > 0)
        places << countPlaces(longer) + QStringLiteral(" أطول من اللازم");
    if (shorter > 0)
        places << countPlaces(shorter) + QStringLiteral(" أقصر من اللازم");
    if (places.isEmpty())
        places << QStringLiteral("ولا موضع أطول أو أقصر من اللازم");
    return sentence + QStringLiteral("؛ ") + places.join(QStringLiteral(" و"));
}

QString TakeComparison::Durations() const
{
    if (!IsCompared())
        return {};
    return QStringLiteral("مدة تلاوة القارئ %1 ثانية، ومدة تسجيلك %2 ثانية")
        .arg(ArabicSeconds(ReferenceSeconds()), ArabicSeconds(TakeSeconds()));
}
