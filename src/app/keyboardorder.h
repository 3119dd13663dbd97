// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QWidget>
#include <functional>

struct MenuControls;
struct MixerControls;
struct PageControls;
struct PracticeControls;
struct ScrollBarControls;

// The controls Tab visits, in the window's right-to-left reading order: the
// chrome, the menu as it stands, the index links, the page and its bar, the
// example buttons, the recorder, the sound controls. Hidden and disabled ones
// are left out. The controls are read when asked, as they stand then (the
// practice controls are made after the window is first shown).
class KeyboardOrder final
{
public:
    struct Controls
    {
        QList<QWidget *> chrome;
        const MenuControls *menu = nullptr;
        const PageControls *pages = nullptr;
        QWidget *page = nullptr;
        const ScrollBarControls *scrollBar = nullptr;
        const PracticeControls *practice = nullptr;
        // The takes' list, once there is one.
        std::function<QWidget *()> takesList;
        const MixerControls *mixer = nullptr;
    };

    KeyboardOrder(QWidget &window, Controls controls);

    QList<QWidget *> Order(bool shownOnly = true) const;
    // Tab (next) or Shift+Tab from the focused control; false when there is
    // nothing in the order and the window's own handling should go on.
    bool Move(bool next);

private:
    QWidget &m_window;
    Controls m_c;
};
