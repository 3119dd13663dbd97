// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>

// What start-up leaves until the first page is on screen, so that the window
// shows before any of it: each step is queued once, when the first frame of
// the loaded window has been drawn, and runs from the event loop after it.
class FirstFrame final : public QObject
{
    Q_OBJECT
public:
    struct Steps
    {
        // The mixer opens on its own thread; the pictures of what was hidden
        // at start decode before it shows.
        std::function<void()> OpenMixer;
        std::function<void()> PrefetchHidden;
        // The sound library.
        std::function<void()> LoadSound;
        // The welcome chime, once the mixer has settled (not into a master
        // it is still to raise from silence).
        std::function<void()> StartChime;
        // The examples panel's parts, after the first page has had its moment
        // on screen and before a learner can have chosen a lesson.
        std::function<void()> MakePractice;
    };
    static constexpr int PracticeAfterMs = 150;

    FirstFrame(Steps steps, QObject *parent);
    // From the window's paint event, once it has loaded.
    void Drawn();

private:
    Steps m_steps;
    bool m_queued = false;
};
