// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/takecomparison.h"

#include <QHash>
#include <QString>
#include <optional>

// Comparisons already made, one per recording file. An entry holds only while
// both files are as they were when they were read: a new take, or another
// reciter's file, makes it stale.
class ComparisonCache final
{
public:
    struct Stamp final
    {
        qint64 size = -1; // -1: no such file
        qint64 modifiedMs = 0;

        static Stamp Of(const QString &path);
        bool operator==(const Stamp &other) const { return size == other.size && modifiedMs == other.modifiedMs; }
        bool operator!=(const Stamp &other) const { return !(*this == other); }
    };

    std::optional<TakeComparison> Find(const QString &reference, const QString &take) const;
    // The stamps are those taken before the files were read, so a take saved
    // again during the analysis is not mistaken for the one analysed.
    void Store(const QString &reference, Stamp referenceStamp, const QString &take, Stamp takeStamp,
        const TakeComparison &comparison);
    int Count() const { return int(m_entries.size()); }

private:
    struct Entry final
    {
        QString reference;
        Stamp referenceStamp;
        Stamp takeStamp;
        TakeComparison comparison;
    };
    // A course has a few hundred examples at most; past this the oldest half goes.
    static constexpr int MostEntries = 256;
    QHash<QString, Entry> m_entries;
    QStringList m_order;
};
