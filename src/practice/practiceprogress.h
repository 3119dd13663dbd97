// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pageposition.h"

#include <QHash>
#include <QString>

class Catalogue;

// How far the learner has come, read from the takes in rec/ and from nothing
// else: an example's takes are its newest (c-l-n.wav, or c-l-k-n.wav on an
// entry sub-page) and the earlier ones kept in rec/history/c-l-n/. A journal
// of a take in progress or a save's temporary file is not a take yet.
//
// Read() looks at the folder as it stands; the counts answer from that look
// until the next, so that a menu of many lessons costs one listing, not a file
// test per example.
class PracticeProgress final
{
public:
    struct Share
    {
        int practised = 0;
        int examples = 0;
    };

    // recDir ends with a separator, as every folder path of the course does.
    explicit PracticeProgress(QString recDir);

    void Read();

    // The takes of an example, by its files' name without extension.
    int Takes(const QString &baseName) const;
    // The examples of lesson l of chapter c that have a take, of those the
    // window offers; an index lesson's are its entries' sub-pages'.
    Share LessonShare(const Catalogue &catalogue, int c, int l) const;

    // "تم التدرب ٤ مرات", said after the example's place among the page's; empty without a take.
    static QString TakesWording(int takes);

private:
    QString m_recDir;
    QHash<QString, int> m_takes;
};
