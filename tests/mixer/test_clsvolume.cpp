// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "mixer/clsvolume.h"
#include "mixer/mvolume.h"

#include <QtTest>

using Source = MixerDevice::Line;

class TestClsVolume final : public QObject
{
    Q_OBJECT
private slots:
    void volumeWritesStayInsideTheLineBounds_data();
    void volumeWritesStayInsideTheLineBounds();
    void missingLinesAndControlsReadZero_data();
    void missingLinesAndControlsReadZero();
    void lineInFallsBackToTheAuxiliarySource_data();
    void lineInFallsBackToTheAuxiliarySource();
    void percentConversionsRoundHalvesToEven_data();
    void percentConversionsRoundHalvesToEven();
    void lineWordsInAnyCase_data();
    void lineWordsInAnyCase();
    void noMixerIsReportedOncePerRun_data();
    void noMixerIsReportedOncePerRun();
};

void TestClsVolume::volumeWritesStayInsideTheLineBounds_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("stored");
    QTest::newRow("above the maximum") << 0 << 65536 << 70000 << 65536;
    QTest::newRow("below the minimum") << 0 << 65536 << -5 << 0;
    QTest::newRow("inside") << 0 << 65536 << 1234 << 1234;
    QTest::newRow("below a raised minimum") << 10 << 31 << 3 << 10;
    QTest::newRow("at the maximum") << 10 << 31 << 31 << 31;
}

void TestClsVolume::volumeWritesStayInsideTheLineBounds()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, written);
    QFETCH(int, stored);
    FakeMixerDevice device;
    device.addLine(Source::Speakers, min, max, min);
    clsVolume volume(&device, {});
    QCOMPARE(volume.MinWaveVolume(), min);
    QCOMPARE(volume.MaxWaveVolume(), max);
    volume.SetWaveVolume(written);
    QCOMPARE(device.line(Source::Speakers).value, stored);
    QCOMPARE(volume.WaveVolume(), stored);
}

void TestClsVolume::missingLinesAndControlsReadZero_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("hasVolume");
    QTest::addColumn<bool>("hasMute");
    QTest::addColumn<int>("volumeRead");
    QTest::addColumn<int>("maxRead");
    QTest::newRow("full line") << true << true << true << 40 << 100;
    QTest::newRow("line missing") << true << false << false << 0 << 0;
    QTest::newRow("mute missing") << true << true << false << 40 << 100;
    // A mute without a volume belongs to no line the class knows of.
    QTest::newRow("only a mute") << true << false << true << 0 << 0;
    QTest::newRow("no mixer") << false << true << true << 0 << 0;
}

void TestClsVolume::missingLinesAndControlsReadZero()
{
    QFETCH(bool, open);
    QFETCH(bool, hasVolume);
    QFETCH(bool, hasMute);
    QFETCH(int, volumeRead);
    QFETCH(int, maxRead);
    FakeMixerDevice device;
    device.open = open;
    FakeMixerDevice::FakeLine &mic = device.line(Source::Microphone);
    mic = { hasVolume, 0, 100, 40, hasMute, true, 0 };
    clsVolume volume(&device, {});
    QCOMPARE(volume.MicroVolume(), volumeRead);
    QCOMPARE(volume.MaxMicVolume(), maxRead);
    // Muted on the card, but unreadable here: not muted.
    QCOMPARE(volume.MicroMute(), hasVolume && hasMute && open ? 1 : 0);
    volume.SetMicroMute(0);
    QCOMPARE(mic.muted, !(hasVolume && hasMute && open));
    volume.SetMicroVolume(70);
    QCOMPARE(mic.value, hasVolume && open ? 70 : 40);
    // The other five lines are not there at all.
    QCOMPARE(volume.WaveVolume(), 0);
    QCOMPARE(volume.CD_Mute(), 0);
    QCOMPARE(volume.MaxMidVolume(), 0);
}

void TestClsVolume::lineInFallsBackToTheAuxiliarySource_data()
{
    QTest::addColumn<bool>("lineHasVolume");
    QTest::addColumn<bool>("auxPresent");
    QTest::addColumn<int>("expectedMax");
    QTest::addColumn<int>("lineWrites");
    QTest::addColumn<int>("auxWrites");
    QTest::newRow("line source") << true << true << 31 << 1 << 0;
    QTest::newRow("auxiliary when line has no volume") << false << true << 255 << 0 << 1;
    QTest::newRow("neither") << false << false << 0 << 0 << 0;
}

void TestClsVolume::lineInFallsBackToTheAuxiliarySource()
{
    QFETCH(bool, lineHasVolume);
    QFETCH(bool, auxPresent);
    QFETCH(int, expectedMax);
    QFETCH(int, lineWrites);
    QFETCH(int, auxWrites);
    FakeMixerDevice device;
    device.addLine(Source::LineIn, 0, 31, 5);
    device.line(Source::LineIn).hasVolume = lineHasVolume;
    if (auxPresent)
        device.addLine(Source::Auxiliary, 0, 255, 100, true, true);
    clsVolume volume(&device, {});
    QCOMPARE(volume.MaxLineInVolume(), expectedMax);
    volume.SetLineInVolume(20);
    QCOMPARE(device.line(Source::LineIn).writes, lineWrites);
    QCOMPARE(device.line(Source::Auxiliary).writes, auxWrites);
    QCOMPARE(volume.LineInMute(), auxWrites == 1 ? 1 : 0);
}

void TestClsVolume::percentConversionsRoundHalvesToEven_data()
{
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("percentRead");
    QTest::addColumn<int>("percentWritten");
    QTest::addColumn<int>("rawWritten");
    QTest::newRow("4.5 % reads as 4") << 200 << 9 << 4 << 45 << 90;
    QTest::newRow("5.5 % reads as 6") << 200 << 11 << 6 << 55 << 110;
    QTest::newRow("a 4.5 step writes 4") << 10 << 5 << 50 << 45 << 4;
    QTest::newRow("a 5.5 step writes 6") << 10 << 5 << 50 << 55 << 6;
    QTest::newRow("sound server range") << 65536 << 13107 << 20 << 30 << 19661;
    QTest::newRow("a maximum of 0 reads 0") << 0 << 0 << 0 << 50 << 0;
}

void TestClsVolume::percentConversionsRoundHalvesToEven()
{
    QFETCH(int, max);
    QFETCH(int, raw);
    QFETCH(int, percentRead);
    QFETCH(int, percentWritten);
    QFETCH(int, rawWritten);
    FakeMixerDevice device;
    device.addLine(Source::Microphone, 0, max, raw);
    MVolume mvolume(&device, nullptr);
    QCOMPARE(mvolume.GetVolume("mic"), percentRead);
    mvolume.SetVolume("mic", percentWritten);
    QCOMPARE(device.line(Source::Microphone).value, rawWritten);
}

void TestClsVolume::lineWordsInAnyCase_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("line");
    QTest::newRow("Master") << "Master" << int(Source::Speakers);
    QTest::newRow("master") << "master" << int(Source::Speakers);
    QTest::newRow("Wave is the program's sound") << "Wave" << int(Source::WaveOut);
    QTest::newRow("WAVE") << "WAVE" << int(Source::WaveOut);
    QTest::newRow("Mic") << "Mic" << int(Source::Microphone);
    QTest::newRow("mIC") << "mIC" << int(Source::Microphone);
    QTest::newRow("unknown word") << "cd" << -1;
}

void TestClsVolume::lineWordsInAnyCase()
{
    QFETCH(QString, word);
    QFETCH(int, line);
    FakeMixerDevice device;
    for (Source s : { Source::Speakers, Source::WaveOut, Source::Microphone, Source::CompactDisc })
        device.addLine(s, 0, 100, 10 + int(s), true, true);
    MVolume mvolume(&device, nullptr);
    QCOMPARE(mvolume.GetVolume(word), line < 0 ? 0 : 10 + line);
    QCOMPARE(mvolume.GetMute(word), line >= 0);
    mvolume.SetVolume(word, 77);
    mvolume.SetMute(word, false);
    for (Source s : { Source::Speakers, Source::WaveOut, Source::Microphone, Source::CompactDisc }) {
        const bool target = int(s) == line;
        QCOMPARE(device.line(s).value, target ? 77 : 10 + int(s));
        QCOMPARE(device.line(s).muted, !target);
    }
}

void TestClsVolume::noMixerIsReportedOncePerRun_data()
{
    QTest::addColumn<bool>("deviceGiven");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("boxes");
    QTest::newRow("no device") << false << false << 1;
    QTest::newRow("device that would not open") << true << false << 1;
    QTest::newRow("open mixer") << true << true << 0;
}

void TestClsVolume::noMixerIsReportedOncePerRun()
{
    QFETCH(bool, deviceGiven);
    QFETCH(bool, open);
    QFETCH(int, boxes);
    FakeMixerDevice device;
    device.open = open;
    RecordingMessages messages;
    MVolume mvolume(deviceGiven ? &device : nullptr, &messages);
    // The five operations of the start-up display, then a few clicks.
    mvolume.GetMute("Wave");
    mvolume.GetMute("Mic");
    QCOMPARE(mvolume.GetVolume("Master"), 0);
    mvolume.SetVolume("master", 20);
    mvolume.GetVolume("Wave");
    mvolume.SetMute("Mic", true);
    QCOMPARE(messages.boxes.size(), boxes);
    if (boxes)
        QCOMPARE(messages.boxes.first(), QStringLiteral("No mixer found!"));
    QVERIFY(messages.dialogs.isEmpty());
    QCOMPARE(mvolume.MixerFound(), open);
}

QTEST_APPLESS_MAIN(TestClsVolume)
#include "test_clsvolume.moc"
