// SPDX-License-Identifier: GPL-3.0-or-later

#include "volumecontrols.h"

#include "base/colors.h"
#include "base/geometry.h"
#include "base/numbers.h"
#include "mixer/mvolume.h"
#include "skin/skinfiles.h"
#include "sound/api/mixerdevice.h"
#include "widgets/activelink.h"
#include "widgets/levelslider.h"

#include <QLabel>
#include <QTimer>

namespace {

const QString VolP = QStringLiteral("VolP");
const QString VolM = QStringLiteral("VolM");
const QString Wave = QStringLiteral("Wave");
const QString Mic = QStringLiteral("Mic");

// Lit bars for a level in percent: 45 % lights 4 bars, 55 % lights 6.
int BarsFor(qint32 percent)
{
    return int(RoundHalfEven(double(MixerControls::Bars) * percent / 100.0));
}

} // namespace

VolumeControls::VolumeControls(const MixerControls &controls, MVolume &volume, MixerDevice *device, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_volume(volume)
    , m_device(device)
{
    for (int k = 1; k <= MixerControls::Bars; ++k) {
        connect(m_c.Imvol[k], &ActiveLink::Click, this, [this, k] { ImvolClick(k); });
        connect(m_c.Immic[k], &ActiveLink::Click, this, [this, k] { ImmicClick(k); });
    }
    connect(m_c.volup, &ActiveLink::Click, this, &VolumeControls::volupClick);
    connect(m_c.voldown, &ActiveLink::Click, this, &VolumeControls::voldownClick);
    connect(m_c.micup, &ActiveLink::Click, this, &VolumeControls::micupClick);
    connect(m_c.micdown, &ActiveLink::Click, this, &VolumeControls::micdownClick);
    connect(m_c.WaveIcon, &ActiveLink::Click, this, &VolumeControls::WaveIconClick);
    connect(m_c.MicIcon, &ActiveLink::Click, this, &VolumeControls::MicIconClick);
    connect(m_c.VolTimer, &QTimer::timeout, this, &VolumeControls::VolTimerTick);
    connect(m_c.WaveSlider, &LevelSlider::ValueRequested, this, [this](int percent) { SetLevel(Wave, percent); });
    connect(m_c.MicSlider, &LevelSlider::ValueRequested, this, [this](int percent) { SetLevel(Mic, percent); });
    for (ActiveLink *icon : { m_c.WaveIcon, m_c.MicIcon })
        icon->setAccessibleFlag(ActiveLink::Checkable, true);
    if (m_device)
        connect(m_device, &MixerDevice::Changed, this, &VolumeControls::MixerChanged);
}

QPixmap VolumeControls::Picture(const QString &name) const
{
    return LoadSkinPicture(m_imagesPath, name);
}

void VolumeControls::LoadSkin(const QString &imagesPath, qint32 backColor)
{
    m_imagesPath = imagesPath;
    const QColor back = ColorFromBgr(backColor);

    m_c.WaveIcon->setBackcolor(back);
    LoadIcon(m_c.WaveIcon, Wave);
    m_c.MicIcon->setBackcolor(back);
    m_c.MicIcon->move(m_c.MicIcon->x(), m_c.WaveIcon->y());
    LoadIcon(m_c.MicIcon, Mic);

    m_c.voltmp->setPixmap(Picture(QStringLiteral("volume.jpg")));
    m_c.avoltmp->setPixmap(Picture(QStringLiteral("volumeActive.jpg")));

    PlaceRow(false);
    PlaceRow(true);
}

// The icon takes the size of its hover picture; a missing picture leaves the
// size it had. It shows the line open until InitVolumeDisplay has asked the
// mixer, which the skin step does not wait for.
void VolumeControls::LoadIcon(ActiveLink *icon, const QString &stem)
{
    ShowMuteState(icon, stem, false);
    if (!icon->activepicture().isNull())
        icon->resize(icon->activepicture().size());
    icon->setAlwayshandcursor(true);
}

void VolumeControls::ShowMuteState(ActiveLink *icon, const QString &stem, bool muted)
{
    icon->setPicture(Picture(stem + (muted ? QStringLiteral("Mute.jpg") : QStringLiteral("Vol.jpg"))));
    icon->setActivepicture(Picture(stem + (muted ? QStringLiteral("MuteOver.jpg") : QStringLiteral("VolOver.jpg"))));
    // A toggle: the name stays "mute", its pressed state says whether it is on.
    const bool wave = icon == m_c.WaveIcon;
    icon->setAccessibleFlag(ActiveLink::Checked, muted);
    (wave ? m_waveMuted : m_micMuted) = muted;
}

// The row ends at the icon's left edge: bar 10 (leftmost) is the tallest, each
// bar to its right 2.5 pixels shorter and 2.5 lower, so all bottoms are level.
void VolumeControls::PlaceRow(bool microphone)
{
    auto &bars = microphone ? m_c.Immic : m_c.Imvol;
    auto &places = microphone ? m_micPlaces : m_wavePlaces;
    ActiveLink *icon = microphone ? m_c.MicIcon : m_c.WaveIcon;
    ActiveLink *up = microphone ? m_c.micup : m_c.volup;
    ActiveLink *down = microphone ? m_c.micdown : m_c.voldown;
    const QPixmap unlit = m_c.voltmp->pixmap();
    const QCursor hand = SkinHandCursor(m_imagesPath);
    constexpr int n = MixerControls::Bars;

    const QSizeF barSize = unlit.isNull() ? QSizeF(bars[n]->size()) : QSizeF(unlit.size());
    places[n] = QRectF(icon->x() - n * barSize.width(), icon->y(), barSize.width(), barSize.height());
    for (int i = n - 1; i >= 1; --i) {
        const QRectF &next = places[i + 1];
        places[i] = QRectF(next.left() + next.width(), next.top() + BarStep, barSize.width(), next.height() - BarStep);
    }
    for (int i = n; i >= 1; --i) {
        ActiveLink *bar = bars[i];
        bar->setPicture(unlit);
        bar->setHandCursor(hand);
        bar->setAlwayshandcursor(true);
        bar->setGeometry(RoundedRect(places[i]));
    }
    LevelSlider *slider = microphone ? m_c.MicSlider : m_c.WaveSlider;
    slider->setGeometry(RoundedRect(places[n].united(places[1])));
    slider->lower();

    up->setPicture(Picture(QStringLiteral("volumeup.jpg")));
    up->setActivepicture(Picture(QStringLiteral("volumeupactive.jpg")));
    down->setPicture(Picture(QStringLiteral("volumedown.jpg")));
    down->setActivepicture(Picture(QStringLiteral("volumedownactive.jpg")));
    for (ActiveLink *b : { up, down }) {
        if (!b->picture().isNull())
            b->resize(b->picture().size());
        b->setAlwayshandcursor(true);
    }
    const double upLeft = places[n].left() - up->width() - 2;
    const double upTop = places[n].top() + BarStep;
    const double downTop = upTop + places[n].height() - down->height() - BarStep;
    up->setGeometry(RoundedRect(QRectF(upLeft, upTop, up->width(), up->height())));
    down->setGeometry(RoundedRect(QRectF(upLeft, downTop, down->width(), down->height())));
}

QRectF VolumeControls::BarPlace(bool microphone, int k) const
{
    return (microphone ? m_micPlaces : m_wavePlaces).at(size_t(k));
}

void VolumeControls::InitVolumeDisplay()
{
    ShowMuteState(m_c.WaveIcon, Wave, m_volume.GetMute(Wave));
    ShowMuteState(m_c.MicIcon, Mic, m_volume.GetMute(Mic));

    MasterLevel = m_volume.GetVolume(QStringLiteral("Master"));
    if (MasterLevel == 0)
        m_volume.SetVolume(QStringLiteral("master"), 20);

    WaveLevel = m_volume.GetVolume(Wave);
    MicLevel = m_volume.GetVolume(Mic);
    m_waveSeen = WaveLevel;
    m_micSeen = MicLevel;
    ShowLevel(Wave, WaveLevel);
    ShowLevel(Mic, MicLevel);
    UpdateEnabled();
}

void VolumeControls::ShowBars(std::array<ActiveLink *, MixerControls::Bars + 1> &bars, int n)
{
    const QPixmap lit = m_c.avoltmp->pixmap();
    const QPixmap unlit = m_c.voltmp->pixmap();
    for (int i = 1; i <= MixerControls::Bars; ++i)
        bars[i]->setPicture(i <= n ? lit : unlit);
}

void VolumeControls::ShowWaveVolume(int n)
{
    ShowBars(m_c.Imvol, n);
}

void VolumeControls::ShowMicVolume(int n)
{
    ShowBars(m_c.Immic, n);
}

// A screen reader cannot see which bars are lit, so the line's toggle also
// tells the level in words.
void VolumeControls::ShowLevel(const QString &word, qint32 level)
{
    const QString percent = ArabicPercent(level);
    if (word == Wave) {
        ShowWaveVolume(BarsFor(level));
        m_c.WaveSlider->showValue(level);
        m_c.WaveIcon->setAccessibleDescription(QStringLiteral("مستوى الصوت ") + percent);
    } else {
        ShowMicVolume(BarsFor(level));
        m_c.MicSlider->showValue(level);
        m_c.MicIcon->setAccessibleDescription(QStringLiteral("مستوى الميكروفون ") + percent);
    }
}

void VolumeControls::WriteLevel(const QString &word, qint32 percent)
{
    m_writing = true;
    m_volume.SetVolume(word, percent);
    (word == Wave ? m_waveSeen : m_micSeen) = m_volume.GetVolume(word);
    m_writing = false;
}

void VolumeControls::Step(const QString &word, qint32 &level, int delta)
{
    if (delta > 0)
        level = level > 100 - StepPercent ? 100 : level + StepPercent;
    else
        level = level < StepPercent ? 0 : level - StepPercent;
    WriteLevel(word, level);
    ShowLevel(word, level);
}

void VolumeControls::SetLevel(const QString &word, qint32 percent)
{
    // A level set by hand ends a move towards a clicked bar on the same line.
    if (m_c.VolTimer->isActive() && SliderWhich == (word == Wave ? VolP : VolM))
        m_c.VolTimer->stop();
    qint32 &level = word == Wave ? WaveLevel : MicLevel;
    level = qBound(0, percent, 100);
    WriteLevel(word, level);
    ShowLevel(word, level);
}

void VolumeControls::volupClick()
{
    Step(Wave, WaveLevel, +1);
}

void VolumeControls::voldownClick()
{
    Step(Wave, WaveLevel, -1);
}

void VolumeControls::micupClick()
{
    Step(Mic, MicLevel, +1);
}

void VolumeControls::micdownClick()
{
    Step(Mic, MicLevel, -1);
}

void VolumeControls::BarClick(const QString &which, int k)
{
    SliderWhich = which;
    m_c.VolTimer->stop();
    const qint32 target = qint32(RoundHalfEven(k * 100.0 / MixerControls::Bars));
    SliderCurrent = which == VolP ? WaveLevel : MicLevel;
    m_c.VolTimer->start(TickInterval);
    SliderTarget = target;
}

void VolumeControls::ImvolClick(int k)
{
    BarClick(VolP, k);
}

void VolumeControls::ImmicClick(int k)
{
    BarClick(VolM, k);
}

void VolumeControls::VolTimerTick()
{
    if (SliderWhich != VolP && SliderWhich != VolM) {
        m_c.VolTimer->stop();
        return;
    }
    const QString &word = SliderWhich == VolP ? Wave : Mic;
    bool arrived = false;
    if (SliderTarget < SliderCurrent) {
        SliderCurrent -= 1;
        arrived = SliderTarget >= SliderCurrent;
    } else {
        SliderCurrent += 1;
        arrived = SliderCurrent >= SliderTarget;
    }
    WriteLevel(word, SliderCurrent);
    ShowLevel(word, SliderCurrent);
    if (arrived) {
        m_c.VolTimer->stop();
        WriteLevel(word, SliderTarget);
        ShowLevel(word, SliderTarget);
    }
    // Arrived, the level is the target: after the step up from a click on the
    // present level, SliderCurrent stands one above what the mixer was given.
    (SliderWhich == VolP ? WaveLevel : MicLevel) = arrived ? SliderTarget : SliderCurrent;
}

void VolumeControls::ToggleMute(ActiveLink *icon, const QString &word, const QString &stem)
{
    const bool muted = m_volume.GetMute(word);
    m_writing = true;
    m_volume.SetMute(word, !muted);
    m_writing = false;
    // What the mixer holds now, not what was asked: a line without a switch
    // stays as it was, and so does its picture.
    ShowMuteState(icon, stem, m_volume.GetMute(word));
}

void VolumeControls::WaveIconClick()
{
    ToggleMute(m_c.WaveIcon, Wave, Wave);
}

void VolumeControls::MicIconClick()
{
    ToggleMute(m_c.MicIcon, Mic, Mic);
}

// Another program moved a level or a mute. A line whose bars are moving
// towards a target keeps moving; the rest show what the mixer has now.
void VolumeControls::MixerChanged()
{
    if (m_writing)
        return;
    UpdateEnabled();
    const bool moving = m_c.VolTimer->isActive();
    if (!(moving && SliderWhich == VolP)) {
        const qint32 now = m_volume.GetVolume(Wave);
        if (now != m_waveSeen) {
            m_waveSeen = now;
            WaveLevel = now;
            ShowLevel(Wave, now);
        }
    }
    if (!(moving && SliderWhich == VolM)) {
        const qint32 now = m_volume.GetVolume(Mic);
        if (now != m_micSeen) {
            m_micSeen = now;
            MicLevel = now;
            ShowLevel(Mic, now);
        }
    }
    const bool waveMuted = m_volume.GetMute(Wave);
    if (waveMuted != m_waveMuted)
        ShowMuteState(m_c.WaveIcon, Wave, waveMuted);
    const bool micMuted = m_volume.GetMute(Mic);
    if (micMuted != m_micMuted)
        ShowMuteState(m_c.MicIcon, Mic, micMuted);
}

// Without a mixer nothing the controls do would reach the sound, so they take
// no clicks rather than move bars that mean nothing.
void VolumeControls::UpdateEnabled()
{
    const bool on = m_volume.MixerFound();
    for (int k = 1; k <= MixerControls::Bars; ++k) {
        m_c.Imvol[k]->setEnabled(on);
        m_c.Immic[k]->setEnabled(on);
    }
    for (ActiveLink *b : { m_c.volup, m_c.voldown, m_c.micup, m_c.micdown, m_c.WaveIcon, m_c.MicIcon })
        b->setEnabled(on);
    m_c.WaveSlider->setEnabled(on);
    m_c.MicSlider->setEnabled(on);
    if (!on)
        m_c.VolTimer->stop();
}
