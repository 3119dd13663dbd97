// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

class ActiveLink;
class QFrame;
class QLabel;
class QTimer;
class QWidget;

// The index lesson's title frame and its entry links. Made once with the main
// window; the page logic moves, shows and hides them. The links are counted
// from 0, link i standing for entry i + 1.
struct PageControls
{
    static constexpr int EntryLinks = 4;

    QWidget *BabFrame = nullptr;
    QLabel *BabBack = nullptr;
    ActiveLink *BabTitle = nullptr;
    std::array<ActiveLink *, EntryLinks> Lien {};
    QFrame *Line2 = nullptr;
};

// The document's own scroll bar, beside the pane, with its repeat timer.
struct ScrollBarControls
{
    ActiveLink *ScrollUp = nullptr;
    ActiveLink *ScrollDown = nullptr;
    QLabel *scrollpos = nullptr;
    QLabel *ScrollLine = nullptr;
    QTimer *TimerScroll = nullptr;
};

PageControls CreatePageControls(QWidget *main);
ScrollBarControls CreateScrollBarControls(QWidget *main);
