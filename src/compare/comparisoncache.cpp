// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/comparisoncache.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

QString keyOf(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

ComparisonCache::Stamp ComparisonCache::Stamp::Of(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return {};
    return { info.size(), info.lastModified().toMSecsSinceEpoch() };
}

std::optional<TakeComparison> ComparisonCache::Find(const QString &reference, const QString &take) const
{
    const auto found = m_entries.constFind(keyOf(take));
    if (found == m_entries.constEnd())
        return std::nullopt;
    const Entry &entry = found.value();
    if (entry.reference != keyOf(reference) || entry.takeStamp.size < 0 || entry.takeStamp != Stamp::Of(take)
        || entry.referenceStamp != Stamp::Of(reference))
        return std::nullopt;
    return entry.comparison;
}

void ComparisonCache::Store(const QString &reference, Stamp referenceStamp, const QString &take, Stamp takeStamp,
    const TakeComparison &comparison)
{
    const QString key = keyOf(take);
    if (!m_entries.contains(key))
        m_order << key;
    m_entries.insert(key, { keyOf(reference), referenceStamp, takeStamp, comparison });
    if (m_order.size() > MostEntries) {
        const QStringList oldest = m_order.mid(0, MostEntries / 2);
        m_order.remove(0, MostEntries / 2);
        for (const QString &old : oldest)
            m_entries.remove(old);
    }
}
