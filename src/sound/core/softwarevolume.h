// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// The program's own output volume: a line of 0..100 with its own mute, for sound
// cards (and sound servers) whose mixer has no control for the program's sound.
// Every player of the program follows it.
class SoftwareVolume final : public QObject
{
    Q_OBJECT
public:
    static constexpr int Maximum = 100;

    explicit SoftwareVolume(QObject *parent = nullptr);

    int volume() const { return m_volume; }
    // Clamped into 0..Maximum.
    void setVolume(int volume);
    bool muted() const { return m_muted; }
    void setMuted(bool muted);

    // The gain a player applies: the line's level heard as a fader is heard,
    // not as a linear amplitude, and 0 while muted.
    float gain() const;

signals:
    void changed();

private:
    int m_volume = Maximum;
    bool m_muted = false;
};
