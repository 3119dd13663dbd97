// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

// A volume level as a screen reader's slider: the row of bars it lies under
// shows the level to the eye, this tells it in percent and takes a new one. It
// draws nothing and lets the mouse through to the bars.
class LevelSlider final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Minimum = 0;
    static constexpr int Maximum = 100;
    static constexpr int Step = 5;

    explicit LevelSlider(QWidget *parent = nullptr);

    int value() const { return m_value; }
    // What the mixer has now; tells the screen reader when it changed.
    void showValue(int percent);

signals:
    // The screen reader set a level, already within 0 to 100.
    void ValueRequested(int percent);

private:
    int m_value = 0;
};
