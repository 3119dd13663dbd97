// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

class ActiveLink;
class LevelSlider;
class QLabel;
class QTimer;
class QWidget;

// The window's sound controls: for the program's sound and for the microphone
// each a row of ten volume bars, a step up and a step down button and a mute
// toggle; the two hidden pictures a bar is given to look unlit or lit; and the
// timer that moves a level towards a clicked bar. Made once with the window.
// Bars are indexed from 1: bar 1 stands next to its icon.
struct MixerControls
{
    static constexpr int Bars = 10;

    std::array<ActiveLink *, Bars + 1> Imvol {};
    std::array<ActiveLink *, Bars + 1> Immic {};
    ActiveLink *volup = nullptr;
    ActiveLink *voldown = nullptr;
    ActiveLink *micup = nullptr;
    ActiveLink *micdown = nullptr;
    ActiveLink *WaveIcon = nullptr;
    ActiveLink *MicIcon = nullptr;
    // Each row's level as one slider, for a screen reader.
    LevelSlider *WaveSlider = nullptr;
    LevelSlider *MicSlider = nullptr;
    QLabel *voltmp = nullptr;
    QLabel *avoltmp = nullptr;
    QTimer *VolTimer = nullptr;
};

// Creates the controls as children of the main window, at their design places.
MixerControls CreateMixerControls(QWidget *main);
