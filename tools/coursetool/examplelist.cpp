// SPDX-License-Identifier: GPL-3.0-or-later

#include "examplelist.h"

#include <QFile>
#include <QStringList>

namespace {

QStringList ReadLines(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            lines.append(line.trimmed());
    }
    return lines;
}

QString Ordinal(int n)
{
    static const char *const words[] = { "الأول", "الثاني", "الثالث", "الرابع", "الخامس", "السادس", "السابع", "الثامن",
        "التاسع", "العاشر", "الحادي عشر", "الثاني عشر", "الثالث عشر" };
    if (n < 1 || n > 13)
        return QString::number(n);
    return QString::fromUtf8(words[n - 1]);
}

} // namespace

bool ExampleList::Load(const QString &examplesPath, const QString &versesPath, QString &error)
{
    m_examples.clear();
    QHash<QString, QStringList> verses; // reference -> sura, text
    const QStringList verseLines = ReadLines(versesPath, error);
    if (!error.isEmpty())
        return false;
    for (const QString &line : verseLines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() == 3)
            verses.insert(fields[0], { fields[1], fields[2] });
    }

    const QStringList lines = ReadLines(examplesPath, error);
    if (!error.isEmpty())
        return false;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3) {
            error = QStringLiteral("examples.tsv: three fields expected in \"%1\"").arg(line);
            return false;
        }
        Example e;
        e.base = fields[0];
        e.reference = fields[1];
        const QString show = fields[2];
        if (show == QLatin1String("tag"))
            e.show = Show::Tag;
        else if (show == QLatin1String("gif"))
            e.show = Show::Gif;
        else if (show == QLatin1String("jpg"))
            e.show = Show::Jpg;
        else if (show == QLatin1String("text"))
            e.show = Show::Text;
        else {
            error = QStringLiteral("examples.tsv: unknown kind \"%1\"").arg(show);
            return false;
        }
        const QStringList verse = verses.value(e.reference);
        if (verse.size() == 2) {
            e.sura = verse[0];
            e.verse = verse[1];
        }
        if (e.verse.isEmpty()) {
            error = QStringLiteral("verses.tsv has no verse %1 (run tools/verses)").arg(e.reference);
            return false;
        }
        m_examples.append(e);
    }
    return true;
}

const ExampleList::Example *ExampleList::Find(const QString &base) const
{
    for (const Example &e : m_examples) {
        if (e.base == base)
            return &e;
    }
    return nullptr;
}

QString ExampleList::Label(const QString &base)
{
    const QStringList parts = base.split(QLatin1Char('-'));
    QVector<int> n;
    for (const QString &p : parts) {
        bool ok = false;
        n.append(p.toInt(&ok));
        if (!ok)
            return {};
    }
    if (n.size() == 3)
        return QStringLiteral("المثال %1 من الدرس %2، الباب %3").arg(Ordinal(n[2]), Ordinal(n[1]), Ordinal(n[0]));
    if (n.size() == 4)
        return QStringLiteral("المثال %1 من الموضوع %2، الدرس %3، الباب %4")
            .arg(Ordinal(n[3]), Ordinal(n[2]), Ordinal(n[1]), Ordinal(n[0]));
    return {};
}
