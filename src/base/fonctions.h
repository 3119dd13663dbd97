// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QFont;

// Small helpers every part of the window uses.

// True when the value is a whole number that fits in 16 signed bits. Never fails.
bool IsInteger(double value);
bool IsInteger(const QString &text);

// True for an existing ordinary file; folders and hidden files do not count.
bool FileExists(const QString &path);

// Short (8.3) names do not exist here: the path is its own short form.
QString ShortPath(const QString &path);

// Sizes a font in the skin's own points, at the 96 dots per inch the skin was
// drawn for: the pictures the text sits on do not grow with the desktop's font
// DPI, so neither may the text. (A desktop scaled as a whole still scales both.)
void SetDesignPointSize(QFont &font, double points);
