// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

// One palette for the whole skin: a deep green frame, warm gold accents and a
// parchment reading area, so every picture reads as part of one product.
namespace Palette {

inline const QColor FrameDark { 0x12, 0x36, 0x28 };
inline const QColor Frame { 0x17, 0x40, 0x2F };
inline const QColor FrameLight { 0x24, 0x60, 0x4A };
inline const QColor FrameGlow { 0x3C, 0x7D, 0x62 };
inline const QColor Gold { 0xC9, 0xA3, 0x4E };
inline const QColor GoldLight { 0xE9, 0xCC, 0x7E };
inline const QColor GoldDark { 0x8E, 0x6F, 0x2C };
// The menu, the examples panel and the reading area share this colour, which
// config.ini also names as the menu's background.
inline const QColor Parchment { 0xF6, 0xEF, 0xDC };
inline const QColor ParchmentLight { 0xFB, 0xF7, 0xEC };
inline const QColor ParchmentDeep { 0xEC, 0xE0, 0xC0 };
inline const QColor Ink { 0x2B, 0x2A, 0x22 };
inline const QColor Brown { 0x5A, 0x44, 0x22 };
inline const QColor Red { 0xB0, 0x3A, 0x2E };
inline const QColor RedLight { 0xD9, 0x5B, 0x45 };

} // namespace Palette
