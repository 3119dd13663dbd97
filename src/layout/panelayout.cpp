// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelayout.h"

#include "base/settings.h"
#include "content/documentscrollbar.h"
#include "pageview/documentview.h"
#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "widgets/activelink.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

using namespace FormDesign;

PaneLayout::PaneLayout(const PaneControls &controls, QWidget *RTFP, DocumentView *RTF, QWidget *BabFrame,
    DocumentScrollBar &scrollBar, Settings &settings, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_RTFP(RTFP)
    , m_RTF(RTF)
    , m_BabFrame(BabFrame)
    , m_scrollBar(scrollBar)
    , m_settings(settings)
    , m_callouts(std::move(callouts))
{
    m_c.Splitter->installEventFilter(this);
}

void PaneLayout::LoadSkin(const QString &imagesPath, const QColor &backColor)
{
    const QPixmap bar = LoadSkinPicture(imagesPath, QStringLiteral("SamplesBar.jpg"));
    if (!bar.isNull()) {
        m_c.ImSamplesBar->setPixmap(bar);
        m_c.ImSamplesBar->resize(bar.size());
    }
    m_c.ImSamplesBar->move(0, 0);
    m_c.Splitter->setGeometry(m_c.ImSamplesBar->geometry());
    m_c.Splitter->hide();

    for (QWidget *w : { m_c.FrameBar, m_c.Samples }) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, backColor);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
    // The bar reaches down to the example title's line.
    const int barHeight = m_c.ImSamplesBar->height() + SampleTitleGap;
    m_panelClosedTop = qint16(BarBottom - barHeight);
    m_c.FrameBar->setGeometry(PaneLeft, m_panelClosedTop, PaneWidth, barHeight);
    m_c.Samples->setGeometry(PaneLeft, BarBottom, PaneWidth, 0);
    m_c.Samples->hide();

    // The guide runs across the scroll bar and the pane.
    m_c.Line1->setGeometry(ScrollBarLeft, 0, m_c.Samples->x() + m_c.Samples->width() - ScrollBarLeft, 1);
    m_c.Line1->hide();
    m_c.Line1->raise();
}

// Shorter than this, the down arrow would climb above the up arrow and the
// thumb would have no travel.
int PaneLayout::MinimumPaneHeight() const
{
    const ScrollBarControls &bar = m_scrollBar.Controls();
    return bar.ScrollUp->height() + bar.scrollpos->height() + bar.ScrollDown->height();
}

// The pane is never above its design top, even before it is first laid out.
int PaneLayout::HighestBarTop() const
{
    return qMax(int(PaneTop), m_RTFP->y()) + MinimumPaneHeight() + PaneGap;
}

int PaneLayout::LowestBarTop() const
{
    const int extent = m_callouts.OpenPanelExtent ? qMax(0, m_callouts.OpenPanelExtent()) : 0;
    return qMax(HighestBarTop(), m_panelClosedTop - extent);
}

void PaneLayout::ClampSplitterTop()
{
    m_settings.SplitterTop = qint16(qBound(HighestBarTop(), int(m_settings.SplitterTop), LowestBarTop()));
}

void PaneLayout::SetPaneHeight(int height)
{
    m_RTFP->resize(m_RTFP->width(), qMax(0, height));
}

void PaneLayout::FitViewToPane()
{
    m_RTF->Widget()->setGeometry(
        -ViewOverhangLeft, -ViewOverhangTop, m_RTFP->width() + ViewExtra, m_RTFP->height() + ViewExtra);
    m_RTF->SetHiddenEdges(
        QMargins(ViewOverhangLeft, ViewOverhangTop, ViewExtra - ViewOverhangLeft, ViewExtra - ViewOverhangTop));
}

void PaneLayout::LayoutDocumentPane()
{
    m_RTFP->show();
    if (m_BabFrame)
        m_BabFrame->hide();
    m_RTFP->setGeometry(PaneLeft, PaneTop, PaneWidth, qMax(0, m_c.FrameBar->y() - PaneTop - PaneGap));
    m_scrollBar.LayoutScrollBar();
    FitViewToPane();
}

// The steps of a slide run back to back inside this one call, with no repaint
// between them, so only the final state is ever seen: it is set at once. That
// state is T0 + d or T0 - d exactly, whatever the step.
void PaneLayout::SlidePanelBar(const QString &direction, qint32 distance, qint16 step)
{
    Q_UNUSED(step); // a step below 1 would count as 1; either way the end is the same
    const int T0 = m_c.FrameBar->y();
    const int H0 = m_RTFP->height();
    const int S0 = m_c.Samples->height();
    const int Y0 = m_c.Samples->y();
    int d = int(qBound<qint32>(-100000, distance, 100000));
    // The bar opens to the learner's place as far as the pane on show allows:
    // an entry's sub-page starts lower than the place may have been set for.
    if (direction == QLatin1String("V-"))
        d = T0 - qBound(HighestBarTop(), T0 - d, LowestBarTop());
    if (direction == QLatin1String("V+")) {
        m_c.FrameBar->move(m_c.FrameBar->x(), T0 + d);
        SetPaneHeight(H0 + d);
        m_c.Samples->setGeometry(m_c.Samples->x(), Y0 + d, m_c.Samples->width(), qMax(0, S0 - d));
    } else if (direction == QLatin1String("V-")) {
        m_c.FrameBar->move(m_c.FrameBar->x(), T0 - d);
        SetPaneHeight(H0 - d);
        // The body hangs one pixel lower than the bar's own travel.
        m_c.Samples->setGeometry(m_c.Samples->x(), Y0 - d + 1, m_c.Samples->width(), qMax(0, S0 + d));
    }

    FitViewToPane();
    const ScrollBarControls &bar = m_scrollBar.Controls();
    bar.ScrollDown->move(bar.ScrollDown->x(), m_RTFP->y() + m_RTFP->height() - bar.ScrollDown->height());
    m_scrollBar.ThumbMax = qint16(bar.ScrollDown->y() - bar.scrollpos->height());
    m_scrollBar.ThumbMin = qint16(bar.ScrollUp->y() + bar.ScrollUp->height());
    // The thumb keeps its relative place; the track waits for the caller.
    m_scrollBar.PlaceThumbAtFraction();
    m_RTFP->update();
}

void PaneLayout::RecomputeScrollTrack()
{
    m_scrollBar.RecomputeTrack();
}

void PaneLayout::ShowSplitter(bool on)
{
    m_c.Splitter->setGeometry(m_c.ImSamplesBar->geometry());
    m_c.Splitter->setVisible(on);
}

void PaneLayout::SplitterPress()
{
    m_dragging = true;
    m_dragStartTop = qint16(m_c.FrameBar->y());
    m_dragOffset = 0;
}

void PaneLayout::SplitterMove(double y)
{
    if (!m_dragging)
        return;
    const int top = qBound(HighestBarTop(), m_dragStartTop + qRound(y), LowestBarTop());
    m_dragOffset = qint16(top - m_dragStartTop);
    m_c.Line1->move(m_c.Line1->x(), m_c.FrameBar->y() + m_c.ImSamplesBar->height() / 2 + m_dragOffset);
    m_c.Line1->show();
    m_c.Line1->raise();
}

void PaneLayout::SplitterRelease()
{
    const int top = qBound(HighestBarTop(), m_dragStartTop + m_dragOffset, LowestBarTop());
    m_c.FrameBar->move(m_c.FrameBar->x(), top);
    m_settings.SplitterTop = qint16(top);
    SetPaneHeight(top - m_RTFP->y() - PaneGap);
    const ScrollBarControls &bar = m_scrollBar.Controls();
    bar.ScrollDown->move(bar.ScrollDown->x(), m_RTFP->y() + m_RTFP->height() - bar.ScrollDown->height());
    m_scrollBar.RecomputeTrack();
    // The thumb stays where it is, unless the shorter pane left it past its travel.
    if (m_scrollBar.ThumbTop() > m_scrollBar.ThumbMax)
        bar.scrollpos->move(bar.scrollpos->x(), qMax(m_scrollBar.ThumbMin, m_scrollBar.ThumbMax));
    FitViewToPane();
    if (m_callouts.LayoutExamplesPanel)
        m_callouts.LayoutExamplesPanel();
    m_dragging = false;
    m_c.Line1->hide();
}

bool PaneLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_c.Splitter)
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (type == QEvent::MouseMove)
        SplitterMove(mouse->position().y());
    else if (mouse->button() == Qt::LeftButton && type == QEvent::MouseButtonPress)
        SplitterPress();
    else if (mouse->button() == Qt::LeftButton && m_dragging)
        SplitterRelease();
    return true;
}
