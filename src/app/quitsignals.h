// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a session ending, kill, Ctrl+C in a
// terminal) into an ordinary close of the window, so that they run the same
// shutdown as the exit button and nothing the learner did is lost.
class QuitSignals final : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
