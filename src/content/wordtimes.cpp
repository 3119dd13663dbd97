// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/wordtimes.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace WordTimes {

namespace {

// A time as the editors write it: a decimal point whatever the locale.
std::optional<double> parseSeconds(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isArabicLetter(QChar c)
{
    const char16_t u = c.unicode();
    return c.isLetter()
        && ((u >= 0x0600 && u <= 0x06FF) || (u >= 0x0750 && u <= 0x077F) || (u >= 0x08A0 && u <= 0x08FF)
            || (u >= 0xFB50 && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF));
}

bool isMark(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x064B && u <= 0x065F) || u == 0x0670 || (u >= 0x06D6 && u <= 0x06ED) || u == 0x0640;
}

QString seconds(double s)
{
    return QString::number(s, 'f', 3);
}

// A small slack for times written to the millisecond against a length the
// decoder reports to the sample.
constexpr double Slack = 0.0005;

} // namespace

Track Read(const QByteArray &bytes)
{
    Track track;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('\\')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        const int number = i + 1;
        if (fields.size() < 2) {
            track.problems << Problem { number, QStringLiteral("is not \"start<TAB>end<TAB>label\"") };
            continue;
        }
        const auto start = parseSeconds(fields.at(0));
        const auto end = parseSeconds(fields.at(1));
        if (!start || !end) {
            track.problems << Problem {
                number,
                QStringLiteral("\"%1\" is not a time in seconds").arg((start ? fields.at(1) : fields.at(0)).trimmed())
            };
            continue;
        }
        // A label may itself hold a tab; only the first two split.
        track.labels << Label { *start, *end, fields.mid(2).join(QLatin1Char('\t')).trimmed(), number };
    }
    return track;
}

QByteArray Write(const QList<Label> &labels)
{
    QByteArray out;
    for (const Label &l : labels)
        out += (seconds(l.start) + QLatin1Char('\t') + seconds(l.end) + QLatin1Char('\t') + l.text + QLatin1Char('\n'))
                   .toUtf8();
    return out;
}

QStringList WordsOf(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList words;
    for (const QString &piece : text.split(blanks, Qt::SkipEmptyParts)) {
        if (std::any_of(piece.cbegin(), piece.cend(), isArabicLetter))
            words << piece;
    }
    return words;
}

QString Bare(const QString &word)
{
    QString out;
    out.reserve(word.size());
    for (QChar c : word) {
        if (!isMark(c))
            out += c;
    }
    return out;
}

std::optional<Counts> ParseCounts(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype dash = t.indexOf(QLatin1Char('-'), 1);
    const auto low = parseSeconds(dash < 0 ? t : t.left(dash));
    const auto high = dash < 0 ? low : parseSeconds(t.mid(dash + 1));
    if (!low || !high || *low <= 0 || *high < *low)
        return std::nullopt;
    return Counts { *low, *high };
}

std::optional<Rule> ParseRule(const QString &label, QString *why)
{
    const QStringList parts = label.split(QLatin1Char('|'));
    if (parts.size() < 2 || parts.size() > 3 || parts.at(0).trimmed().isEmpty()) {
        if (why)
            *why = QStringLiteral("\"%1\" is not \"rule|counts\" or \"rule|counts|accepted\"").arg(label);
        return std::nullopt;
    }
    Rule rule;
    rule.name = parts.at(0).trimmed();
    for (int k = 1; k < parts.size(); ++k) {
        const auto counts = ParseCounts(parts.at(k));
        if (!counts) {
            if (why)
                *why = QStringLiteral("\"%1\" is not a positive count or a range of counts such as 4-5")
                           .arg(parts.at(k).trimmed());
            return std::nullopt;
        }
        (k == 1 ? rule.counts : rule.accepted) = *counts;
    }
    if (parts.size() == 2)
        rule.accepted = rule.counts;
    return rule;
}

QList<Problem> CheckWords(const Track &track, const std::optional<QStringList> &words, double soundSeconds)
{
    QList<Problem> problems = track.problems;
    if (track.labels.isEmpty()) {
        if (problems.isEmpty())
            problems << Problem { 0, QStringLiteral("is empty: it gives no word a time") };
        return problems;
    }
    if (words && words->size() != track.labels.size()) {
        // Label by label would only repeat this: each would be off by the words missed.
        problems << Problem { 0,
            QStringLiteral("has %1 words; the example's text has %2").arg(track.labels.size()).arg(words->size()) };
        return problems;
    }
    for (int i = 0; i < track.labels.size(); ++i) {
        const Label &l = track.labels.at(i);
        if (words && Bare(l.text) != Bare(words->at(i))) {
            problems << Problem { l.line,
                QStringLiteral("\"%1\" is not word %2 of the text, \"%3\"").arg(l.text).arg(i + 1).arg(words->at(i)) };
        }
        if (l.end <= l.start) {
            problems << Problem { l.line,
                QStringLiteral("ends at %1 s, not after it starts at %2 s").arg(seconds(l.end), seconds(l.start)) };
        } else if (l.start < 0) {
            problems << Problem { l.line, QStringLiteral("starts before the sound, at %1 s").arg(seconds(l.start)) };
        } else if (soundSeconds > 0 && l.end > soundSeconds + Slack) {
            problems << Problem { l.line,
                QStringLiteral("ends at %1 s, past the end of the sound at %2 s")
                    .arg(seconds(l.end), seconds(soundSeconds)) };
        }
        if (i > 0 && l.start < track.labels.at(i - 1).end - Slack) {
            problems << Problem { l.line,
                QStringLiteral("starts at %1 s, before the word above ends at %2 s")
                    .arg(seconds(l.start), seconds(track.labels.at(i - 1).end)) };
        }
    }
    return problems;
}

QList<Problem> CheckRules(const Track &rules, const Track &words, double soundSeconds)
{
    QList<Problem> problems = rules.problems;
    if (rules.labels.isEmpty()) {
        if (problems.isEmpty())
            problems << Problem { 0, QStringLiteral("is empty: it gives no rule a span") };
        return problems;
    }
    const double wordsStart = words.labels.isEmpty() ? 0 : words.labels.constFirst().start;
    const double wordsEnd = words.labels.isEmpty() ? 0 : words.labels.constLast().end;
    for (const Label &l : rules.labels) {
        QString why;
        if (!ParseRule(l.text, &why))
            problems << Problem { l.line, why };
        if (l.end <= l.start) {
            problems << Problem { l.line,
                QStringLiteral("ends at %1 s, not after it starts at %2 s").arg(seconds(l.end), seconds(l.start)) };
        } else if (l.start < 0 || (soundSeconds > 0 && l.end > soundSeconds + Slack)) {
            problems << Problem { l.line,
                QStringLiteral("lies outside the sound (%1 to %2 s; the sound lasts %3 s)")
                    .arg(seconds(l.start), seconds(l.end), seconds(soundSeconds)) };
        } else if (words.labels.isEmpty()) {
            problems << Problem { l.line, QStringLiteral("has no words file beside it to lie among") };
        } else if (l.start < wordsStart - Slack || l.end > wordsEnd + Slack) {
            problems << Problem { l.line,
                QStringLiteral("lies outside the words (%1 to %2 s; the words span %3 to %4 s)")
                    .arg(seconds(l.start), seconds(l.end), seconds(wordsStart), seconds(wordsEnd)) };
        }
    }
    return problems;
}

} // namespace WordTimes
