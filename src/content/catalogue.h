// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class MessageSink;

// The course structure of contents.ini: chapters ("@"), their lessons ("#") and
// the entries of index lessons ("&"). Numbering is by position from 1; index 0
// of every level is a never-shown holder for lines that come before their
// parent. Any lookup outside what the file filled reads as "" or 0.
class Catalogue final
{
public:
    // A lesson number at or above this marks an index lesson.
    static constexpr qint16 IndexThreshold = 99;

    // Reads the file twice: once to size the tables, once to fill them. A
    // missing file shows the standard message box and leaves the catalogue empty.
    void LoadCatalogue(const QString &path, MessageSink &messages);
    // The same from the file's bytes (Windows-1256, CR LF).
    void LoadFromBytes(const QByteArray &bytes);

    qint16 ChapterCount() const { return m_chapterCount; }
    qint16 MaxLessons() const { return m_maxLessons; }
    qint16 MaxEntries() const { return m_maxEntries; }

    QString ChapterTitle(int c) const;
    qint16 LessonCount(int c) const;
    QString LessonTitle(int c, int l) const;
    qint16 EntryCount(int c, int l) const;
    QString EntryTitle(int c, int l, int k) const;
    // k = 0: the lesson's number; k >= 1: the number of entry k.
    qint16 PageExamples(int c, int l, int k) const;

    bool IsIndexLesson(int c, int l) const { return PageExamples(c, l, 0) >= IndexThreshold; }

    static inline const QString MissingFileMessage = QStringLiteral("أحد الملفات ناقصة، يرجى إعادة تنصيب البرنامج");

private:
    struct Lesson
    {
        QString title;
        qint16 number = 0;
        QStringList entryTitles; // from entry 1
        QVector<qint16> entryNumbers;
    };
    struct Chapter
    {
        QString title;
        QVector<Lesson> lessons; // index 0 is lesson 0
    };

    const Lesson *lesson(int c, int l) const;

    qint16 m_chapterCount = 0;
    qint16 m_maxLessons = 0;
    qint16 m_maxEntries = 0;
    QVector<Chapter> m_chapters; // index 0 is chapter 0
};

// The larger of two counts; b when they are equal.
qint16 MaxOf(qint16 a, qint16 b);
// The text with every blank (U+0020) removed; tabs and other white space stay.
QString RemoveSpaces(const QString &text);
