// SPDX-License-Identifier: GPL-3.0-or-later

#include "practicefixture.h"

#include <QtTest>

class TestSoundMeter final : public QObject
{
    Q_OBJECT
private slots:
    void peak_data();
    void peak();
    void segments_data();
    void segments();
    void readPeakNeverWaits();
    void startFailureShowsTheDeviceText();
    void startWhileRunningKeepsOneStream();
};

namespace {

QByteArray silence()
{
    return QByteArray(WaveInput::BufferSize, char(128));
}

QByteArray with(int index, unsigned char value)
{
    QByteArray buffer = silence();
    buffer[index] = char(value);
    return buffer;
}

} // namespace

void TestSoundMeter::peak_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("peak");
    QTest::newRow("silence") << silence() << 0;
    QTest::newRow("one byte 0 counts full scale") << with(400, 0) << 128;
    QTest::newRow("one byte 255") << with(0, 255) << 127;
    QTest::newRow("last byte of the buffer") << with(WaveInput::BufferSize - 1, 100) << 28;
    QTest::newRow("below silence") << with(10, 127) << 1;
}

void TestSoundMeter::peak()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, peak);
    QCOMPARE(SoundMeter::PeakOf(buffer), peak);
}

void TestSoundMeter::segments_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("lit");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("6") << 6 << 0;
    QTest::newRow("7") << 7 << 1;
    QTest::newRow("18") << 18 << 1;
    QTest::newRow("19") << 19 << 2;
    QTest::newRow("93") << 93 << 7;
    QTest::newRow("94") << 94 << 8;
    QTest::newRow("128") << 128 << 8;
}

void TestSoundMeter::segments()
{
    QFETCH(int, level);
    QFETCH(int, lit);
    PracticeFixture f;
    for (int k = 1; k <= 8; ++k)
        f.c.vm[k]->setVisible(k % 2 == 0);
    f.meter->ShowLevel(qint16(level));
    int shown = 0;
    for (int k = 1; k <= 8; ++k) {
        QCOMPARE(f.c.vm[k]->isVisibleTo(&f.host), k <= lit);
        shown += f.c.vm[k]->isVisibleTo(&f.host) ? 1 : 0;
    }
    QCOMPARE(shown, lit);
}

void TestSoundMeter::readPeakNeverWaits()
{
    PracticeFixture f;
    // Not started: nothing to wait for.
    f.input.arriving << with(0, 0);
    QCOMPARE(f.meter->ReadPeak(), 0);

    QVERIFY(f.meter->StartMeter());
    f.input.arriving = { with(0, 160) };
    QCOMPARE(f.meter->ReadPeak(), 32);
    // No new buffer: the last level stands instead of a wait.
    QCOMPARE(f.meter->ReadPeak(), 32);
    f.input.arriving = { with(5, 0) };
    QCOMPARE(f.meter->ReadPeak(), 128);
    f.meter->StopMeter();
    QCOMPARE(f.meter->ReadPeak(), 0);
}

void TestSoundMeter::startFailureShowsTheDeviceText()
{
    PracticeFixture f;
    f.input.canOpen = false;
    f.input.errorText = QStringLiteral("جهاز الإدخال مشغول");
    QVERIFY(!f.meter->StartMeter());
    QCOMPARE(f.boxes, QStringList { QStringLiteral("جهاز الإدخال مشغول") });
    QCOMPARE(f.meter->ReadPeak(), 0);
}

void TestSoundMeter::startWhileRunningKeepsOneStream()
{
    PracticeFixture f;
    QVERIFY(f.meter->StartMeter());
    QVERIFY(f.meter->StartMeter());
    QCOMPARE(f.input.opens, 1);
}

QTEST_MAIN(TestSoundMeter)
#include "test_soundmeter.moc"
