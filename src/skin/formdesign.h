// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QRect>

// Design places of the main window's fixed controls, in pixels of its client
// area. The window places its controls here and the skin painter draws the
// background under them, so both read them from this one place.
namespace FormDesign {

constexpr int WindowWidth = 786;
constexpr int WindowHeight = 632;

// The exit and minimise buttons sit centred in the two round pieces at the top
// right of the outline.
constexpr QPoint ExitCentre(743, 39);
constexpr QPoint MinimizeCentre(607, 39);

// The document pane: fixed left, top and width; its height follows the examples bar.
constexpr int PaneLeft = 32;
constexpr int PaneTop = 63;
constexpr int PaneWidth = 505;
// Between the pane's bottom and the examples bar.
constexpr int PaneGap = 10;
// Bottom edge of the examples bar when the panel is shut.
constexpr int BarBottom = 575;
// The page view reaches this far past the pane on each side, so that a browser's
// own edges stay out of sight: 20 left and bottom, 2 top and right.
constexpr int ViewOverhangLeft = 20;
constexpr int ViewOverhangTop = 2;
constexpr int ViewExtra = 22;
// Between the examples bar picture and the example title under it.
constexpr int SampleTitleGap = 3;

// The document's own scroll bar stands left of the pane; the splitter's guide
// line starts at the same left.
constexpr int ScrollBarLeft = 8;
constexpr QSize ScrollArrowDesign(20, 18);
constexpr QSize ThumbDesign(14, 36);
constexpr int TrackDesignWidth = 4;

// The index lesson's title frame: the title near its top, the entry links
// centred under it, one every LinkStep pixels.
constexpr int BabTitleTop = 40;
constexpr int FirstLinkGap = 70;
constexpr int LinkStep = 60;
constexpr QSize LinkSize(200, 40);

// The lesson menu's viewport.
constexpr QRect MenuFrame(560, 136, 177, 433);

// The speaker and microphone icons; their volume bars run leftwards from them.
constexpr QPoint WaveIcon(330, 587);
constexpr QPoint MicIcon(190, 587);

} // namespace FormDesign
