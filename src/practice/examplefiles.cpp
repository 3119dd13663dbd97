// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/examplefiles.h"

#include "content/wordtimes.h"

#include "base/numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString SpeedKey = QStringLiteral("reciter-speed=");

} // namespace

ExampleFiles::ExampleFiles(Folders folders)
    : m_folders(std::move(folders))
{
}

QString ExampleFiles::BaseName(const PagePosition &page, int n)
{
    QString base = QString::number(page.chapter) + QLatin1Char('-') + QString::number(page.lesson) + QLatin1Char('-');
    if (page.indexMode)
        base += QString::number(page.entry) + QLatin1Char('-');
    return base + QString::number(n);
}

std::optional<ExampleFiles::Example> ExampleFiles::Parse(const QString &name)
{
    QString base = QFileInfo(name).fileName();
    if (base.endsWith(QLatin1String(".wav")))
        base.chop(4);
    const QStringList parts = base.split(QLatin1Char('-'));
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        // Digits only, as BaseName writes them: "+1" or " 1" is no example.
        if (!ok || numbers[i] < 0 || numbers[i] > 32767 || parts[i] != QString::number(numbers[i]))
            return std::nullopt;
    }
    Example example;
    example.page.chapter = qint16(numbers[0]);
    example.page.lesson = qint16(numbers[1]);
    example.page.indexMode = parts.size() == 4;
    example.page.entry = example.page.indexMode ? qint16(numbers[2]) : qint16(0);
    example.number = numbers[parts.size() - 1];
    return example;
}

QString ExampleFiles::Described(const QString &name)
{
    const std::optional<Example> e = Parse(name);
    if (!e)
        return QFileInfo(name).fileName();
    if (e->page.indexMode)
        return QStringLiteral("المثال %1 من الموضوع %2 من الدرس %3 من الباب %4")
            .arg(ArabicIndic(e->number), ArabicIndic(e->page.entry), ArabicIndic(e->page.lesson),
                ArabicIndic(e->page.chapter));
    return QStringLiteral("المثال %1 من الدرس %2 من الباب %3")
        .arg(ArabicIndic(e->number), ArabicIndic(e->page.lesson), ArabicIndic(e->page.chapter));
}

QString ExampleFiles::Picture(const QString &base) const
{
    const QString gif = m_folders.images + base + QStringLiteral(".gif");
    if (QFileInfo(gif).isFile())
        return gif;
    const QString jpg = m_folders.images + base + QStringLiteral(".jpg");
    return QFileInfo(jpg).isFile() ? jpg : QString();
}

QString ExampleFiles::SoundOfTake(const QString &takePath) const
{
    // rec/3-1-2.wav, or rec/history/3-1-2/0041-20261208-101500.wav.
    const QFileInfo take(takePath);
    const QString base = Parse(take.fileName()) ? take.completeBaseName() : take.dir().dirName();
    return Sound(base);
}

QString ExampleFiles::HistoryFolderOf(const QString &takePath)
{
    const QFileInfo take(takePath);
    return take.absolutePath() + QStringLiteral("/history/") + take.completeBaseName();
}

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd-HHmmss");
constexpr int SequenceDigits = 4;

bool digits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// yyyyMMdd-HHmmss, matched by hand: the progress counts the earlier takes
// before the first page, and a pattern would compile a regular expression.
bool timeText(QStringView text)
{
    return text.size() == 15 && text[8] == QLatin1Char('-') && digits(text.left(8)) && digits(text.mid(9));
}

} // namespace

QString ExampleFiles::HistoryFileName(qint64 sequence, const QDateTime &recorded)
{
    return QStringLiteral("%1-").arg(sequence, SequenceDigits, 10, QLatin1Char('0')) + recorded.toString(TimeFormat)
        + QStringLiteral(".wav");
}

std::optional<qint64> ExampleFiles::HistorySequence(const QString &fileName)
{
    if (!fileName.endsWith(QLatin1String(".wav")))
        return std::nullopt;
    const QStringView stem = QStringView(fileName).chopped(4);
    if (stem.size() == 15)
        return timeText(stem) ? std::optional<qint64>(0) : std::nullopt;
    if (stem.size() < SequenceDigits + 16 || stem[stem.size() - 16] != QLatin1Char('-') || !timeText(stem.right(15)))
        return std::nullopt;
    const QStringView number = stem.left(stem.size() - 16);
    bool ok = false;
    const qint64 sequence = number.toLongLong(&ok);
    if (!digits(number) || !ok || sequence <= 0)
        return std::nullopt;
    return sequence;
}

std::optional<ExampleFiles::HistoryName> ExampleFiles::ParseHistoryName(const QString &fileName)
{
    const std::optional<qint64> sequence = HistorySequence(fileName);
    if (!sequence)
        return std::nullopt;
    return HistoryName { *sequence, QDateTime::fromString(fileName.mid(fileName.size() - 19, 15), TimeFormat) };
}

QString ExampleFiles::SpeedComment(int percent)
{
    return SpeedKey + QString::number(percent);
}

int ExampleFiles::SpeedOfComment(const QString &comment)
{
    for (const QString &word : comment.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!word.startsWith(SpeedKey))
            continue;
        bool ok = false;
        const int percent = word.mid(SpeedKey.size()).toInt(&ok);
        if (ok && percent >= 25 && percent <= 100)
            return percent;
    }
    return 100;
}

namespace {

QString besideSound(const QString &soundPath, const QString &suffix)
{
    const qsizetype dot = soundPath.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = soundPath.lastIndexOf(QLatin1Char('/'));
    return (dot > slash ? soundPath.left(dot) : soundPath) + suffix;
}

} // namespace

QString ExampleFiles::WordsOfSound(const QString &soundPath)
{
    return besideSound(soundPath, WordTimes::WordsSuffix);
}

QString ExampleFiles::RulesOfSound(const QString &soundPath)
{
    return besideSound(soundPath, WordTimes::RulesSuffix);
}
