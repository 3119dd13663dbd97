// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

class ActiveLink;
class QLabel;
class QTimer;
class QWidget;

// The lesson menu's controls. They are all made once, with the main window, at
// their design places; the menu only moves, shows and hides them afterwards.
// Arrays are indexed from 1, as the menu counts chapters and lessons.
struct MenuControls
{
    static constexpr int ChapterItems = 9;
    static constexpr int LessonLinks = 12;

    QWidget *MenuFrame = nullptr;
    QWidget *MenuIn = nullptr;
    std::array<QLabel *, ChapterItems + 1> Imenu {};
    std::array<ActiveLink *, ChapterItems + 1> ImenuL {};
    std::array<ActiveLink *, LessonLinks + 1> Alink {};
    QLabel *ImageRef = nullptr;
    QLabel *ImSlide = nullptr;
    QLabel *ImVline = nullptr;
    ActiveLink *MenuScrollUp = nullptr;
    ActiveLink *MenuScrollDown = nullptr;
    QTimer *MenuScrollTimer = nullptr;
};

// Creates the controls as children of the main window (the frame, the line, the
// marker and the arrows) and of the menu content (titles and links).
MenuControls CreateMenuControls(QWidget *main);
