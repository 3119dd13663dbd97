// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// A line that a screen reader speaks when it changes: news that the skin shows
// only as a swapped picture (a recording that starts, a take that is saved) is
// told here in words. It draws nothing; the skin already shows the same news.
class StatusLine final : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    bool isUrgent() const { return m_urgent; }

    // Urgent news (something failed) is raised as a notification as well.
    void Announce(const QString &text, bool urgent = false);

signals:
    void Announced(const QString &text, bool urgent);

private:
    QString m_text;
    bool m_urgent = false;
    QWidget *m_alert = nullptr;
};
