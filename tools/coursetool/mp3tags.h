// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Writes the two tags the program reads from an example's sound: the clip title
// (the verse, or nothing when the example shows a picture) and the clip author.
class Mp3Tags final
{
public:
    static bool Write(const QString &path, const QString &title, const QString &artist, QString &error);
};
