// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "finding.h"

#include "content/catalogue.h"

#include <QCoreApplication>
#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// Walks a course folder the way the program will meet it at start-up and on
// every click, and lists what will go wrong: files it will not find or cannot
// read, text in the wrong code page, catalogue lines it skips or cannot show,
// and files nothing refers to. It uses the program's own readers, so what it
// accepts is what the program accepts.
class CourseChecker final
{
    Q_DECLARE_TR_FUNCTIONS(CourseChecker)

public:
    // done of total units of work (pages, examples, skin files).
    using Progress = std::function<void(int done, int total)>;

    explicit CourseChecker(const QString &folder);

    // False when the folder does not exist; the findings are then empty.
    bool Run(const Progress &progress = {});

    // Writes data/examples/<base>.words from word timings in the segments form:
    // a JSON object whose keys are examples' base names ("3-2-1") and whose
    // values are [[word position from 1, start ms, end ms], ...], times from
    // the start of the example's sound. Each example's timings are checked
    // against its text first: a word missing or given twice is reported and
    // nothing of that example is written; a key that names no example is
    // reported; an existing .words file is replaced only when force is set.
    // False when the folder does not exist.
    bool ImportSegments(const QString &jsonPath, bool force);
    // The .words files the import wrote, relative to the folder.
    const QStringList &Written() const { return m_written; }

    const QList<Finding> &Findings() const { return m_findings; }
    int ErrorCount() const;
    int WarningCount() const;
    // Files found in the folder.
    int FileCount() const { return m_fileCount; }
    // Where the learner's takes go when the course folder cannot be written;
    // empty when they go to its rec/.
    const QString &RecordingsFolder() const { return m_recordingsFolder; }

    // The pictures (including backgrounds) and the links of a page, as the page
    // view reads it.
    struct References
    {
        QStringList pictures;
        QStringList links;
    };
    static References ReferencesOf(const QByteArray &page);

    // The window's room: what lies beyond is never shown.
    static constexpr int ExampleButtons = 13;
    static constexpr int IndexLinks = 4;

private:
    struct Page
    {
        QString file; // "Ch2-1.htm"
        QString base; // "2-1": example n is base-n
        QString title; // the catalogue's title, for the author's bearings
        int examples = 0;
    };

    void checkContents();
    void checkContentsLine(const QString &line, int number);
    void checkNumber(const QString &text, int number, bool lesson);
    void collectPages();
    void checkConfig();
    void checkSavedOptions();
    void checkSkin();
    void checkPage(const QString &relative, const QString &missingMessage);
    void checkPageReferences(const QString &relative, const QByteArray &bytes);
    void checkExample(const Page &page, int n);
    void checkSound(const QString &relative);
    // False when the text cannot be read as the program reads it.
    bool checkTextFile(const QString &relative);
    // The words of an example's text, read as the program reads it; none for
    // an example shown by a picture. seconds: its sound's length, or 0.
    std::optional<QStringList> exampleWords(const QString &base, double *seconds);
    void importExample(const QString &source, const QString &base, const QJsonValue &timings, bool force);
    void checkWordTimes(const QString &base, const std::optional<QStringList> &words, double seconds);
    QString firstLineOf(const QString &relative) const;
    void checkRecordings();
    void checkUnreferenced();
    void step();

    void add(Finding::Severity severity, const QString &path, const QString &message, int line = 0);
    QString absolute(const QString &relative) const;
    QString relative(const QString &absolute) const;
    bool exists(const QString &relative) const;
    void use(const QString &relative);
    QString caseHint(const QString &relative);

    QString m_folder;
    QString m_recordingsFolder;
    Catalogue m_catalogue;
    bool m_haveCatalogue = false;
    QList<Page> m_pages;
    QSet<QString> m_used;
    QSet<QString> m_pagesChecked;
    QList<Finding> m_findings;
    QStringList m_written;
    int m_fileCount = 0;

    // State of the walk through contents.ini.
    int m_chapters = 0;
    int m_lessonsHere = 0;
    int m_entriesHere = 0;
    bool m_lessonIsIndex = false;
    int m_indexLessonLine = 0;

    Progress m_progress;
    int m_done = 0;
    int m_total = 0;
};
