// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QSet>
#include <QTextStream>
#include <functional>
#include <sys/resource.h>
#include <time.h>

// What the process has mapped from files at this moment: shared libraries and
// font files (FreeType maps the fonts it reads), each file once.
struct MappedFiles
{
    int libraries = 0;
    int fonts = 0;
};

inline MappedFiles CountMappedFiles()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    MappedFiles counts;
    if (!maps.open(QIODevice::ReadOnly))
        return counts;
    QSet<QByteArray> seen;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const qsizetype slash = line.indexOf('/');
        if (slash < 0)
            continue;
        const QByteArray path = line.mid(slash);
        if (seen.contains(path))
            continue;
        seen.insert(path);
        const QByteArray name = path.mid(path.lastIndexOf('/') + 1).toLower();
        if (name.contains(".so"))
            ++counts.libraries;
        else if (name.endsWith(".ttf") || name.endsWith(".otf") || name.endsWith(".ttc") || name.endsWith(".pfb"))
            ++counts.fonts;
    }
    return counts;
}

// The launcher puts its clock reading (ns since the epoch) in RATTIL_T0 just
// before exec, so the figure covers loading the program as well.
inline void ReportFirstPage(const char *what)
{
    const qint64 t0 = qEnvironmentVariable("RATTIL_T0").toLongLong();
    // The launcher's clock to the nanosecond, not Qt's to the millisecond.
    struct timespec clock = {};
    clock_gettime(CLOCK_REALTIME, &clock);
    const qint64 now = qint64(clock.tv_sec) * 1000000000LL + clock.tv_nsec;
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const MappedFiles mapped = CountMappedFiles();
    QTextStream(stdout) << what << " first_page_ms=" << (t0 > 0 ? (now - t0) / 1000000.0 : -1.0)
                        << " peak_rss_kb=" << usage.ru_maxrss << " libraries=" << mapped.libraries
                        << " fonts=" << mapped.fonts << Qt::endl;
}

// Calls `then` once the page view has first painted its page and that frame
// has gone to the display: the paint and its flush are one step of the event
// loop, and `then` runs before anything else that step queued (the program's
// welcome chime starts that way, and is heard after the frame is seen). The
// program and the floor stop their clocks at this same point.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *view, std::function<void()> then)
        : QObject(view)
        , m_then(std::move(then))
    {
        auto *area = qobject_cast<QAbstractScrollArea *>(view);
        (area ? area->viewport() : view)->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        }
        return false;
    }

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User || !m_then)
            return QObject::event(event);
        std::exchange(m_then, {})();
        return true;
    }

private:
    std::function<void()> m_then;
};
