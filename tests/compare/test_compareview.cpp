// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/compareview.h"

#include <QSignalSpy>
#include <QtTest>

using Kind = TakeComparison::HeldSegment::Kind;
Q_DECLARE_METATYPE(TakeComparison)

// What the learner reads and hears of a comparison: the sentence, its Arabic
// counting and digits, and where on the drawing a stretch sits.
class TestCompareView final : public QObject
{
    Q_OBJECT
private slots:
    void sentenceSaysTheDifference_data();
    void sentenceSaysTheDifference();
    void timeRunsAsTheTextReads_data();
    void timeRunsAsTheTextReads();
};

namespace {

// A comparison over a diagonal path of 100 steps with the given stretches.
TakeComparison comparison(double referenceSeconds, double takeSeconds, int longer, int shorter)
{
    TakeComparison c;
    c.status = TakeComparison::Status::Compared;
    c.frameSeconds = 0.01;
    c.referenceStart = 0.5;
    c.referenceEnd = 0.5 + referenceSeconds;
    c.takeStart = 0.2;
    c.takeEnd = 0.2 + takeSeconds;
    c.referenceLevel.assign(100, -10.0f);
    c.takeLevel.assign(100, -10.0f);
    for (int i = 0; i < 100; ++i)
        c.path.emplace_back(i, i);
    for (int n = 0; n < longer + shorter; ++n) {
        TakeComparison::HeldSegment s;
        s.kind = n < longer ? Kind::Long : Kind::Short;
        s.pathStart = n * 5;
        s.pathEnd = n * 5 + 3;
        c.segments.push_back(s);
    }
    return c;
}

} // namespace

void TestCompareView::sentenceSaysTheDifference_data()
{
    QTest::addColumn<TakeComparison>("result");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("shorter, two places") << comparison(2.5, 2.0, 0, 2)
                                         << QStringLiteral("تسجيلك أقصر من تلاوة القارئ بـ ٢٠٪؛ موضعان أقصر من اللازم");
    QTest::newRow("longer, one place") << comparison(
        2.0, 2.5, 1, 0) << QStringLiteral("تسجيلك أطول من تلاوة القارئ بـ ٢٥٪؛ موضع واحد أطول من اللازم");
    QTest::newRow("both kinds") << comparison(2.0, 2.2, 3, 1)
                                << QStringLiteral(
                                       "تسجيلك أطول من تلاوة القارئ بـ ١٠٪؛ ٣ مواضع أطول من اللازم وموضع واحد "
                                       "أقصر من اللازم");
    QTest::newRow("eleven places") << comparison(2.0, 3.0, 11, 0)
                                   << QStringLiteral("تسجيلك أطول من تلاوة القارئ بـ ٥٠٪؛ ١١ موضعًا أطول من اللازم");
    QTest::newRow("same length") << comparison(2.0, 2.004, 0, 0)
                                 << QStringLiteral("تسجيلك بطول تلاوة القارئ؛ ولا موضع أطول أو أقصر من اللازم");
    TakeComparison silent;
    silent.status = TakeComparison::Status::NoVoice;
    QTest::newRow("nothing heard") << silent
                                   << QStringLiteral("لم يُسمع صوت في تسجيلك؛ تأكد من الميكروفون ثم سجّل مرة أخرى");
}

void TestCompareView::sentenceSaysTheDifference()
{
    QFETCH(TakeComparison, result);
    QFETCH(QString, sentence);
    CompareView view;
    view.SetComparison(result);
    QCOMPARE(view.accessibleName(), sentence);
    if (result.IsCompared())
        QVERIFY(view.accessibleDescription().contains(QStringLiteral("ثانية")));
}

void TestCompareView::timeRunsAsTheTextReads_data()
{
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::newRow("right to left") << Qt::RightToLeft;
    QTest::newRow("left to right") << Qt::LeftToRight;
}

void TestCompareView::timeRunsAsTheTextReads()
{
    QFETCH(Qt::LayoutDirection, direction);
    CompareView view;
    view.setLayoutDirection(direction);
    view.resize(400, 80);
    view.SetComparison(comparison(2.0, 2.0, 2, 0));
    const QRectF first = view.SegmentRect(0);
    const QRectF second = view.SegmentRect(1);
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QVERIFY(view.rect().contains(first.toRect()) && view.rect().contains(second.toRect()));
    // The first stretch is nearer the side where the text begins.
    if (direction == Qt::RightToLeft)
        QVERIFY(first.center().x() > second.center().x() && first.center().x() > view.width() / 2);
    else
        QVERIFY(first.center().x() < second.center().x() && first.center().x() < view.width() / 2);
    QCOMPARE(view.SegmentAt(first.center()), 0);
    QCOMPARE(view.SegmentAt(QPointF(view.width() / 2.0, first.center().y())), -1);

    // Enter on the chosen stretch asks for it as a click would; the arrow
    // towards the text's end chooses the next one.
    QSignalSpy activated(&view, &CompareView::SegmentActivated);
    QTest::keyClick(&view, direction == Qt::RightToLeft ? Qt::Key_Left : Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.first().first().toInt(), 1);
}

QTEST_MAIN(TestCompareView)
#include "test_compareview.moc"
