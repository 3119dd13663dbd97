// SPDX-License-Identifier: GPL-3.0-or-later

#include "skin/windowdrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void WindowDrag::Press(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_window.windowHandle() && m_window.windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_offset = event->globalPosition().toPoint() - m_window.frameGeometry().topLeft();
}

void WindowDrag::Move(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        m_window.move(event->globalPosition().toPoint() - m_offset);
}
