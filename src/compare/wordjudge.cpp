// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/wordjudge.h"

#include "base/numbers.h"

#include <algorithm>
#include <cmath>

namespace WordJudge {

namespace {

// Where the reciter's frame edges fall in the take, from the alignment: a
// start lands on the first take frame matched to the reciter's frame after
// it, an end just past the last take frame matched to the frame before it.
class Carrier final
{
public:
    explicit Carrier(const TakeComparison &c)
        : m_c(c)
        , m_rows(int(c.referenceLevel.size()))
        , m_cols(int(c.takeLevel.size()))
        , m_first(size_t(m_rows), -1)
        , m_last(size_t(m_rows), -1)
    {
        for (const auto &[i, j] : c.path) {
            if (i < 0 || i >= m_rows)
                continue;
            if (m_first[size_t(i)] < 0 || j < m_first[size_t(i)])
                m_first[size_t(i)] = j;
            m_last[size_t(i)] = std::max(m_last[size_t(i)], j);
        }
    }

    bool Usable() const { return m_rows > 0 && m_cols > 0 && !m_c.path.empty(); }

    // Reference seconds (of the heard, perhaps slowed, sound) to take seconds.
    double Start(double seconds) const
    {
        const int edge = edgeOf(seconds);
        const int j = edge >= m_rows ? m_cols : m_first[size_t(edge)];
        return m_c.takeStart + std::max(0, j) * m_c.frameSeconds;
    }
    double End(double seconds) const
    {
        const int edge = edgeOf(seconds);
        const int j = edge <= 0 ? 0 : m_last[size_t(edge - 1)] + 1;
        return m_c.takeStart + std::max(0, j) * m_c.frameSeconds;
    }

private:
    int edgeOf(double seconds) const
    {
        return std::clamp(int(std::lround((seconds - m_c.referenceStart) / m_c.frameSeconds)), 0, m_rows);
    }

    const TakeComparison &m_c;
    int m_rows;
    int m_cols;
    std::vector<int> m_first;
    std::vector<int> m_last;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString quoted(const QStringList &words)
{
    return QStringLiteral("«") + words.join(QLatin1Char(' ')) + QStringLiteral("»");
}

QString countFigure(double counts)
{
    return counts == std::floor(counts) ? ArabicIndic(qint64(counts)) : ArabicDigits(QString::number(counts, 'f', 1));
}

} // namespace

QString CountsWording(double counts)
{
    QString noun;
    if (counts == 1)
        noun = QStringLiteral("حركة");
    else if (counts == 2)
        noun = QStringLiteral("حركتان");
    else if (counts < 2 || counts > 10)
        noun = QStringLiteral("حركة");
    else
        noun = QStringLiteral("حركات");
    return countFigure(counts) + QLatin1Char(' ') + noun;
}

Result Judge(const TakeComparison &comparison, const std::vector<Word> &words, const std::vector<Rule> &rules)
{
    Result result;
    const Carrier carrier(comparison);
    if (!comparison.IsCompared() || words.empty() || !carrier.Usable())
        return result;
    result.judged = true;
    // The author's seconds, on the sound as the learner heard it.
    const double stretch = 100.0 / std::max(1, comparison.referencePercent);

    std::vector<double> raw;
    for (const Word &w : words) {
        WordResult r;
        r.text = w.text;
        r.referenceStart = w.start * stretch;
        r.referenceEnd = w.end * stretch;
        r.takeStart = carrier.Start(w.start * stretch);
        r.takeEnd = std::max(r.takeStart, carrier.End(w.end * stretch));
        const double reference = (w.end - w.start) * stretch;
        r.ratio = reference > 0 ? (r.takeEnd - r.takeStart) / reference : 1;
        raw.push_back(r.ratio);
        result.words.push_back(r);
    }
    result.tempo = median(raw);
    if (result.tempo <= 0)
        result.tempo = 1;
    for (WordResult &r : result.words) {
        r.ratio /= result.tempo;
        r.named = std::abs(r.ratio - 1) > NamedShare;
    }

    for (const Rule &rule : rules) {
        RuleResult r;
        r.name = rule.name;
        r.acceptedLow = rule.acceptedLow;
        r.acceptedHigh = rule.acceptedHigh;
        int first = -1, last = -1;
        for (int k = 0; k < int(words.size()); ++k) {
            if (words[size_t(k)].end > rule.start && words[size_t(k)].start < rule.end) {
                if (first < 0)
                    first = k;
                last = k;
                r.words << words[size_t(k)].text;
            }
        }
        const double from = rule.start * stretch, to = rule.end * stretch;
        const bool voiced = to > comparison.referenceStart && from < comparison.referenceEnd;
        // The words the span lies on, as the take has them. Their edges are
        // where the alignment is sure (one word's sound gives way to the
        // next's); inside a held sound it is not, a steady vowel matching a
        // steady vowel anywhere along it.
        const double takeWords
            = first < 0 ? 0 : result.words[size_t(last)].takeEnd - result.words[size_t(first)].takeStart;
        if (first < 0 || !voiced || takeWords <= 0 || rule.counts <= 0) {
            result.rules.push_back(r);
            continue;
        }
        // The learner's tempo around the span, its own words left out.
        std::vector<double> around;
        if (first > 0)
            around.push_back(raw[size_t(first - 1)]);
        if (last + 1 < int(raw.size()))
            around.push_back(raw[size_t(last + 1)]);
        double tempo = result.tempo;
        if (!around.empty()) {
            double sum = 0;
            for (double a : around)
                sum += a;
            tempo = sum / double(around.size());
        }
        // The rest of those words is read at the learner's tempo; what is left
        // is the span held.
        const double referenceWords = (words[size_t(last)].end - words[size_t(first)].start) * stretch;
        const double held = std::max(0.0, takeWords - std::max(0.0, referenceWords - (to - from)) * tempo);
        const double count = (to - from) / rule.counts * tempo;
        r.measured = count > 0;
        r.counts = r.measured ? std::round(held / count * 2) / 2 : 0;
        r.outside = r.measured && (r.counts < rule.acceptedLow || r.counts > rule.acceptedHigh);
        result.rules.push_back(r);
    }
    return result;
}

int Result::WordsOff() const
{
    return int(std::count_if(words.cbegin(), words.cend(), [](const WordResult &w) { return w.named; }));
}

int Result::RulesOff() const
{
    return int(
        std::count_if(rules.cbegin(), rules.cend(), [](const RuleResult &r) { return r.outside || !r.measured; }));
}

QString Result::Sentence() const
{
    QStringList parts;
    for (const WordResult &w : words) {
        if (!w.named)
            continue;
        // To the nearest tenth: the ear tells no finer.
        const qint64 percent = qint64(std::lround(std::abs(w.ratio - 1) * 10)) * 10;
        parts << quoted({ w.text })
                + (w.ratio > 1 ? QStringLiteral(" أطول من القارئ بنحو ") : QStringLiteral(" أقصر من القارئ بنحو "))
                + ArabicPercent(percent);
    }
    for (const RuleResult &r : rules) {
        if (!r.measured) {
            parts << quoted(r.words) + QStringLiteral(": لم يُقس طول ") + r.name;
            continue;
        }
        if (!r.outside)
            continue;
        const QString wanted = r.acceptedLow == r.acceptedHigh
            ? countFigure(r.acceptedLow)
            : countFigure(r.acceptedLow) + QChar(0x2013) + countFigure(r.acceptedHigh);
        parts << quoted(r.words) + QStringLiteral(": نحو ") + CountsWording(r.counts) + QStringLiteral("، والمطلوب ")
                + wanted;
    }
    return parts.join(QStringLiteral("؛ "));
}

} // namespace WordJudge
