// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QString>
#include <array>

class ActiveLink;
class QLabel;
class QTimer;
class QWidget;
struct Settings;

// The examples bar's buttons and the panel body's recorder strip, meter, text and
// picture. Made once inside the bar (FrameBar) and the body (Samples) that the
// pane layout owns, when the window first needs them; the practice classes
// only move, show and hide them.
// Arrays are indexed from 1, as examples and meter segments are counted.
struct PracticeControls
{
    static constexpr int ExampleButtons = 13;
    static constexpr int MeterSegments = 8;
    // The meter and the recorder's limit are read on this tick; a meter buffer is 100 ms.
    static constexpr int MeterInterval = 50;

    QWidget *FrameBar = nullptr;
    QWidget *Samples = nullptr;

    std::array<ActiveLink *, ExampleButtons + 1> SampleN {};
    ActiveLink *ImSamplesUp = nullptr;
    ActiveLink *ImSamplesDown = nullptr;
    QLabel *SampleTitle = nullptr;
    // On the title line's left end: the reciter's speed and "repeat after me".
    ActiveLink *Aspeed = nullptr;
    ActiveLink *Arepeat = nullptr;
    // On its right end: the list of the learner's takes of the example.
    ActiveLink *Atakes = nullptr;

    QWidget *SoundTools = nullptr;
    QLabel *RecBack = nullptr;
    ActiveLink *Arec = nullptr;
    ActiveLink *Astop = nullptr;
    ActiveLink *Aplay = nullptr;
    ActiveLink *Apause = nullptr;
    ActiveLink *Alisten = nullptr;
    std::array<QLabel *, MeterSegments + 1> vm {};

    QLabel *AyaText = nullptr;
    QLabel *AyaSample = nullptr;
    QTimer *TimerMeter = nullptr;
};

PracticeControls CreatePracticeControls(QWidget *FrameBar, QWidget *Samples);

// Gives the controls their skin pictures and places them from the pictures'
// sizes. samplesBar is the examples bar picture's place inside FrameBar; Samples
// must already have its width. Leaves FrameBar's height at the closed bar's
// (the title line's top); the pane layout places the bar itself.
void LoadPracticeSkin(
    PracticeControls &c, const QString &imagesPath, const Settings &settings, const QRect &samplesBar);

// Where the title line under the examples bar begins inside FrameBar: the
// closed bar's height, which the pane layout needs before the controls exist.
int TitleLineTop(const QRect &samplesBar);

// A label one line of its font high.
void FitLabelHeight(QLabel *label);

// "المثال ٣": example buttons are named for screen readers with Arabic-Indic digits.
QString ExampleButtonName(int n);
// "المثال ٣ من ٧": which example a button is, and how many the page has.
QString ExampleCountDescription(int n, int count);
