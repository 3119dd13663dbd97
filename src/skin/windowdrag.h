// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// A window without a title bar is moved by its bare background: the window
// system moves it where it can; without a window manager (a bare X server)
// the window follows the pointer by itself.
class WindowDrag final
{
public:
    explicit WindowDrag(QWidget &window)
        : m_window(window)
    {
    }
    void Press(QMouseEvent *event);
    void Move(QMouseEvent *event);
    void Release() { m_dragging = false; }

private:
    QWidget &m_window;
    bool m_dragging = false;
    QPoint m_offset;
};
