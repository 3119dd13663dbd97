// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QFrame;
class QLabel;
class QWidget;

// The examples bar and the panel body hanging from it, the splitter on the bar
// and the guide line shown while the splitter is dragged. Made once with the
// main window. The examples panel's own buttons go into FrameBar and Samples.
struct PaneControls
{
    QWidget *FrameBar = nullptr;
    QLabel *ImSamplesBar = nullptr;
    QLabel *Splitter = nullptr;
    QFrame *Line1 = nullptr;
    QWidget *Samples = nullptr;
};

PaneControls CreatePaneControls(QWidget *main);
