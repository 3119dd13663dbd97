// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/examplefiles.h"

#include "components/numbers.h"

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
    // rec/3-1-2.wav, or rec/history/3-1-2/20261208-101500.wav.
    const QFileInfo take(takePath);
    const QString base = Parse(take.fileName()) ? take.completeBaseName() : take.dir().dirName();
    return Sound(base);
}

QString ExampleFiles::HistoryFolderOf(const QString &takePath)
{
    const QFileInfo take(takePath);
    return take.absolutePath() + QStringLiteral("/history/") + take.completeBaseName();
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
