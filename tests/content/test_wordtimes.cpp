// SPDX-License-Identifier: GPL-3.0-or-later

// The author's word times and rule spans: each defect named on its line, and a
// track an editor wrote read as the editor meant it.
#include "content/wordtimes.h"

#include <QtTest>

using namespace WordTimes;

namespace {

// "start end label" lines: the first two blanks become the editor's tabs.
QByteArray track(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += (line.section(QLatin1Char(' '), 0, 0) + QLatin1Char('\t') + line.section(QLatin1Char(' '), 1, 1)
                   + QLatin1Char('\t') + line.section(QLatin1Char(' '), 2))
                   .toUtf8()
            + '\n';
    return out;
}

QStringList said(const QList<Problem> &problems)
{
    QStringList out;
    for (const Problem &p : problems)
        out << QString::number(p.line) + QStringLiteral(": ") + p.message;
    return out;
}

const QStringList Verse { QStringLiteral("مَآ"), QStringLiteral("أَغۡنَىٰ"), QStringLiteral("عَنۡهُ") };

} // namespace

class TestWordTimes final : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatAnEditorWrites_data();
    void readsWhatAnEditorWrites();
    void wordsOfAText_data();
    void wordsOfAText();
    void wordDefects_data();
    void wordDefects();
    void ruleDefects_data();
    void ruleDefects();
};

void TestWordTimes::readsWhatAnEditorWrites_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("labels"); // "start-end-text"
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("an editor's export") << QByteArray("0.250000\t0.900000\tمآ\n0.9\t1.5\tأغنى\n")
                                        << QStringList { "0.250-0.900-مآ", "0.900-1.500-أغنى" } << QStringList();
    QTest::newRow("line ends of another system, a blank line")
        << QByteArray("0.1\t0.2\tمآ\r\n\r\n0.3\t0.4\tأغنى\r\n") << QStringList { "0.100-0.200-مآ", "0.300-0.400-أغنى" }
        << QStringList();
    QTest::newRow("a spectral label's frequency line")
        << QByteArray("0.1\t0.2\tمآ\n\\\t100.0\t4000.0\n") << QStringList { "0.100-0.200-مآ" } << QStringList();
    QTest::newRow("a decimal comma") << QByteArray("0,1\t0,2\tمآ\n") << QStringList()
                                     << QStringList { "1: \"0,1\" is not a time in seconds" };
    QTest::newRow("no tab") << QByteArray("0.1 0.2 مآ\n") << QStringList()
                            << QStringList { "1: is not \"start<TAB>end<TAB>label\"" };
}

void TestWordTimes::readsWhatAnEditorWrites()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, problems);
    const Track t = Read(bytes);
    QStringList got;
    for (const Label &l : t.labels)
        got << QString::number(l.start, 'f', 3) + '-' + QString::number(l.end, 'f', 3) + '-' + l.text;
    QCOMPARE(got, labels);
    QCOMPARE(said(t.problems), problems);
    // Written back, it reads the same.
    QCOMPARE(Read(Write(t.labels)).labels.size(), t.labels.size());
}

void TestWordTimes::wordsOfAText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("a verse") << QStringLiteral("مَآ أَغۡنَىٰ عَنۡهُ مَالُهُۥ وَمَا كَسَبَ") << 6;
    QTest::newRow("its number and a pause sign are no words") << QStringLiteral("وَمَا كَسَبَ ۚ ٢") << 2;
    QTest::newRow("blanks of every kind") << QStringLiteral(" مَآ\u00a0\tأَغۡنَىٰ\n") << 2;
}

void TestWordTimes::wordsOfAText()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(WordsOf(text).size(), count);
}

void TestWordTimes::wordDefects_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("picture"); // no text to hold the labels against
    QTest::addColumn<double>("sound");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("true of the text, marks left out")
        << QStringList { "0.1 0.5 مآ", "0.5 1.0 أغنى", "1.0 1.4 عنه" } << false << 2.0 << QStringList();
    QTest::newRow("a word too few") << QStringList { "0.1 0.5 مآ", "0.5 1.0 أغنى" } << false << 2.0
                                    << QStringList { "0: has 2 words; the example's text has 3" };
    QTest::newRow("a label that is another word") << QStringList { "0.1 0.5 مآ", "0.5 1.0 أغنى",
        "1.0 1.4 عنهم" } << false << 2.0 << QStringList { "3: \"عنهم\" is not word 3 of the text, \"عَنۡهُ\"" };
    QTest::newRow("an end before its start") << QStringList { "0.1 0.5 مآ", "0.9 0.6 أغنى",
        "1.0 1.4 عنه" } << false << 2.0 << QStringList { "2: ends at 0.600 s, not after it starts at 0.900 s" };
    QTest::newRow("words that overlap") << QStringList {
        "0.1 0.5 مآ", "0.4 1.0 أغنى", "1.0 1.4 عنه"
    } << false << 2.0 << QStringList { "2: starts at 0.400 s, before the word above ends at 0.500 s" };
    QTest::newRow("a time past the sound") << QStringList { "0.1 0.5 مآ", "0.5 1.0 أغنى",
        "1.0 2.4 عنه" } << false << 2.0 << QStringList { "3: ends at 2.400 s, past the end of the sound at 2.000 s" };
    QTest::newRow("a picture's words: their times only") << QStringList { "0.1 0.5 x",
        "0.5 0.4 y" } << true << 2.0 << QStringList { "2: ends at 0.400 s, not after it starts at 0.500 s" };
    QTest::newRow("an empty file") << QStringList() << false << 2.0
                                   << QStringList { "0: is empty: it gives no word a time" };
}

void TestWordTimes::wordDefects()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, picture);
    QFETCH(double, sound);
    QFETCH(QStringList, problems);
    const auto words = picture ? std::nullopt : std::optional<QStringList>(Verse);
    QCOMPARE(said(CheckWords(Read(track(lines)), words, sound)), problems);
}

void TestWordTimes::ruleDefects_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<double>("low"); // of the accepted counts, for the first line
    QTest::addColumn<double>("high");
    QTest::newRow("counts and what is accepted")
        << QStringList { "0.2 0.5 مد متصل|4|4-5" } << QStringList() << 4.0 << 5.0;
    QTest::newRow("accepted as given") << QStringList { "0.2 0.5 غنة|2" } << QStringList() << 2.0 << 2.0;
    QTest::newRow("a half count") << QStringList { "0.2 0.5 مد|4.5" } << QStringList() << 4.5 << 4.5;
    QTest::newRow("across a word boundary") << QStringList { "0.4 0.7 غنة|2" } << QStringList() << 2.0 << 2.0;
    QTest::newRow("counts that are no number")
        << QStringList { "0.2 0.5 مد|طويل" }
        << QStringList { "1: \"طويل\" is not a positive count or a range of counts such as 4-5" } << 0.0 << 0.0;
    QTest::newRow("a range the wrong way round")
        << QStringList { "0.2 0.5 مد|4|5-4" }
        << QStringList { "1: \"5-4\" is not a positive count or a range of counts such as 4-5" } << 0.0 << 0.0;
    QTest::newRow("no counts") << QStringList { "0.2 0.5 مد" }
                               << QStringList { "1: \"مد\" is not \"rule|counts\" or \"rule|counts|accepted\"" } << 0.0
                               << 0.0;
    QTest::newRow("outside the words")
        << QStringList { "0.05 0.5 مد|2" }
        << QStringList { "1: lies outside the words (0.050 to 0.500 s; the words span 0.100 to 1.400 s)" } << 2.0
        << 2.0;
    QTest::newRow("outside the sound")
        << QStringList { "1.0 2.5 مد|2" }
        << QStringList { "1: lies outside the sound (1.000 to 2.500 s; the sound lasts 2.000 s)" } << 2.0 << 2.0;
}

void TestWordTimes::ruleDefects()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, problems);
    QFETCH(double, low);
    QFETCH(double, high);
    const Track words = Read(track({ "0.1 0.5 مآ", "0.5 1.0 أغنى", "1.0 1.4 عنه" }));
    const Track rules = Read(track(lines));
    QCOMPARE(said(CheckRules(rules, words, 2.0)), problems);
    const auto rule = ParseRule(rules.labels.value(0).text, nullptr);
    if (low > 0) {
        QVERIFY(rule);
        QCOMPARE(rule->accepted.low, low);
        QCOMPARE(rule->accepted.high, high);
    }
}

QTEST_GUILESS_MAIN(TestWordTimes)
#include "test_wordtimes.moc"
