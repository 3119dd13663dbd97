// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "mixer/mixercontrols.h"

#include <QObject>
#include <QPixmap>
#include <QRectF>
#include <QString>

class MixerDevice;
class MVolume;

// The wave and microphone volume bars, their step buttons and mute toggles.
// A click on a bar sets a target that `VolTimer` moves the level to, one percent
// a tick; the step buttons and the toggles act at once. The bars also follow
// changes that another mixer program makes.
//
// Bar places are worked out in double (each bar is 2.5 pixels shorter than the
// one left of it) and rounded edge by edge when a bar is placed, so that the
// bottoms stay level and neighbours neither overlap nor leave a gap.
class VolumeControls final : public QObject
{
    Q_OBJECT
public:
    static constexpr int StepPercent = 5;
    static constexpr int TickInterval = 100;
    static constexpr double BarStep = 2.5;

    // device, when given, tells of changes made outside the program.
    VolumeControls(const MixerControls &controls, MVolume &volume, MixerDevice *device, QObject *parent = nullptr);

    // The skin's part for the sound controls: icons, bar pictures, rows of bars
    // and step buttons. backColor is the menu's background colour (0x00BBGGRR).
    void LoadSkin(const QString &imagesPath, qint32 backColor);
    // The mixer's levels and mutes in the bars and icons; a silent master is
    // raised. The first question to the mixer.
    void InitVolumeDisplay();

    void ShowWaveVolume(int n);
    void ShowMicVolume(int n);

    // Event handlers; a screen reader's press does the same.
    void ImvolClick(int k);
    void ImmicClick(int k);
    void volupClick();
    void voldownClick();
    void micupClick();
    void micdownClick();
    void WaveIconClick();
    void MicIconClick();
    void VolTimerTick();

    // Where a bar was placed, before rounding (row: the wave or the microphone row).
    QRectF BarPlace(bool microphone, int k) const;

    qint32 WaveLevel = 0;
    qint32 MicLevel = 0;
    qint32 MasterLevel = 0;
    QString SliderWhich;
    qint32 SliderCurrent = 0;
    qint32 SliderTarget = 0;

private:
    void LoadIcon(ActiveLink *icon, const QString &stem);
    void ShowMuteState(ActiveLink *icon, const QString &stem, bool muted);
    void ToggleMute(ActiveLink *icon, const QString &word, const QString &stem);
    void PlaceRow(bool microphone);
    void BarClick(const QString &which, int k);
    void Step(const QString &word, qint32 &level, int delta);
    // A screen reader set the line's slider.
    void SetLevel(const QString &word, qint32 percent);
    void ShowLevel(const QString &word, qint32 level);
    void ShowBars(std::array<ActiveLink *, MixerControls::Bars + 1> &bars, int n);
    void WriteLevel(const QString &word, qint32 percent);
    void MixerChanged();
    void UpdateEnabled();
    QPixmap Picture(const QString &name) const;

    MixerControls m_c;
    MVolume &m_volume;
    MixerDevice *m_device = nullptr;
    QString m_imagesPath;
    std::array<QRectF, MixerControls::Bars + 1> m_wavePlaces {};
    std::array<QRectF, MixerControls::Bars + 1> m_micPlaces {};
    // What the mixer read after this program's own last change, so that a
    // change signalled later is told apart from one made by another program.
    qint32 m_waveSeen = -1;
    qint32 m_micSeen = -1;
    bool m_waveMuted = false;
    bool m_micMuted = false;
    bool m_writing = false;
};
