#pragma once

#include <QString>

// Small helpers every part of the window uses.

// True when the value is a whole number that fits in 16 signed bits. Never fails.
bool IsInteger(double value);
bool IsInteger(const QString &text);

// True for an existing ordinary file; folders and hidden files do not count.
bool FileExists(const QString &path);

// Short (8.3) names do not exist here: the path is its own short form.
QString ShortPath(const QString &path);
