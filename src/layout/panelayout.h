// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "layout/panecontrols.h"

#include <QObject>
#include <QString>
#include <functional>

class DocumentScrollBar;
class DocumentView;
struct Settings;

// The split of the window's left part between the document pane and the
// examples panel below it: the pane's layout for a page, the stepwise slide of
// the examples bar, and the splitter the learner drags.
class PaneLayout final : public QObject
{
    Q_OBJECT
public:
    struct Callouts
    {
        std::function<void()> LayoutExamplesPanel;
        // How much further down the open panel reaches than the closed bar: the
        // reciter's line under the bar and the recorder strip under that.
        std::function<int()> OpenPanelExtent;
    };

    PaneLayout(const PaneControls &controls, QWidget *RTFP, DocumentView *RTF, QWidget *BabFrame,
        DocumentScrollBar &scrollBar, Settings &settings, Callouts callouts, QObject *parent = nullptr);

    // The bar's picture and the places that follow from its size: the bar at
    // its closed place, the panel body empty under it, the guide line.
    void LoadSkin(const QString &imagesPath, const QColor &backColor);

    void LayoutDocumentPane();
    // "V+" lowers the bar (the panel shuts), "V-" raises it (the panel opens).
    void SlidePanelBar(const QString &direction, qint32 distance, qint16 step);
    qint16 PanelClosedTop() const { return m_panelClosedTop; }
    // The scroll track from the arrows' places, after the panel opened or shut.
    void RecomputeScrollTrack();
    void ShowSplitter(bool on);

    void SplitterPress();
    void SplitterMove(double y);
    void SplitterRelease();

    // Where the bar may stand while the panel is open, for the pane as it is
    // placed now (an entry's sub-page starts lower than a lesson's page): the
    // pane keeps room for its scroll bar's arrows and thumb, and the open panel
    // keeps its recorder strip inside the window.
    int HighestBarTop() const;
    int LowestBarTop() const;
    // A remembered place from a larger window or a hand-edited file made usable;
    // run once the skin and the ordinary page's pane are laid out.
    void ClampSplitterTop();

    const PaneControls &Controls() const { return m_c; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetPaneHeight(int height);
    int MinimumPaneHeight() const;
    void FitViewToPane();

    PaneControls m_c;
    QWidget *m_RTFP;
    DocumentView *m_RTF;
    QWidget *m_BabFrame;
    DocumentScrollBar &m_scrollBar;
    Settings &m_settings;
    Callouts m_callouts;

    qint16 m_panelClosedTop = 0;
    bool m_dragging = false;
    qint16 m_dragStartTop = 0;
    qint16 m_dragOffset = 0;
};
