// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>

class QWidget;
// A child made after its parent is on screen stays hidden until it is shown
// itself: each one made since `before` that was not hidden on purpose is
// shown, as the window's first show would have shown it.
void ShowChildrenMadeSince(QWidget *parent, const QList<QWidget *> &before);
