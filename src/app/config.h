// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/settings.h"

#include <QString>
#include <QStringList>

class QIODevice;

// config.ini: 21 lines, "key=value", meaning by position only. The key is free
// text for the course author. A missing file gives the defaults; a value that
// does not convert gives its zero value (0, black, an empty font name); lines
// missing from a short file keep their defaults.
void ReadConfig(const QString &path, Settings &settings);
// The same from an open device (the file's bytes).
void ReadConfig(QIODevice &device, Settings &settings);
// The value parts of the lines ReadConfig reads, in order: at most 21, fewer
// when the file is shorter.
QStringList ConfigValues(QIODevice &device);

// savedoptions.ini: the examples bar's remembered top. Missing file: 450; a
// first line that is not a 16-bit number: 0.
void LoadOptions(const QString &path, Settings &settings);
void LoadOptions(QIODevice &device, Settings &settings);

// Writes " 380 \r\n" (a blank, the number, a blank, CR LF; no leading blank for a
// negative number) through a temporary file, so an interrupted write never leaves
// a truncated file. Returns false when the folder is not writable.
bool SaveOptions(const QString &path, const Settings &settings);

// The exact bytes SaveOptions writes.
QByteArray FormatOptions(qint16 splitterTop);

// Number of lines config.ini is read for.
inline constexpr int ConfigLines = 21;
