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

    // Where the bar may stand while the panel is open: the pane keeps a height of
    // 0 or more and the bar stays above its closed place.
    int HighestBarTop() const;
    int LowestBarTop() const;

    const PaneControls &Controls() const { return m_c; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetPaneHeight(int height);
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
