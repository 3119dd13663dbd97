// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/wordjudge.h"

#include <QString>
#include <utility>
#include <vector>

// The author's word times and rule spans beside a reciter's sound, for the
// words to follow the reciter and a take to be judged word by word; none when
// the course gives none, or gives times the checker would refuse (they could
// light or name the wrong word).
std::pair<std::vector<WordJudge::Word>, std::vector<WordJudge::Rule>> AuthorsTimes(const QString &sound);

constexpr qint64 MaxAuthorsTimesFile = 1 << 20;
