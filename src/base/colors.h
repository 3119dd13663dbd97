// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

// Course files give colours as 0x00BBGGRR: red in the low byte.
QColor ColorFromBgr(qint32 bgr);
qint32 BgrFromColor(const QColor &color);
