// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/softwarevolume.h"

#include <QAudio>
#include <QSignalSpy>
#include <QtTest>

class TestSoftwareVolume final : public QObject
{
    Q_OBJECT
private slots:
    void levelsStayInTheLine_data();
    void levelsStayInTheLine();
    void gainFollowsLevelAndMute();
    void gainIsQtMultimediasFaderLaw_data();
    void gainIsQtMultimediasFaderLaw();
};

void TestSoftwareVolume::levelsStayInTheLine_data()
{
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("notices");
    QTest::newRow("inside") << 40 << 40 << 1;
    QTest::newRow("above") << 250 << 100 << 0;
    QTest::newRow("below") << -3 << 0 << 1;
}

void TestSoftwareVolume::levelsStayInTheLine()
{
    QFETCH(int, written);
    QFETCH(int, level);
    QFETCH(int, notices);
    SoftwareVolume line;
    QSignalSpy changed(&line, &SoftwareVolume::changed);
    line.setVolume(written);
    QCOMPARE(line.volume(), level);
    // A write that changes nothing (100 stays 100) tells no player.
    QCOMPARE(changed.size(), notices);
}

void TestSoftwareVolume::gainFollowsLevelAndMute()
{
    SoftwareVolume line;
    QCOMPARE(line.gain(), 1.0f);
    float previous = line.gain();
    for (int level : { 80, 50, 20, 1 }) {
        line.setVolume(level);
        QVERIFY2(line.gain() < previous && line.gain() > 0.0f, qPrintable(QString::number(level)));
        previous = line.gain();
    }
    line.setVolume(0);
    QCOMPARE(line.gain(), 0.0f);
    line.setVolume(60);
    line.setMuted(true);
    QCOMPARE(line.gain(), 0.0f);
    line.setMuted(false);
    QVERIFY(line.gain() > 0.0f);
}

// The gain is worked out without Qt Multimedia, so that the mixer made at start
// does not need it; a learner's levels must sound as they did through Qt's own
// conversion, at every step of the bars and at both ends.
void TestSoftwareVolume::gainIsQtMultimediasFaderLaw_data()
{
    QTest::addColumn<int>("level");
    for (int level : { 1, 10, 25, 50, 75, 90, 98, 99, 100 })
        QTest::addRow("%d", level) << level;
}

void TestSoftwareVolume::gainIsQtMultimediasFaderLaw()
{
    QFETCH(int, level);
    SoftwareVolume line;
    line.setVolume(level);
    const float qt = QAudio::convertVolume(level / 100.0f, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale);
    QVERIFY2(std::abs(line.gain() - qt) < 1e-5f, qPrintable(QStringLiteral("%1 against %2").arg(line.gain()).arg(qt)));
}

QTEST_APPLESS_MAIN(TestSoftwareVolume)
#include "test_softwarevolume.moc"
