// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pagecontrols.h"

#include <QObject>
#include <QPixmap>
#include <QString>

class DocumentView;
struct Settings;

// The skinned vertical scroll bar of the lesson page: arrows that repeat while
// held, a track that pages, a thumb that drags, and a thumb that follows the
// page however it was scrolled. Thumb tops are whole pixels of the window.
class DocumentScrollBar final : public QObject
{
    Q_OBJECT
public:
    DocumentScrollBar(const ScrollBarControls &controls, DocumentView *RTF, QWidget *RTFP, const Settings &settings,
        QObject *parent = nullptr);

    // The bar's pictures and pointers; backColor behind the arrows.
    void LoadSkin(const QString &imagesPath, const QColor &backColor);

    // Laid out bars show; the bar hides while no page is shown (an index list).
    void LayoutScrollBar();
    void Hide();
    // ThumbMin, ThumbMax and the track's height from the arrows' current places.
    void RecomputeTrack();
    void SyncThumb();
    // The thumb at fraction ScrollFraction of its travel.
    void PlaceThumbAtFraction();

    void ArrowPressed(const QString &direction);
    // clickFollows: the release was over the arrow, which reports a click next.
    void ArrowReleased(bool clickFollows = false);
    void ScrollUpClick();
    void ScrollDownClick();
    void TimerScrollTick();
    void TrackMouseMove(int y);
    void TrackClick();
    void ThumbMouseDown();
    void ThumbMouseMove(int y);
    void ThumbMouseUp();

    int ThumbTop() const;
    const ScrollBarControls &Controls() const { return m_c; }

    qint16 ThumbMin = 0;
    qint16 ThumbMax = 0;
    double ScrollFraction = 0;
    // "UP" or "DOWN": what the timer does on its next tick.
    QString ScrollDirection;
    bool ThumbDragging = false;
    qint16 LastTrackY = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int ScrollRange() const;
    bool Scrollable() const;
    // Fraction of the thumb's place in its travel; 0 on a track of no length.
    double FractionOfThumb() const;
    void PlaceThumb(double top);
    void ThumbFromDocument();
    void SetScrollTop(int top);
    bool TakeClickAfterHold();

    ScrollBarControls m_c;
    DocumentView *m_RTF;
    QWidget *m_RTFP;
    const Settings &m_settings;
    QPixmap m_thumb;
    QPixmap m_thumbHeld;
    // Set while the bar itself scrolls the page, so that only other scrolling
    // (wheel, keys, anchors) moves the thumb after the page.
    bool m_scrolling = false;
    // Ticks of the held arrow since its press.
    int m_heldTicks = 0;
    // The click that a release after a scrolling hold brings is not a jump.
    bool m_skipClick = false;
};
