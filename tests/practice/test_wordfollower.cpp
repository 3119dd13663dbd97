// SPDX-License-Identifier: GPL-3.0-or-later

// The word lit follows the reciter's position, at full speed and slowed, and a
// screen reader is told which word it is.
#include "../support/fakes.h"
#include "practice/wordfollower.h"

#include <QLabel>
#include <QtTest>

namespace {

const QString Caption = QStringLiteral("مَآ أَغۡنَىٰ\r\nعَنۡهُ ۚ");
const std::vector<WordJudge::Word> Times { { 0.1, 0.5, QStringLiteral("مآ") }, { 0.5, 1.0, QStringLiteral("أغنى") },
    { 1.0, 1.4, QStringLiteral("عنه") } };

} // namespace

class TestWordFollower final : public QObject
{
    Q_OBJECT

private slots:
    void theWordHeardIsLit_data();
    void theWordHeardIsLit();
    void timesThatAreNotTheTextsLightNothing();
    void aWordChosenByKeyboardPlays_data();
    void aWordChosenByKeyboardPlays();
};

void TestWordFollower::theWordHeardIsLit_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("heard"); // the player's position, seconds of what is heard
    QTest::addColumn<int>("lit");
    QTest::addColumn<QString>("described");
    QTest::newRow("before the first word") << 1.0 << 0.05 << -1 << QStringLiteral("الآية");
    QTest::newRow("the first word") << 1.0 << 0.3 << 0 << QStringLiteral("الكلمة ١ من ٣: مَآ");
    QTest::newRow("the last word, past a line break") << 1.0 << 1.2 << 2 << QStringLiteral("الكلمة ٣ من ٣: عَنۡهُ");
    QTest::newRow("slowed: heard later, the same word") << 0.7 << 1.2 << 1 << QStringLiteral("الكلمة ٢ من ٣: أَغۡنَىٰ");
    QTest::newRow("after the last word") << 1.0 << 1.5 << -1 << QStringLiteral("الآية");
}

void TestWordFollower::theWordHeardIsLit()
{
    QFETCH(double, speed);
    QFETCH(double, heard);
    QFETCH(int, lit);
    QFETCH(QString, described);
    QLabel verse;
    verse.setAccessibleDescription(QStringLiteral("الآية"));
    verse.setText(Caption);
    FakeMediaPlayer player;
    player.SetSpeed(speed);
    WordFollower follower(verse, player);
    follower.SetHighlight(QColor(0x80, 0, 0));
    follower.Follow(verse.text(), Times);
    QVERIFY(follower.Following());
    player.position = heard;
    QTRY_COMPARE(follower.Current(), lit);
    QCOMPARE(verse.accessibleDescription(), described);
    // The word lit in the course's colour, the others as they were.
    QCOMPARE(verse.text().count(QStringLiteral("color:#800000")), lit >= 0 ? 1 : 0);
    // Left, the verse is as it was.
    follower.Clear();
    QCOMPARE(verse.text(), Caption);
    QCOMPARE(verse.accessibleDescription(), QStringLiteral("الآية"));
}

void TestWordFollower::timesThatAreNotTheTextsLightNothing()
{
    QLabel verse;
    verse.setText(Caption);
    FakeMediaPlayer player;
    WordFollower follower(verse, player);
    follower.Follow(verse.text(), { Times[0], Times[1] });
    QVERIFY(!follower.Following());
    QCOMPARE(verse.text(), Caption);
}

void TestWordFollower::aWordChosenByKeyboardPlays_data()
{
    QTest::addColumn<double>("speed");
    QTest::newRow("at full speed") << 1.0;
    QTest::newRow("slowed") << 0.7;
}

// Left moves on as Arabic is read; Enter plays from the word chosen, Shift+Enter
// plays it alone until Escape, at the speed chosen.
void TestWordFollower::aWordChosenByKeyboardPlays()
{
    QFETCH(double, speed);
    QLabel verse;
    verse.setText(Caption);
    FakeMediaPlayer player;
    player.SetSpeed(speed);
    WordFollower follower(verse, player);
    follower.Follow(verse.text(), Times);
    QTest::keyClick(&verse, Qt::Key_Left);
    QTest::keyClick(&verse, Qt::Key_Left);
    QTest::keyClick(&verse, Qt::Key_Left);
    QTest::keyClick(&verse, Qt::Key_Right);
    QCOMPARE(follower.Current(), 1);
    QCOMPARE(verse.accessibleDescription(), QStringLiteral("الكلمة ٢ من ٣: أَغۡنَىٰ"));
    // The word chosen stays lit while the player rests.
    QTest::qWait(3 * WordFollower::TickMs);
    QCOMPARE(follower.Current(), 1);

    QTest::keyClick(&verse, Qt::Key_Return);
    QVERIFY(player.playing);
    QCOMPARE(player.position, 0.5 / speed);

    QTest::keyClick(&verse, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(follower.Looping(), 1);
    player.position = 1.05 / speed; // past the word's end
    QTRY_COMPARE(player.position, 0.5 / speed);
    QTest::keyClick(&verse, Qt::Key_Escape);
    QCOMPARE(follower.Looping(), -1);
    QVERIFY(!player.playing);
}

QTEST_MAIN(TestWordFollower)
#include "test_wordfollower.moc"
