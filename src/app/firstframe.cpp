// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/firstframe.h"

#include <QTimer>

FirstFrame::FirstFrame(Steps steps, QObject *parent)
    : QObject(parent)
    , m_steps(std::move(steps))
{
}

void FirstFrame::Drawn()
{
    if (std::exchange(m_queued, true))
        return;
    // The frame just drawn goes to the screen before any of these begins.
    for (const std::function<void()> *step :
        { &m_steps.OpenMixer, &m_steps.PrefetchHidden, &m_steps.LoadSound, &m_steps.StartChime }) {
        if (*step)
            QTimer::singleShot(0, this, *step);
    }
    if (m_steps.MakePractice)
        QTimer::singleShot(PracticeAfterMs, this, m_steps.MakePractice);
}
