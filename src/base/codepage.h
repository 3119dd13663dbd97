// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

// Text in Windows-1256, the Arabic code page the course's own files (the
// configuration, the table of contents, the examples' lists and older pages)
// are written in. The code page maps every byte, so nothing is ever refused.
//
// Decoded here rather than by QStringDecoder: Qt reaches this code page only
// through ICU, whose converter loads a megabyte of library and data before the
// first page, for a table of 128 characters.
QString FromWindows1256(QByteArrayView bytes);
