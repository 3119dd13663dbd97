// SPDX-License-Identifier: GPL-3.0-or-later

#include "practiceprogress.h"

#include "base/numbers.h"
#include "content/catalogue.h"
#include "content/pagecontrols.h"
#include "practice/examplefiles.h"
#include "practice/practicecontrols.h"
#include "practice/takehistory.h"

#include <QDir>
#include <QFileInfo>

PracticeProgress::PracticeProgress(QString recDir)
    : m_recDir(std::move(recDir))
{
}

void PracticeProgress::Read()
{
    m_takes.clear();
    // Hidden files are not listed: a journal (.c-l-n.wav.journal) and a save's
    // temporary file (.c-l-n.wav.XXXXXX) both start with a dot. The recorder
    // writes its names in lower case, and a 1-1-1.WAV is no take it would find.
    const QDir rec(m_recDir);
    // Matched by hand: a name filter compiles a regular expression, before the first page.
    for (const QString &name : rec.entryList(QDir::Files)) {
        if (name.endsWith(QLatin1String(".wav")))
            ++m_takes[QFileInfo(name).completeBaseName()];
    }
    // Earlier takes count even when the newest was deleted by hand.
    const QDir history(m_recDir + TakeHistory::Folder);
    for (const QString &base : history.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const int earlier = int(TakeHistory::Earlier(m_recDir + base + QStringLiteral(".wav")).size());
        if (earlier > 0)
            m_takes[base] += earlier;
    }
}

int PracticeProgress::Takes(const QString &baseName) const
{
    return m_takes.value(baseName, 0);
}

PracticeProgress::Share PracticeProgress::LessonShare(const Catalogue &catalogue, int c, int l) const
{
    Share share;
    const auto count = [&](const PagePosition &page, int examples) {
        // The window has no button beyond the last one.
        examples = qBound(0, examples, PracticeControls::ExampleButtons);
        share.examples += examples;
        for (int n = 1; n <= examples; ++n) {
            if (Takes(ExampleFiles::BaseName(page, n)) > 0)
                ++share.practised;
        }
    };
    const qint16 number = catalogue.PageExamples(c, l, 0);
    if (number >= Catalogue::IndexThreshold) {
        const int entries = qMin(int(catalogue.EntryCount(c, l)), PageControls::EntryLinks);
        for (int k = 1; k <= entries; ++k)
            count({ qint16(c), qint16(l), qint16(k), true }, catalogue.PageExamples(c, l, k));
    } else {
        count({ qint16(c), qint16(l), 0, false }, number);
    }
    return share;
}

QString PracticeProgress::TakesWording(int takes)
{
    if (takes <= 0)
        return {};
    const QString done = QStringLiteral("تم التدرب ");
    if (takes == 1)
        return done + QStringLiteral("مرة واحدة");
    if (takes == 2)
        return done + QStringLiteral("مرتين");
    // Three to ten take the plural; eleven and more, as a hundred, the singular.
    const int lastTwo = takes % 100;
    return done + ArabicIndic(takes)
        + (lastTwo >= 3 && lastTwo <= 10 ? QStringLiteral(" مرات") : QStringLiteral(" مرة"));
}
