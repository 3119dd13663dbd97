// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/takefiles.h"
#include "compare/wordjudge.h"
#include "practice/authorstimes.h"
#include "sound/program/mediabackend.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

// The demo course's own example sounds against copies sped up or slowed down
// with sox: the whole-take stretch must be found, and a steady change of pace
// is not a held sound.
class TestDemoTempo final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void stretchIsFound_data();
    void stretchIsFound();
    void heldPartIsFound_data();
    void heldPartIsFound();
    void aHeldRuleIsNamedAndCounted_data();
    void aHeldRuleIsNamedAndCounted();

private:
    QTemporaryDir m_dir;
};

void TestDemoTempo::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("sox").isEmpty(), "sox is needed: run scripts/install-deps test");
    QVERIFY2(!QStandardPaths::findExecutable("lame").isEmpty(), "lame is needed: run scripts/install-deps test");
    QVERIFY2(QFileInfo::exists(QStringLiteral(RATTIL_APP_DIR "/data/examples/2-1-1.mp3")),
        "the demo course is assembled by the build");
    ChooseMediaBackend(); // the program's own decoder, wherever it has one
}

void TestDemoTempo::stretchIsFound_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<double>("tempo"); // sox: above 1 the take is quicker
    for (const char *example : { "1-2-1", "2-1-1", "2-2-10", "3-1-1" }) {
        if (!QFileInfo::exists(QStringLiteral(RATTIL_APP_DIR "/data/examples/%1.mp3").arg(QLatin1String(example))))
            continue;
        for (double tempo : { 1.25, 0.8 })
            QTest::addRow("%s at %.2f", example, tempo) << QString::fromLatin1(example) << tempo;
    }
}

void TestDemoTempo::stretchIsFound()
{
    QFETCH(QString, example);
    QFETCH(double, tempo);
    const QString mp3 = QStringLiteral(RATTIL_APP_DIR "/data/examples/%1.mp3").arg(example);
    const QString decoded = m_dir.filePath(example + ".wav");
    const QString take = m_dir.filePath(QStringLiteral("%1-%2.wav").arg(example).arg(tempo));
    QCOMPARE(QProcess::execute("lame", { "--quiet", "--decode", mp3, decoded }), 0);
    // As the recorder writes a take: 8-bit unsigned, 11025 Hz, mono. The dither
    // is made repeatable (-R) so that a failure can be run again as it was. The dither
    // is made repeatable (-R) so that a failure can be run again as it was.
    QCOMPARE(QProcess::execute("sox",
                 { "-R", decoded, "-r", "11025", "-c", "1", "-b", "8", "-e", "unsigned-integer", take, "tempo", "-s",
                     QString::number(tempo) }),
        0);

    // Off the test's thread, as the program runs it.
    const TakeComparison result = QtConcurrent::run(&TakeFiles::CompareFiles, mp3, take).result();
    QVERIFY2(result.IsCompared(), qPrintable(result.error));
    const double expected = 1.0 / tempo;
    const double found = result.TakeSeconds() / result.ReferenceSeconds();
    QVERIFY2(std::abs(found / expected - 1.0) <= 0.10,
        qPrintable(QStringLiteral("expected %1, found %2").arg(expected).arg(found)));
    const int expectedPercent = int(std::lround((expected - 1.0) * 100));
    QVERIFY2(std::abs(result.PercentDifference() - expectedPercent) <= 10, qPrintable(result.Sentence()));
    // 25 % quicker or slower throughout stays inside the 40 % that marks a stretch.
    for (const auto &segment : result.segments)
        qWarning("marked: reciter %.2f-%.2f of %.2f-%.2f s, take %.2f-%.2f of %.2f-%.2f s", segment.referenceStart,
            segment.referenceEnd, result.referenceStart, result.referenceEnd, segment.takeStart, segment.takeEnd,
            result.takeStart, result.takeEnd);
    QVERIFY2(result.segments.empty(), qPrintable(result.Sentence()));
}

void TestDemoTempo::heldPartIsFound_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<double>("from"); // seconds into the reciter's file
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("tempo");
    QTest::newRow("2-1-1 held twice") << "2-1-1" << 1.2 << 0.3 << 0.5;
    QTest::newRow("2-1-1 held three times") << "2-1-1" << 2.5 << 0.25 << 0.34;
    QTest::newRow("1-2-1 held twice") << "1-2-1" << 1.0 << 0.3 << 0.5;
    QTest::newRow("3-1-1 said in half the time") << "3-1-1" << 1.5 << 0.5 << 2.0;
}

void TestDemoTempo::heldPartIsFound()
{
    QFETCH(QString, example);
    QFETCH(double, from);
    QFETCH(double, length);
    QFETCH(double, tempo);
    const QString mp3 = QStringLiteral(RATTIL_APP_DIR "/data/examples/%1.mp3").arg(example);
    if (!QFileInfo::exists(mp3))
        QSKIP("the demo course has no such example");
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
    const QString decoded = m_dir.filePath(name + "-decoded.wav");
    QCOMPARE(QProcess::execute("lame", { "--quiet", "--decode", mp3, decoded }), 0);
    // The reciter's own sound with one stretch of it said more slowly or quickly.
    const QString before = m_dir.filePath(name + "-a.wav");
    const QString held = m_dir.filePath(name + "-b.wav");
    const QString after = m_dir.filePath(name + "-c.wav");
    const QString take = m_dir.filePath(name + ".wav");
    const QStringList mono = { "-r", "11025", "-c", "1" };
    QCOMPARE(QProcess::execute("sox",
                 QStringList { "-R", decoded } + mono + QStringList { before, "trim", "0", QString::number(from) }),
        0);
    QCOMPARE(QProcess::execute("sox",
                 QStringList { "-R", decoded } + mono
                     + QStringList { held, "trim", QString::number(from), QString::number(length), "tempo", "-s",
                         QString::number(tempo) }),
        0);
    QCOMPARE(QProcess::execute("sox",
                 QStringList { "-R", decoded } + mono + QStringList { after, "trim", QString::number(from + length) }),
        0);
    QCOMPARE(QProcess::execute("sox", { "-R", before, held, after, "-b", "8", "-e", "unsigned-integer", take }), 0);

    const TakeComparison result = QtConcurrent::run(&TakeFiles::CompareFiles, mp3, take).result();
    QVERIFY2(result.IsCompared(), qPrintable(result.error));
    const auto kind = tempo < 1 ? TakeComparison::HeldSegment::Kind::Long : TakeComparison::HeldSegment::Kind::Short;
    int found = 0;
    for (const auto &segment : result.segments) {
        qInfo("marked: reciter %.2f-%.2f s, take %.2f-%.2f s", segment.referenceStart, segment.referenceEnd,
            segment.takeStart, segment.takeEnd);
        // Within a syllable of the changed stretch, on the reciter's side.
        const bool there = segment.referenceEnd > from - 0.15 && segment.referenceStart < from + length + 0.15;
        QVERIFY2(there, qPrintable(result.Sentence()));
        if (segment.kind == kind)
            ++found;
    }
    QVERIFY2(found >= 1, qPrintable(result.Sentence()));
}

// The demo's examples with word times, their first rule's span said more
// slowly by sox and the rest as the reciter said it: that span's word, and
// only it, is named, and the span is counted within half a count of what the
// take holds.
void TestDemoTempo::aHeldRuleIsNamedAndCounted_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<double>("tempo"); // of the span, by sox
    QTest::newRow("madd muttasil inside its word, held longer") << "5-2-1" << 0.6;
    QTest::newRow("madd munfasil, held longer") << "5-2-3" << 0.6;
    QTest::newRow("iqlab, held twice") << "2-3-3" << 0.5;
}

void TestDemoTempo::aHeldRuleIsNamedAndCounted()
{
    QFETCH(QString, example);
    QFETCH(double, tempo);
    const QString mp3 = QStringLiteral(RATTIL_APP_DIR "/data/examples/%1.mp3").arg(example);
    const auto [words, rules] = AuthorsTimes(mp3);
    QVERIFY2(!words.empty() && !rules.empty(), "the demo course gives this example's word times");
    const WordJudge::Rule &rule = rules.front();
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
    const QString decoded = m_dir.filePath(name + "-decoded.wav");
    QCOMPARE(QProcess::execute("lame", { "--quiet", "--decode", mp3, decoded }), 0);
    const QString before = m_dir.filePath(name + "-a.wav"), held = m_dir.filePath(name + "-b.wav"),
                  after = m_dir.filePath(name + "-c.wav"), take = m_dir.filePath(name + ".wav");
    const QStringList mono = { "-r", "11025", "-c", "1" };
    QCOMPARE(
        QProcess::execute("sox",
            QStringList { "-R", decoded } + mono + QStringList { before, "trim", "0", QString::number(rule.start) }),
        0);
    QCOMPARE(QProcess::execute("sox",
                 QStringList { "-R", decoded } + mono
                     + QStringList { held, "trim", QString::number(rule.start), QString::number(rule.end - rule.start),
                         "tempo", "-s", QString::number(tempo) }),
        0);
    QCOMPARE(QProcess::execute("sox",
                 QStringList { "-R", decoded } + mono + QStringList { after, "trim", QString::number(rule.end) }),
        0);
    QCOMPARE(QProcess::execute("sox", { "-R", before, held, after, "-b", "8", "-e", "unsigned-integer", take }), 0);

    const TakeComparison comparison = QtConcurrent::run(&TakeFiles::CompareFiles, mp3, take).result();
    QVERIFY2(comparison.IsCompared(), qPrintable(comparison.error));
    const WordJudge::Result judged = WordJudge::Judge(comparison, words, rules);
    QVERIFY(judged.judged);
    const WordJudge::RuleResult &counted = judged.rules.front();
    QStringList named;
    for (const WordJudge::WordResult &w : judged.words)
        if (w.named)
            named << w.text;
    QCOMPARE(named, counted.words);
    QVERIFY(counted.measured);
    const double expected = rule.counts / tempo;
    QVERIFY2(std::abs(counted.counts - expected) <= 0.5,
        qPrintable(QStringLiteral("expected about %1, found %2: %3")
                       .arg(expected)
                       .arg(counted.counts)
                       .arg(judged.Sentence())));
    QVERIFY2(counted.outside && judged.Sentence().contains(QStringLiteral("والمطلوب")), qPrintable(judged.Sentence()));
}

QTEST_GUILESS_MAIN(TestDemoTempo)
#include "test_demotempo.moc"
