// SPDX-License-Identifier: GPL-3.0-or-later

#include "catalogue.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "widgets/messagesink.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Counts past 16 bits cannot be shown or numbered; they stop growing there
// instead of wrapping round to negative indices.
void bump(qint16 &count)
{
    if (count < 32767)
        ++count;
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines << bytes.mid(start, i - start);
            if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << bytes.mid(start);
    return lines;
}

// The text of a line starts at its third character; the second is a separator.
QString lineText(const QString &line)
{
    return line.size() > 2 ? line.mid(2) : QString();
}

void splitTitleNumber(const QString &text, QString &title, qint16 &number)
{
    const int star = text.indexOf(QLatin1Char('*'));
    number = 0;
    if (star < 0) {
        title = text;
        return;
    }
    title = text.left(star);
    const int second = text.indexOf(QLatin1Char('*'), star + 1);
    const QString digits = second < 0 ? text.mid(star + 1) : text.mid(star + 1, second - star - 1);
    number = ToInt16(RemoveSpaces(digits)).value_or(0);
}

} // namespace

qint16 MaxOf(qint16 a, qint16 b)
{
    return a > b ? a : b;
}

QString RemoveSpaces(const QString &text)
{
    QString out = text;
    out.remove(QLatin1Char(' '));
    return out;
}

void Catalogue::LoadCatalogue(const QString &path, MessageSink &messages)
{
    m_chapterCount = m_maxLessons = m_maxEntries = 0;
    m_chapters.clear();
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        messages.ShowMessageBox(MissingFileMessage);
        return;
    }
    LoadFromBytes(file.readAll());
}

void Catalogue::LoadFromBytes(const QByteArray &bytes)
{
    m_chapterCount = m_maxLessons = m_maxEntries = 0;
    m_chapters.clear();

    QStringList lines;
    for (const QByteArray &raw : splitLines(bytes))
        lines << FromWindows1256(raw);

    // First pass: the bounds.
    qint16 lessonsHere = 0;
    qint16 entriesHere = 0;
    for (const QString &line : std::as_const(lines)) {
        if (line.isEmpty())
            continue;
        switch (line.at(0).unicode()) {
        case '@':
            bump(m_chapterCount);
            lessonsHere = 0;
            entriesHere = 0;
            break;
        case '#':
            bump(lessonsHere);
            m_maxLessons = MaxOf(m_maxLessons, lessonsHere);
            entriesHere = 0;
            break;
        case '&':
            bump(entriesHere);
            m_maxEntries = MaxOf(m_maxEntries, entriesHere);
            break;
        default: break;
        }
    }

    // Second pass: the titles and numbers. Lists grow as lines come, which gives
    // the same indexing as tables sized by the first pass without holding
    // ChapterCount x MaxLessons x MaxEntries empty cells.
    m_chapters.resize(1);
    m_chapters[0].lessons.resize(1);
    int c = 0;
    for (const QString &line : std::as_const(lines)) {
        if (line.isEmpty())
            continue;
        const QChar kind = line.at(0);
        if (kind == QLatin1Char('@')) {
            if (c >= m_chapterCount)
                continue;
            ++c;
            m_chapters.resize(c + 1);
            m_chapters[c].title = lineText(line);
            m_chapters[c].lessons.resize(1);
        } else if (kind == QLatin1Char('#')) {
            Chapter &chapter = m_chapters[c];
            if (chapter.lessons.size() > 32767)
                continue;
            Lesson lesson;
            splitTitleNumber(lineText(line), lesson.title, lesson.number);
            chapter.lessons << lesson;
        } else if (kind == QLatin1Char('&')) {
            Lesson &lesson = m_chapters[c].lessons.last();
            if (lesson.entryTitles.size() >= 32767)
                continue;
            QString title;
            qint16 number = 0;
            splitTitleNumber(lineText(line), title, number);
            lesson.entryTitles << title;
            lesson.entryNumbers << number;
        }
    }
}

const Catalogue::Lesson *Catalogue::lesson(int c, int l) const
{
    if (c < 0 || c >= m_chapters.size())
        return nullptr;
    const auto &lessons = m_chapters.at(c).lessons;
    if (l < 0 || l >= lessons.size())
        return nullptr;
    return &lessons.at(l);
}

QString Catalogue::ChapterTitle(int c) const
{
    return c >= 1 && c < m_chapters.size() ? m_chapters.at(c).title : QString();
}

qint16 Catalogue::LessonCount(int c) const
{
    return c >= 0 && c < m_chapters.size() ? qint16(m_chapters.at(c).lessons.size() - 1) : qint16(0);
}

QString Catalogue::LessonTitle(int c, int l) const
{
    const Lesson *x = lesson(c, l);
    return x ? x->title : QString();
}

qint16 Catalogue::EntryCount(int c, int l) const
{
    const Lesson *x = lesson(c, l);
    return x ? qint16(x->entryTitles.size()) : qint16(0);
}

QString Catalogue::EntryTitle(int c, int l, int k) const
{
    const Lesson *x = lesson(c, l);
    if (!x || k < 1 || k > x->entryTitles.size())
        return {};
    return x->entryTitles.at(k - 1);
}

qint16 Catalogue::PageExamples(int c, int l, int k) const
{
    const Lesson *x = lesson(c, l);
    if (!x)
        return 0;
    if (k == 0)
        return x->number;
    if (k < 1 || k > x->entryNumbers.size())
        return 0;
    return x->entryNumbers.at(k - 1);
}
