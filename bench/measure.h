#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QTextStream>
#include <sys/resource.h>

// The launcher puts its clock reading (ns since the epoch) in RATTIL_T0 just
// before exec, so the figure covers loading the program as well.
inline void ReportFirstPage(const char *what)
{
    const qint64 t0 = qEnvironmentVariable("RATTIL_T0").toLongLong();
    const qint64 now = QDateTime::currentMSecsSinceEpoch() * 1000000LL;
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    QTextStream(stdout) << what << " first_page_ms=" << (t0 > 0 ? (now - t0) / 1000000.0 : -1.0)
                        << " peak_rss_kb=" << usage.ru_maxrss << Qt::endl;
}
