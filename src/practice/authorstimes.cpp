// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/authorstimes.h"

#include "content/wordtimes.h"
#include "practice/examplefiles.h"

#include <QFile>

std::pair<std::vector<WordJudge::Word>, std::vector<WordJudge::Rule>> AuthorsTimes(const QString &sound)
{
    std::pair<std::vector<WordJudge::Word>, std::vector<WordJudge::Rule>> out;
    QFile wordsFile(ExampleFiles::WordsOfSound(sound));
    if (!wordsFile.open(QIODevice::ReadOnly))
        return out;
    const WordTimes::Track words = WordTimes::Read(wordsFile.read(MaxAuthorsTimesFile));
    // Times the checker would refuse would name the wrong words: none is better.
    if (!WordTimes::CheckWords(words, std::nullopt, 0).isEmpty())
        return out;
    for (const WordTimes::Label &l : words.labels)
        out.first.push_back({ l.start, l.end, l.text });
    QFile rulesFile(ExampleFiles::RulesOfSound(sound));
    if (!rulesFile.open(QIODevice::ReadOnly))
        return out;
    const WordTimes::Track rules = WordTimes::Read(rulesFile.read(MaxAuthorsTimesFile));
    if (!WordTimes::CheckRules(rules, words, 0).isEmpty())
        return out;
    for (const WordTimes::Label &l : rules.labels) {
        const auto rule = WordTimes::ParseRule(l.text, nullptr);
        // The reciter's own counts are one number; a range is read at its middle.
        out.second.push_back({ l.start, l.end, rule->name, (rule->counts.low + rule->counts.high) / 2,
            rule->accepted.low, rule->accepted.high });
    }
    return out;
}
