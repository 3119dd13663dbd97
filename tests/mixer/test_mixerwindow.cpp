// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "../support/fakesoundmodule.h"
#include "../support/testfiles.h"
#include "app/mainwindow.h"
#include "mixer/volumecontrols.h"
#include "mixerskin.h"
#include "widgets/activelink.h"

#include <QTemporaryDir>
#include <QtTest>

using Source = MixerDevice::Line;

// The sound controls as the window's start-up leaves them.
class TestMixerWindow final : public QObject
{
    Q_OBJECT
private slots:
    void startupShowsTheMixerOrOneMessage_data();
    void startupShowsTheMixerOrOneMessage();
};

void TestMixerWindow::startupShowsTheMixerOrOneMessage_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("waveBars");
    QTest::addColumn<int>("micBars");
    QTest::addColumn<int>("master");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("mixer") << true << 6 << 4 << 20 << QStringList();
    QTest::newRow("no mixer") << false << 0 << 0 << 0 << QStringList { "No mixer found!" };
}

void TestMixerWindow::startupShowsTheMixerOrOneMessage()
{
    QFETCH(bool, open);
    QFETCH(int, waveBars);
    QFETCH(int, micBars);
    QFETCH(int, master);
    QFETCH(QStringList, boxes);
    QTemporaryDir dir;
    write(dir.filePath("data/html/nofile.htm"), "<html><body>missing</body></html>");
    write(dir.filePath("contents.ini"), "@ One\r\n# a*2\r\n");
    WriteMixerSkin(dir.filePath("Images") + "/");
    FakeMediaPlayer player;
    RecordingMessages messages;
    FakeMixerDevice mixer;
    mixer.open = open;
    mixer.addLine(Source::Speakers, 0, 1000, 0);
    mixer.addLine(Source::WaveOut, 0, 200, 110);
    mixer.addLine(Source::Microphone, 0, 200, 90, true, true);

    FakePlatform platformFakes(&player, &messages, &mixer);

    MainWindow w(dir.path(), platformFakes);
    w.Load();
    // The mixer comes with the sound parts once the first frame is drawn.
    w.show();
    QTRY_COMPARE(messages.boxes, boxes);
    QTRY_COMPARE(LitBars(w.mixerControls.Imvol), waveBars);
    QCOMPARE(LitBars(w.mixerControls.Immic), micBars);
    QCOMPARE(w.volume->MasterLevel, 0);
    QCOMPARE(mixer.line(Source::Speakers).value * 100 / 1000, master);
    QCOMPARE(SkinFileOf(w.mixerControls.MicIcon->picture()), QString(open ? "MicMute.jpg" : "MicVol.jpg"));
    QCOMPARE(w.mixerControls.Imvol[1]->geometry().right() + 1, 330);
    QCOMPARE(w.mixerControls.Immic[1]->geometry().right() + 1, 190);
    QCOMPARE(w.mixerControls.volup->isEnabled(), open);
}

QTEST_MAIN(TestMixerWindow)
#include "test_mixerwindow.moc"
