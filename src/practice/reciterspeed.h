// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <array>

class ActiveLink;

// The reciter's speed: full, or slowed with the pitch kept, for a learner who
// cannot yet follow the reciter. A press steps to the next speed (after the
// slowest comes full speed again); the arrow keys and the wheel step too. The
// choice holds for the rest of the run and is written nowhere.
class ReciterSpeed final : public QObject
{
    Q_OBJECT
public:
    static constexpr std::array<int, 4> Percents { 100, 85, 70, 50 };
    static inline const QString Name = QStringLiteral("سرعة القارئ");

    // control: the button that shows and changes the speed (may be null in tests).
    explicit ReciterSpeed(ActiveLink *control, QObject *parent = nullptr);

    int Percent() const { return Percents[size_t(m_index)]; }
    double Speed() const { return Percent() / 100.0; }
    // "٧٠٪": the value a screen reader speaks, and what the control shows.
    static QString Spoken(int percent);
    // ", بسرعة ٧٠٪" for a sentence about what was heard; empty at full speed.
    static QString Phrase(int percent);

    void Next();
    // +1 slower, -1 faster, within the steps.
    void Step(int slower);
    void SetPercent(int percent);

signals:
    void Changed(double speed);

private:
    void show();

    ActiveLink *m_control = nullptr;
    int m_index = 0;
};
