// SPDX-License-Identifier: GPL-3.0-or-later

#include "../support/fakemixer.h"
#include "../support/fakes.h"
#include "base/numbers.h"
#include "mixer/mixercontrols.h"
#include "mixer/mvolume.h"
#include "mixer/volumecontrols.h"
#include "mixerskin.h"
#include "widgets/activelink.h"
#include "widgets/levelslider.h"

#include <QAccessible>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using Source = MixerDevice::Line;

namespace {

// The sound controls on a bare window, over a fake mixer whose three lines
// count in percent (maximum 100), so that raw values are percentages.
struct Fixture
{
    QTemporaryDir dir;
    QWidget main;
    FakeMixerDevice device;
    RecordingMessages messages;
    MixerControls c;
    MVolume mvolume;
    VolumeControls volume;

    explicit Fixture(int master = 50, int wave = 50, int mic = 50, bool open = true)
        : c(CreateMixerControls(&main))
        , mvolume(&device, &messages)
        , volume(c, mvolume, &device)
    {
        device.open = open;
        device.addLine(Source::Speakers, 0, 100, master);
        device.addLine(Source::WaveOut, 0, 100, wave);
        device.addLine(Source::Microphone, 0, 100, mic);
        WriteMixerSkin(images());
    }
    QString images() const { return dir.path() + "/Images/"; }
    void start()
    {
        volume.LoadSkin(images(), 0x202020);
        volume.InitVolumeDisplay();
    }
    std::array<ActiveLink *, MixerControls::Bars + 1> &bars(bool mic) { return mic ? c.Immic : c.Imvol; }
};

int Expected(int level)
{
    return int(RoundHalfEven(level / 10.0));
}

} // namespace

class TestVolumeControls final : public QObject
{
    Q_OBJECT
private slots:
    void barsStandInARowEndingAtTheIcon_data();
    void barsStandInARowEndingAtTheIcon();
    void startingDisplay_data();
    void startingDisplay();
    void stepButtons_data();
    void stepButtons();
    void barClickMovesOnePercentATick_data();
    void barClickMovesOnePercentATick();
    void timerRunsOnlyWhileALevelMoves();
    void muteToggles_data();
    void muteToggles();
    void screenReaderSetsALevelBySlider_data();
    void screenReaderSetsALevelBySlider();
    void sliderFollowsTheBars();
    void barsFollowChangesMadeOutside();
    void withoutAMixerTheControlsAreInert();
    void mixerLostAndBack_data();
    void mixerLostAndBack();
    void everyControlHasAnArabicNameAndAPressAction();
};

void TestVolumeControls::barsStandInARowEndingAtTheIcon_data()
{
    QTest::addColumn<bool>("mic");
    QTest::addColumn<int>("iconLeft");
    QTest::newRow("wave") << false << 330;
    QTest::newRow("microphone") << true << 190;
}

void TestVolumeControls::barsStandInARowEndingAtTheIcon()
{
    QFETCH(bool, mic);
    QFETCH(int, iconLeft);
    Fixture f;
    f.start();
    auto &bars = f.bars(mic);
    constexpr int w = 8;
    const int bottom = 587 + SkinBarHeight;
    QCOMPARE(bars[10]->geometry(), QRect(iconLeft - 10 * w, 587, w, SkinBarHeight));
    QCOMPARE(bars[1]->geometry().right() + 1, iconLeft);
    QCOMPARE(f.volume.BarPlace(mic, 1).height(), SkinBarHeight - 22.5);
    for (int k = 1; k <= 10; ++k) {
        QCOMPARE(bars[k]->geometry().bottom() + 1, bottom);
        QCOMPARE(f.volume.BarPlace(mic, k).bottom(), double(bottom));
        if (k > 1)
            QCOMPARE(bars[k]->geometry().right() + 1, bars[k - 1]->x());
    }
    // The step buttons stand one above the other just left of the row: the up
    // button 2.5 below the tallest bar's top (589.5 goes to the even 590), the
    // down button 2.5 above its bottom.
    ActiveLink *up = mic ? f.c.micup : f.c.volup;
    ActiveLink *down = mic ? f.c.micdown : f.c.voldown;
    QCOMPARE(up->geometry(), QRect(iconLeft - 10 * w - 11 - 2, 590, 11, SkinStepHeight));
    QCOMPARE(down->geometry(), QRect(iconLeft - 10 * w - 11 - 2, 605, 11, SkinStepHeight));
    // The icon takes the size of its hover picture.
    ActiveLink *icon = mic ? f.c.MicIcon : f.c.WaveIcon;
    QCOMPARE(icon->geometry(), QRect(iconLeft, 587, mic ? 25 : 21, SkinIconHeight));
}

void TestVolumeControls::startingDisplay_data()
{
    QTest::addColumn<int>("master");
    QTest::addColumn<int>("wave");
    QTest::addColumn<int>("mic");
    QTest::addColumn<int>("masterAfter");
    QTest::addColumn<int>("waveBars");
    QTest::addColumn<int>("micBars");
    QTest::newRow("silent master raised to 20") << 0 << 45 << 55 << 20 << 4 << 6;
    QTest::newRow("master left alone") << 1 << 55 << 45 << 1 << 6 << 4;
    QTest::newRow("full and silent") << 100 << 100 << 0 << 100 << 10 << 0;
    QTest::newRow("just under a bar") << 30 << 14 << 16 << 30 << 1 << 2;
}

void TestVolumeControls::startingDisplay()
{
    QFETCH(int, master);
    QFETCH(int, wave);
    QFETCH(int, mic);
    QFETCH(int, masterAfter);
    QFETCH(int, waveBars);
    QFETCH(int, micBars);
    Fixture f(master, wave, mic);
    f.start();
    QCOMPARE(f.device.line(Source::Speakers).value, masterAfter);
    QCOMPARE(f.volume.MasterLevel, master);
    QCOMPARE(f.volume.WaveLevel, wave);
    QCOMPARE(f.volume.MicLevel, mic);
    QCOMPARE(LitBars(f.c.Imvol), waveBars);
    QCOMPARE(LitBars(f.c.Immic), micBars);
    QVERIFY(!f.c.VolTimer->isActive());
    QVERIFY(f.messages.boxes.isEmpty());
}

void TestVolumeControls::stepButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("bars");
    QTest::newRow("volup at 97") << "volup" << 97 << 100 << 10;
    QTest::newRow("volup at 95") << "volup" << 95 << 100 << 10;
    QTest::newRow("volup at 40") << "volup" << 40 << 45 << 4;
    QTest::newRow("voldown at 3") << "voldown" << 3 << 0 << 0;
    QTest::newRow("voldown at 60") << "voldown" << 60 << 55 << 6;
    QTest::newRow("micup at 100") << "micup" << 100 << 100 << 10;
    QTest::newRow("micdown at 3") << "micdown" << 3 << 0 << 0;
    QTest::newRow("micdown at 5") << "micdown" << 5 << 0 << 0;
}

void TestVolumeControls::stepButtons()
{
    QFETCH(QString, button);
    QFETCH(int, start);
    QFETCH(int, level);
    QFETCH(int, bars);
    Fixture f(50, start, start);
    f.start();
    const bool mic = button.startsWith("mic");
    f.main.findChild<ActiveLink *>(button)->press();
    QCOMPARE(mic ? f.volume.MicLevel : f.volume.WaveLevel, level);
    QCOMPARE(f.device.line(mic ? Source::Microphone : Source::WaveOut).value, level);
    QCOMPARE(LitBars(f.bars(mic)), bars);
    // The other line is untouched.
    QCOMPARE(f.device.line(mic ? Source::WaveOut : Source::Microphone).value, start);
}

void TestVolumeControls::barClickMovesOnePercentATick_data()
{
    QTest::addColumn<bool>("mic");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("ticks");
    QTest::newRow("wave 70 down to bar 3") << false << 70 << 3 << 40;
    QTest::newRow("microphone 20 up to bar 5") << true << 20 << 5 << 30;
    QTest::newRow("wave 0 up to bar 10") << false << 0 << 10 << 100;
    // One step up and straight back to the target.
    QTest::newRow("microphone at the clicked bar") << true << 40 << 4 << 1;
}

void TestVolumeControls::barClickMovesOnePercentATick()
{
    QFETCH(bool, mic);
    QFETCH(int, start);
    QFETCH(int, bar);
    QFETCH(int, ticks);
    Fixture f(50, start, start);
    f.start();
    const Source line = mic ? Source::Microphone : Source::WaveOut;
    f.bars(mic)[bar]->press();
    QVERIFY(f.c.VolTimer->isActive());
    QCOMPARE(f.c.VolTimer->interval(), 100);
    const int target = bar * 10;
    const int direction = target < start ? -1 : 1;
    int n = 0;
    while (f.c.VolTimer->isActive() && n < 200) {
        f.volume.VolTimerTick();
        ++n;
        const int expected = f.c.VolTimer->isActive() ? start + direction * n : target;
        QCOMPARE(f.device.line(line).value, expected);
        QCOMPARE(LitBars(f.bars(mic)), Expected(expected));
        QCOMPARE(mic ? f.volume.MicLevel : f.volume.WaveLevel, expected);
    }
    QCOMPARE(n, ticks);
    QCOMPARE(f.device.line(line).value, target);
    QCOMPARE(f.device.line(mic ? Source::WaveOut : Source::Microphone).value, start);
}

void TestVolumeControls::timerRunsOnlyWhileALevelMoves()
{
    Fixture f(50, 50, 50);
    f.start();
    f.c.Imvol[6]->press();
    QTRY_COMPARE_WITH_TIMEOUT(f.device.line(Source::WaveOut).value, 60, 5000);
    QTRY_VERIFY(!f.c.VolTimer->isActive());
    // A new click retargets from the level reached so far.
    f.c.Imvol[8]->press();
    QTest::qWait(350);
    f.c.Imvol[5]->press();
    const int reached = f.volume.WaveLevel;
    QVERIFY2(reached > 60 && reached < 80, qPrintable(QString::number(reached)));
    QCOMPARE(f.volume.SliderCurrent, reached);
    QTRY_COMPARE_WITH_TIMEOUT(f.device.line(Source::WaveOut).value, 50, 5000);
    QTRY_VERIFY(!f.c.VolTimer->isActive());
}

void TestVolumeControls::muteToggles_data()
{
    QTest::addColumn<bool>("mic");
    QTest::addColumn<bool>("switchable");
    QTest::addColumn<bool>("mutedBefore");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QString>("hover");
    QTest::addColumn<QString>("name");
    // A toggle keeps its name; its pressed state tells whether the line is muted.
    QTest::newRow("wave unmutes") << false << true << true << "WaveVol.jpg"
                                  << "WaveVolOver.jpg"
                                  << "كتم الصوت";
    QTest::newRow("wave mutes") << false << true << false << "WaveMute.jpg"
                                << "WaveMuteOver.jpg"
                                << "كتم الصوت";
    QTest::newRow("microphone unmutes") << true << true << true << "MicVol.jpg"
                                        << "MicVolOver.jpg"
                                        << "كتم الميكروفون";
    QTest::newRow("microphone mutes") << true << true << false << "MicMute.jpg"
                                      << "MicMuteOver.jpg"
                                      << "كتم الميكروفون";
    // A line with a volume but no switch: the press changes nothing, and the
    // toggle must not show a mute the line does not have.
    QTest::newRow("wave without a switch") << false << false << false << "WaveVol.jpg"
                                           << "WaveVolOver.jpg"
                                           << "كتم الصوت";
    QTest::newRow("microphone without a switch") << true << false << false << "MicVol.jpg"
                                                 << "MicVolOver.jpg"
                                                 << "كتم الميكروفون";
}

void TestVolumeControls::muteToggles()
{
    QFETCH(bool, mic);
    QFETCH(bool, switchable);
    QFETCH(bool, mutedBefore);
    QFETCH(QString, rest);
    QFETCH(QString, hover);
    QFETCH(QString, name);
    Fixture f;
    const Source line = mic ? Source::Microphone : Source::WaveOut;
    f.device.line(line).muted = mutedBefore;
    f.device.line(line).hasMute = switchable;
    f.start();
    ActiveLink *icon = mic ? f.c.MicIcon : f.c.WaveIcon;
    const QString stem = mic ? "Mic" : "Wave";
    QCOMPARE(SkinFileOf(icon->picture()), stem + (mutedBefore ? "Mute.jpg" : "Vol.jpg"));
    icon->press();
    const bool mutedAfter = switchable ? !mutedBefore : mutedBefore;
    QCOMPARE(f.device.line(line).muted, mutedAfter);
    QCOMPARE(SkinFileOf(icon->picture()), rest);
    QCOMPARE(SkinFileOf(icon->activepicture()), hover);
    QCOMPARE(icon->accessibleName(), name);
    QAccessibleInterface *toggle = QAccessible::queryAccessibleInterface(icon);
    QVERIFY(toggle->state().checkable);
    QCOMPARE(bool(toggle->state().checked), mutedAfter);
    QCOMPARE(bool(toggle->state().pressed), mutedAfter);
    // The other toggle and the master keep their state.
    QCOMPARE(f.device.line(mic ? Source::WaveOut : Source::Microphone).muted, false);
    QCOMPARE(f.device.line(Source::Speakers).muted, false);
}

void TestVolumeControls::screenReaderSetsALevelBySlider_data()
{
    QTest::addColumn<bool>("mic");
    QTest::addColumn<QVariant>("wanted");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("bars");
    QTest::newRow("wave to 37") << false << QVariant(37) << 37 << 4;
    QTest::newRow("microphone to 0") << true << QVariant(0) << 0 << 0;
    QTest::newRow("a fraction rounds") << false << QVariant(72.6) << 73 << 7;
    QTest::newRow("above the top is the top") << true << QVariant(150) << 100 << 10;
    QTest::newRow("below zero is zero") << false << QVariant(-20) << 0 << 0;
    QTest::newRow("not a number is ignored") << false << QVariant(QStringLiteral("loud")) << 50 << 5;
}

void TestVolumeControls::screenReaderSetsALevelBySlider()
{
    QFETCH(bool, mic);
    QFETCH(QVariant, wanted);
    QFETCH(int, level);
    QFETCH(int, bars);
    Fixture f(50, 50, 50);
    f.start();
    LevelSlider *slider = mic ? f.c.MicSlider : f.c.WaveSlider;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(slider);
    QCOMPARE(iface->role(), QAccessible::Slider);
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toInt(), 0);
    QCOMPARE(value->maximumValue().toInt(), 100);
    QCOMPARE(value->currentValue().toInt(), 50);
    value->setCurrentValue(wanted);
    QCOMPARE(f.device.line(mic ? Source::Microphone : Source::WaveOut).value, level);
    QCOMPARE(mic ? f.volume.MicLevel : f.volume.WaveLevel, level);
    QCOMPARE(LitBars(f.bars(mic)), bars);
    QCOMPARE(value->currentValue().toInt(), level);
    QCOMPARE(f.device.line(mic ? Source::WaveOut : Source::Microphone).value, 50);
}

void TestVolumeControls::sliderFollowsTheBars()
{
    Fixture f(50, 30, 30);
    f.start();
    QAccessibleValueInterface *wave = QAccessible::queryAccessibleInterface(f.c.WaveSlider)->valueInterface();
    QAccessibleValueInterface *mic = QAccessible::queryAccessibleInterface(f.c.MicSlider)->valueInterface();
    f.c.volup->press();
    QCOMPARE(wave->currentValue().toInt(), 35);
    f.device.changeOutside(Source::Microphone, 80, false);
    QCOMPARE(mic->currentValue().toInt(), 80);
    // A level set by the slider ends a move towards a clicked bar on its line.
    f.c.Imvol[9]->press();
    f.volume.VolTimerTick();
    wave->setCurrentValue(10);
    QVERIFY(!f.c.VolTimer->isActive());
    QCOMPARE(f.device.line(Source::WaveOut).value, 10);
}

void TestVolumeControls::barsFollowChangesMadeOutside()
{
    Fixture f(50, 30, 30);
    f.start();
    f.device.changeOutside(Source::Microphone, 80, true);
    QCOMPARE(LitBars(f.c.Immic), 8);
    QCOMPARE(f.volume.MicLevel, 80);
    QCOMPARE(SkinFileOf(f.c.MicIcon->picture()), QString("MicMute.jpg"));
    // The steps go on from the level set outside.
    f.c.micup->press();
    QCOMPARE(f.device.line(Source::Microphone).value, 85);

    // A level on its way to a clicked bar keeps going; the other line follows.
    f.c.Imvol[6]->press();
    f.volume.VolTimerTick();
    f.device.line(Source::Microphone).value = 10;
    f.device.changeOutside(Source::WaveOut, 90, false);
    QCOMPARE(f.volume.SliderCurrent, 31);
    QCOMPARE(LitBars(f.c.Immic), 1);
    f.volume.VolTimerTick();
    QCOMPARE(f.device.line(Source::WaveOut).value, 32);
    QCOMPARE(LitBars(f.c.Imvol), 3);
}

void TestVolumeControls::withoutAMixerTheControlsAreInert()
{
    Fixture f(50, 50, 50, false);
    f.start();
    QCOMPARE(f.messages.boxes, QStringList { "No mixer found!" });
    QCOMPARE(LitBars(f.c.Imvol), 0);
    QCOMPARE(LitBars(f.c.Immic), 0);
    f.c.Imvol[7]->press();
    f.c.volup->press();
    f.c.MicIcon->press();
    QAccessible::queryAccessibleInterface(f.c.WaveSlider)->valueInterface()->setCurrentValue(90);
    QVERIFY(!f.c.VolTimer->isActive());
    QCOMPARE(f.volume.WaveLevel, 0);
    QCOMPARE(LitBars(f.c.Imvol), 0);
    // The pictures are still there; the window looks whole.
    QCOMPARE(SkinFileOf(f.c.WaveIcon->picture()), QString("WaveVol.jpg"));
    QCOMPARE(f.messages.boxes.size(), 1);
}

// The sound server went away and came back (or was not up at start): the rows
// must take clicks again and show the levels the mixer has on its return.
void TestVolumeControls::mixerLostAndBack_data()
{
    QTest::addColumn<bool>("openAtStart");
    QTest::addColumn<int>("wave");
    QTest::addColumn<int>("mic");
    QTest::addColumn<bool>("micMuted");
    QTest::newRow("lost while running") << true << 70 << 35 << true;
    QTest::newRow("not up at start") << false << 40 << 90 << false;
    QTest::newRow("back at silence") << true << 0 << 0 << false;
}

void TestVolumeControls::mixerLostAndBack()
{
    QFETCH(bool, openAtStart);
    QFETCH(int, wave);
    QFETCH(int, mic);
    QFETCH(bool, micMuted);
    Fixture f(50, 20, 60, openAtStart);
    f.start();
    if (openAtStart) {
        QCOMPARE(LitBars(f.c.Imvol), 2);
        f.device.open = false;
        emit f.device.Changed();
    }
    QVERIFY(!f.c.Imvol[5]->isEnabled());
    QVERIFY(!f.c.MicIcon->isEnabled());

    f.device.line(Source::WaveOut).value = wave;
    f.device.line(Source::Microphone).value = mic;
    f.device.line(Source::Microphone).muted = micMuted;
    f.device.open = true;
    emit f.device.Changed();
    for (ActiveLink *b : { f.c.Imvol[1], f.c.Immic[10], f.c.volup, f.c.micdown, f.c.WaveIcon, f.c.MicIcon })
        QVERIFY2(b->isEnabled(), qPrintable(b->accessibleName()));
    QVERIFY(f.c.WaveSlider->isEnabled());
    QCOMPARE(f.volume.WaveLevel, wave);
    QCOMPARE(f.volume.MicLevel, mic);
    QCOMPARE(LitBars(f.c.Imvol), Expected(wave));
    QCOMPARE(LitBars(f.c.Immic), Expected(mic));
    QCOMPARE(SkinFileOf(f.c.MicIcon->picture()), QString(micMuted ? "MicMute.jpg" : "MicVol.jpg"));
    // The steps go on from the level the mixer came back with.
    f.c.volup->press();
    QCOMPARE(f.device.line(Source::WaveOut).value, wave + 5);
    QCOMPARE(f.messages.boxes.size(), 1);
}

void TestVolumeControls::everyControlHasAnArabicNameAndAPressAction()
{
    Fixture f;
    f.start();
    QList<ActiveLink *> controls { f.c.volup, f.c.voldown, f.c.micup, f.c.micdown, f.c.WaveIcon, f.c.MicIcon };
    for (int k = 1; k <= MixerControls::Bars; ++k)
        controls << f.c.Imvol[k] << f.c.Immic[k];
    QSet<QString> names;
    for (ActiveLink *control : controls) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        QVERIFY(iface);
        const QString name = iface->text(QAccessible::Name);
        QVERIFY2(name.contains(QRegularExpression("[\\x{0600}-\\x{06FF}]")), qPrintable(control->objectName()));
        names << name;
        QVERIFY(iface->actionInterface());
        QSignalSpy clicked(control, &ActiveLink::Click);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(clicked.size(), 1);
    }
    QCOMPARE(names.size(), controls.size());
    // The toggles tell the level the bars show.
    f.c.volup->press();
    QCOMPARE(QAccessible::queryAccessibleInterface(f.c.WaveIcon)->text(QAccessible::Description),
        QStringLiteral("مستوى الصوت ٥٥٪"));
    QCOMPARE(f.c.Imvol[3]->accessibleName(), QStringLiteral("مستوى الصوت ٣٠٪"));
}

QTEST_MAIN(TestVolumeControls)
#include "test_volumecontrols.moc"
