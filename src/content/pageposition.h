// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// Where the open page sits in the course. It is taken when a page opens, and the
// examples and the learner's recordings are named from it, not from the menu: the
// menu's chapter changes as soon as the learner merely opens another chapter.
struct PagePosition
{
    qint16 chapter = 0;
    qint16 lesson = 0;
    // 1..4 on an entry sub-page of an index lesson; kept while the list is shown.
    qint16 entry = 0;
    // True while an index lesson or one of its sub-pages is shown.
    bool indexMode = false;
};
