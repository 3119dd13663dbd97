// SPDX-License-Identifier: GPL-3.0-or-later

// A take judged word by word: the reciter's word times carried through the
// real alignment onto synthetic takes whose every part has a known length.
#include "compare/compareview.h"
#include "compare/speechfeatures.h"
#include "compare/takeanalysis.h"
#include "compare/wordjudge.h"
#include "sound/core/tempostretch.h"
#include "synthspeech.h"

#include <QtTest>

namespace {

constexpr double Lead = 0.3;
constexpr double Tail = 0.3;

// The synthetic word's parts read as four words; the second is a held vowel,
// the madd the rule span lies on.
const std::vector<std::pair<int, int>> WordParts { { 0, 1 }, { 2, 2 }, { 3, 5 }, { 6, 7 } };
const QStringList WordTexts { QStringLiteral("قال"), QStringLiteral("آمين"), QStringLiteral("ربنا"),
    QStringLiteral("لك") };

std::vector<WordJudge::Word> wordsOf(const std::vector<SynthPart> &parts)
{
    std::vector<WordJudge::Word> words;
    for (size_t k = 0; k < WordParts.size(); ++k)
        words.push_back({ partStart(parts, WordParts[k].first, Lead), partStart(parts, WordParts[k].second + 1, Lead),
            WordTexts[int(k)] });
    return words;
}

// speed: the reciter slowed to it, as the learner heard it and followed it.
// which: the part of the synthetic word held longer.
TakeComparison compared(double pace, double held, double speed = 1.0, int which = 2)
{
    MonoSound reference = synthesize(syntheticWord(), SpeechFeatures::Rate, Lead, Tail);
    if (speed < 1.0)
        reference.samples = TempoStretch::Stretch(reference.samples, reference.rate, speed);
    const MonoSound take
        = synthesize(syntheticWord(held, which, pace / speed), SpeechFeatures::Rate, Lead / speed, Tail, 0.004f);
    TakeComparison c = TakeAnalysis::Compare(reference, take);
    c.referencePercent = int(std::lround(speed * 100));
    return c;
}

WordJudge::Result judged(double pace, double held, const std::vector<WordJudge::Rule> &rules = {}, double speed = 1.0)
{
    return WordJudge::Judge(compared(pace, held, speed), wordsOf(syntheticWord()), rules);
}

} // namespace

class TestWordJudge final : public QObject
{
    Q_OBJECT

private slots:
    void theHeldWordAndOnlyItIsNamed_data();
    void theHeldWordAndOnlyItIsNamed();
    void countsAtTheLearnersTempo_data();
    void countsAtTheLearnersTempo();
    void countsOfASpanInsideAWord_data();
    void countsOfASpanInsideAWord();
    void countsSaidAsAReaderSaysThem_data();
    void countsSaidAsAReaderSaysThem();
    void eachEdgeDrawnAtOnePlaceOnBothLanes();
};

void TestWordJudge::theHeldWordAndOnlyItIsNamed_data()
{
    QTest::addColumn<double>("pace"); // the learner's tempo against the reciter's
    QTest::addColumn<double>("held"); // the second word's vowel held this much longer
    QTest::addColumn<QString>("named"); // the words named, or empty
    QTest::addColumn<double>("speed"); // the reciter's, slowed as heard
    QTest::newRow("as the reciter") << 1.0 << 1.0 << QString() << 1.0;
    QTest::newRow("slower throughout") << 1.25 << 1.0 << QString() << 1.0;
    QTest::newRow("faster throughout") << 0.8 << 1.0 << QString() << 1.0;
    QTest::newRow("the madd held twice") << 1.0 << 2.0 << QStringLiteral("آمين") << 1.0;
    QTest::newRow("slower, the madd held twice") << 1.25 << 2.0 << QStringLiteral("آمين") << 1.0;
    QTest::newRow("the madd cut to half") << 1.0 << 0.5 << QStringLiteral("آمين") << 1.0;
    QTest::newRow("after the reciter at 70 %") << 1.0 << 1.0 << QString() << 0.7;
    QTest::newRow("after the reciter at 70 %, the madd held twice") << 1.0 << 2.0 << QStringLiteral("آمين") << 0.7;
}

void TestWordJudge::theHeldWordAndOnlyItIsNamed()
{
    QFETCH(double, pace);
    QFETCH(double, held);
    QFETCH(QString, named);
    QFETCH(double, speed);
    const WordJudge::Result r = judged(pace, held, {}, speed);
    QVERIFY(r.judged);
    QStringList got;
    for (const WordJudge::WordResult &w : r.words)
        if (w.named)
            got << w.text;
    QCOMPARE(got.join(QLatin1Char(' ')), named);
    QCOMPARE(r.WordsOff(), named.isEmpty() ? 0 : 1);
    // The learner's own tempo is taken out, not judged.
    QVERIFY2(std::abs(r.tempo - pace) < 0.15 * pace, qPrintable(QString::number(r.tempo)));
    if (!named.isEmpty()) {
        QVERIFY2(std::abs(r.words[1].ratio - held) < 0.3 * held, qPrintable(QString::number(r.words[1].ratio)));
        QVERIFY2(r.Sentence().startsWith(QStringLiteral("«آمين» ")), qPrintable(r.Sentence()));
    } else {
        QCOMPARE(r.Sentence(), QString());
    }
}

// The madd is given 4 counts by the reciter, 4 to 5 accepted: at any tempo of
// the learner's from 0.8 to 1.25 the take's span is counted within half a
// count of what it holds.
void TestWordJudge::countsAtTheLearnersTempo_data()
{
    QTest::addColumn<double>("pace");
    QTest::addColumn<double>("held");
    QTest::addColumn<double>("counts");
    for (double pace : { 0.8, 1.0, 1.25 }) {
        QTest::addRow("at %.2f, as the reciter", pace) << pace << 1.0 << 4.0;
        QTest::addRow("at %.2f, held twice", pace) << pace << 2.0 << 8.0;
    }
}

void TestWordJudge::countsAtTheLearnersTempo()
{
    QFETCH(double, pace);
    QFETCH(double, held);
    QFETCH(double, counts);
    const std::vector<SynthPart> reciter = syntheticWord();
    const WordJudge::Rule madd { partStart(reciter, 2, Lead), partStart(reciter, 3, Lead), QStringLiteral("مد"), 4, 4,
        5 };
    const WordJudge::Result r = judged(pace, held, { madd });
    QCOMPARE(int(r.rules.size()), 1);
    const WordJudge::RuleResult &rule = r.rules.front();
    QVERIFY(rule.measured);
    QCOMPARE(rule.words, QStringList { QStringLiteral("آمين") });
    QVERIFY2(std::abs(rule.counts - counts) <= 0.5, qPrintable(QString::number(rule.counts)));
    QCOMPARE(rule.outside, held != 1.0);
    QCOMPARE(r.RulesOff(), held != 1.0 ? 1 : 0);
    if (rule.outside)
        QVERIFY2(r.Sentence().contains(QStringLiteral("«آمين»: نحو "))
                && r.Sentence().endsWith(QStringLiteral("والمطلوب ٤–٥")),
            qPrintable(r.Sentence()));
}

// A span held inside a word whose sound before it is of the same vowel (a
// madd after its consonant's vowel): the alignment is unsure inside a steady
// sound, so the span is counted as what its word holds beyond the rest of it
// read at the learner's tempo.
void TestWordJudge::countsOfASpanInsideAWord_data()
{
    QTest::addColumn<double>("pace");
    QTest::addColumn<double>("held");
    QTest::addColumn<double>("counts");
    QTest::newRow("as the reciter") << 1.0 << 1.0 << 2.0;
    QTest::newRow("held twice") << 1.0 << 2.0 << 4.0;
    QTest::newRow("slower, held twice") << 1.25 << 2.0 << 4.0;
}

void TestWordJudge::countsOfASpanInsideAWord()
{
    QFETCH(double, pace);
    QFETCH(double, held);
    QFETCH(double, counts);
    const auto word = [](double held, double pace) {
        std::vector<SynthPart> parts { vowel(0.12, 120, 700, 1200), vowel(0.30 * held, 150, 700, 1200), hiss(0.10),
            vowel(0.25, 130, 300, 2300), pause(0.08), vowel(0.25, 115, 500, 900) };
        for (SynthPart &p : parts)
            p.seconds *= pace;
        return parts;
    };
    const std::vector<SynthPart> reciter = word(1.0, 1.0);
    const std::vector<WordJudge::Word> words { { partStart(reciter, 0, Lead), partStart(reciter, 3, Lead), "جاء" },
        { partStart(reciter, 3, Lead), partStart(reciter, 4, Lead), "نصر" },
        { partStart(reciter, 5, Lead), partStart(reciter, 6, Lead), "الله" } };
    const WordJudge::Rule madd { partStart(reciter, 1, Lead), partStart(reciter, 2, Lead), QStringLiteral("مد"), 2, 2,
        2 };
    const TakeComparison c = TakeAnalysis::Compare(synthesize(reciter, SpeechFeatures::Rate, Lead, Tail),
        synthesize(word(held, pace), SpeechFeatures::Rate, Lead, Tail, 0.004f));
    const WordJudge::Result r = WordJudge::Judge(c, words, { madd });
    QCOMPARE(r.rules.front().words, QStringList { QStringLiteral("جاء") });
    QVERIFY2(std::abs(r.rules.front().counts - counts) <= 0.5, qPrintable(QString::number(r.rules.front().counts)));
}

void TestWordJudge::countsSaidAsAReaderSaysThem_data()
{
    QTest::addColumn<double>("counts");
    QTest::addColumn<QString>("said");
    QTest::newRow("one") << 1.0 << QStringLiteral("١ حركة");
    QTest::newRow("two") << 2.0 << QStringLiteral("٢ حركتان");
    QTest::newRow("four") << 4.0 << QStringLiteral("٤ حركات");
    QTest::newRow("four and a half") << 4.5 << QStringLiteral("٤٫٥ حركات");
    QTest::newRow("twelve") << 12.0 << QStringLiteral("١٢ حركة");
}

void TestWordJudge::countsSaidAsAReaderSaysThem()
{
    QFETCH(double, counts);
    QFETCH(QString, said);
    QCOMPARE(WordJudge::CountsWording(counts), said);
}

// The drawing's two lanes share the alignment's steps: a word's edge on the
// reciter's lane and the same edge carried onto the take fall on one step.
void TestWordJudge::eachEdgeDrawnAtOnePlaceOnBothLanes()
{
    const TakeComparison comparison = compared(1.0, 2.0);
    const WordJudge::Result r = WordJudge::Judge(comparison, wordsOf(syntheticWord()), {});
    CompareView view;
    view.SetComparison(comparison);
    for (const WordJudge::WordResult &w : r.words) {
        for (const auto &[reference, take] :
            { std::pair(w.referenceStart, w.takeStart), std::pair(w.referenceEnd, w.takeEnd) }) {
            const int a = view.StepOf(reference, true);
            const int b = view.StepOf(take, false);
            QVERIFY2(
                a >= 0 && std::abs(a - b) <= 3, qPrintable(QStringLiteral("%1: %2 / %3").arg(w.text).arg(a).arg(b)));
        }
    }
}

QTEST_MAIN(TestWordJudge)
#include "test_wordjudge.moc"
