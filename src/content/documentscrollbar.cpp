// SPDX-License-Identifier: GPL-3.0-or-later

#include "documentscrollbar.h"

#include "base/numbers.h"
#include "base/settings.h"
#include "pageview/documentview.h"
#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "widgets/activelink.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <cmath>

namespace {

void setPictureSized(QLabel *label, const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    label->setPixmap(pixmap);
    label->resize(pixmap.size());
}

} // namespace

DocumentScrollBar::DocumentScrollBar(
    const ScrollBarControls &controls, DocumentView *RTF, QWidget *RTFP, const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_RTF(RTF)
    , m_RTFP(RTFP)
    , m_settings(settings)
{
    m_c.TimerScroll->stop();
    connect(m_c.TimerScroll, &QTimer::timeout, this, &DocumentScrollBar::TimerScrollTick);
    connect(m_c.ScrollUp, &ActiveLink::MouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            ArrowPressed(QStringLiteral("UP"));
    });
    connect(m_c.ScrollDown, &ActiveLink::MouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            ArrowPressed(QStringLiteral("DOWN"));
    });
    for (ActiveLink *arrow : { m_c.ScrollUp, m_c.ScrollDown }) {
        connect(arrow, &ActiveLink::MouseUp, this, [this, arrow](Qt::MouseButton button, const QPoint &pos) {
            // The arrow reports its click straight after this release when the
            // pointer is still over it.
            ArrowReleased(button == Qt::LeftButton && arrow->rect().contains(pos));
        });
    }
    connect(m_c.ScrollUp, &ActiveLink::Click, this, &DocumentScrollBar::ScrollUpClick);
    connect(m_c.ScrollDown, &ActiveLink::Click, this, &DocumentScrollBar::ScrollDownClick);
    m_c.ScrollLine->installEventFilter(this);
    m_c.scrollpos->installEventFilter(this);
    connect(m_RTF, &DocumentView::DocumentComplete, this, &DocumentScrollBar::SyncThumb);
    connect(m_RTF, &DocumentView::ScrollChanged, this, [this] {
        if (!m_scrolling && !ThumbDragging)
            SyncThumb();
    });
}

void DocumentScrollBar::LoadSkin(const QString &imagesPath, const QColor &backColor)
{
    const QCursor hand = SkinHandCursor(imagesPath);
    const auto arrow = [&](ActiveLink *button, const QString &rest, const QString &hover) {
        button->setAlwayshandcursor(true);
        button->setBackcolor(backColor);
        button->setActivebackcolor(backColor);
        SetButtonPictures(button, imagesPath, rest, hover);
    };
    arrow(m_c.ScrollUp, QStringLiteral("scrollup.jpg"), QStringLiteral("scrollupActive.jpg"));
    arrow(m_c.ScrollDown, QStringLiteral("scrolldown.jpg"), QStringLiteral("scrolldownActive.jpg"));
    m_thumb = LoadSkinPicture(imagesPath, QStringLiteral("ScrollPosition.jpg"));
    m_thumbHeld = LoadSkinPicture(imagesPath, QStringLiteral("ScrollPositionActive.jpg"));
    setPictureSized(m_c.scrollpos, m_thumb);
    m_c.scrollpos->setCursor(hand);
    const QPixmap track = LoadSkinPicture(imagesPath, QStringLiteral("ScrollLine.jpg"));
    if (!track.isNull()) {
        m_c.ScrollLine->setPixmap(track);
        m_c.ScrollLine->resize(track.width(), m_c.ScrollLine->height());
    }
    m_c.ScrollLine->setCursor(hand);
}

int DocumentScrollBar::ThumbTop() const
{
    return m_c.scrollpos->y();
}

int DocumentScrollBar::ScrollRange() const
{
    return m_RTF->ScrollHeight() - m_RTF->Widget()->height();
}

bool DocumentScrollBar::Scrollable() const
{
    return ScrollRange() > 0;
}

double DocumentScrollBar::FractionOfThumb() const
{
    const int travel = ThumbMax - ThumbMin;
    return travel > 0 ? double(ThumbTop() - ThumbMin) / travel : 0.0;
}

void DocumentScrollBar::PlaceThumb(double top)
{
    m_c.scrollpos->move(m_c.scrollpos->x(), RoundToCoordinate(top));
}

void DocumentScrollBar::PlaceThumbAtFraction()
{
    PlaceThumb(double(ThumbMax - ThumbMin) * ScrollFraction + ThumbMin);
}

void DocumentScrollBar::ThumbFromDocument()
{
    const int range = ScrollRange();
    ScrollFraction = range > 0 ? double(m_RTF->ScrollTop()) / range : 0.0;
    PlaceThumbAtFraction();
}

void DocumentScrollBar::SetScrollTop(int top)
{
    m_scrolling = true;
    m_RTF->SetScrollTop(top);
    m_scrolling = false;
}

void DocumentScrollBar::RecomputeTrack()
{
    const QLabel *thumb = m_c.scrollpos;
    ThumbMax = qint16(RoundToCoordinate(m_c.ScrollDown->y() - thumb->height()));
    ThumbMin = qint16(RoundToCoordinate(m_c.ScrollUp->y() + m_c.ScrollUp->height()));
    m_c.ScrollLine->resize(m_c.ScrollLine->width(), qMax(0, ThumbMax - ThumbMin + thumb->height()));
}

void DocumentScrollBar::LayoutScrollBar()
{
    ActiveLink *up = m_c.ScrollUp;
    ActiveLink *down = m_c.ScrollDown;
    QLabel *thumb = m_c.scrollpos;
    up->move(FormDesign::ScrollBarLeft, m_RTFP->y());
    down->move(up->x(), m_RTFP->y() + m_RTFP->height() - down->height());
    thumb->move(RoundToCoordinate(up->x() + (up->width() - thumb->width()) / 2.0), up->y() + up->height());
    m_c.ScrollLine->move(RoundToCoordinate(thumb->x() + (thumb->width() - m_c.ScrollLine->width()) / 2.0), 0);
    RecomputeTrack();
    m_c.ScrollLine->move(m_c.ScrollLine->x(), ThumbMin);
    ScrollFraction = FractionOfThumb();
    for (QWidget *w : std::initializer_list<QWidget *> { m_c.ScrollLine, thumb, up, down }) {
        w->show();
        w->raise();
    }
}

void DocumentScrollBar::Hide()
{
    m_c.TimerScroll->stop();
    for (QWidget *w : std::initializer_list<QWidget *> { m_c.ScrollLine, m_c.scrollpos, m_c.ScrollUp, m_c.ScrollDown })
        w->hide();
}

void DocumentScrollBar::SyncThumb()
{
    if (m_RTF->LocationURL().isEmpty() || m_RTF->Busy() || !Scrollable())
        return;
    ThumbFromDocument();
}

void DocumentScrollBar::ArrowPressed(const QString &direction)
{
    ScrollDirection = direction;
    m_heldTicks = 0;
    m_skipClick = false;
    m_c.TimerScroll->start();
}

// The hold ends here, whether or not a click follows: a key or a screen reader
// pressing an arrow later is a click of its own.
void DocumentScrollBar::ArrowReleased(bool clickFollows)
{
    m_c.TimerScroll->stop();
    m_skipClick = clickFollows && m_heldTicks > 0;
    m_heldTicks = 0;
}

bool DocumentScrollBar::TakeClickAfterHold()
{
    const bool skip = m_skipClick;
    m_skipClick = false;
    return skip;
}

// A click jumps to the page's top or end. After a hold that already scrolled,
// the release's click would throw away the place the learner scrolled to, so
// it is left out then.
void DocumentScrollBar::ScrollUpClick()
{
    if (TakeClickAfterHold())
        return;
    PlaceThumb(ThumbMin);
    ScrollFraction = 0;
    SetScrollTop(0);
}

void DocumentScrollBar::ScrollDownClick()
{
    if (TakeClickAfterHold())
        return;
    PlaceThumb(ThumbMax);
    ScrollFraction = 1;
    SetScrollTop(m_RTF->ScrollHeight() - m_RTF->Widget()->height());
}

void DocumentScrollBar::TimerScrollTick()
{
    const int top = m_RTF->ScrollTop();
    if (ScrollDirection == QLatin1String("UP") && top > 0) {
        ++m_heldTicks;
        SetScrollTop(top - m_settings.ScrollStep);
        ThumbFromDocument();
        if (m_RTF->ScrollTop() <= 0) {
            PlaceThumb(ThumbMin);
            ScrollFraction = 0;
        }
    } else if (ScrollDirection == QLatin1String("DOWN") && top < ScrollRange()) {
        ++m_heldTicks;
        SetScrollTop(top + m_settings.ScrollStep);
        ThumbFromDocument();
        if (ThumbTop() >= ThumbMax) {
            PlaceThumb(ThumbMax);
            ScrollFraction = 1;
        }
    } else {
        // Nothing left to scroll this way: the timer rests until the next press.
        m_c.TimerScroll->stop();
    }
}

void DocumentScrollBar::TrackMouseMove(int y)
{
    LastTrackY = qint16(qBound(-32768, y, 32767));
}

void DocumentScrollBar::TrackClick()
{
    const int clickPoint = ThumbMin + LastTrackY;
    const int top = m_RTF->ScrollTop();
    if (clickPoint > ThumbTop()) {
        if (top < ScrollRange()) {
            SetScrollTop(top + m_settings.PageStep);
            const int range = ScrollRange();
            ScrollFraction = range > 0 ? double(m_RTF->ScrollTop()) / range : 0.0;
            const double thumbTop = double(ThumbMax - ThumbMin) * ScrollFraction + ThumbMin;
            if (RoundToCoordinate(thumbTop) < ThumbMax) {
                PlaceThumb(thumbTop);
            } else {
                SetScrollTop(range);
                PlaceThumb(ThumbMax);
                ScrollFraction = 1;
            }
        }
    } else if (top > 0) {
        SetScrollTop(top - m_settings.PageStep);
        ThumbFromDocument();
        if (m_RTF->ScrollTop() <= 0) {
            PlaceThumb(ThumbMin);
            ScrollFraction = 0;
        }
    }
    ScrollFraction = FractionOfThumb();
}

void DocumentScrollBar::ThumbMouseDown()
{
    if (Scrollable())
        ThumbDragging = true;
    if (!m_thumbHeld.isNull())
        m_c.scrollpos->setPixmap(m_thumbHeld);
}

void DocumentScrollBar::ThumbMouseMove(int y)
{
    if (!ThumbDragging)
        return;
    LastTrackY = qint16(qBound(-32768, y, 32767));
    const double wanted = ThumbTop() - m_c.scrollpos->height() / 2.0 + LastTrackY;
    PlaceThumb(qBound<double>(ThumbMin, wanted, qMax(ThumbMin, ThumbMax)));
    ScrollFraction = FractionOfThumb();
    SetScrollTop(RoundToCoordinate(ScrollRange() * ScrollFraction));
}

void DocumentScrollBar::ThumbMouseUp()
{
    ThumbDragging = false;
    if (!m_thumb.isNull())
        m_c.scrollpos->setPixmap(m_thumb);
}

bool DocumentScrollBar::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const int y = qRound(mouse->position().y());
    if (watched == m_c.ScrollLine) {
        if (type == QEvent::MouseMove) {
            TrackMouseMove(y);
        } else if (mouse->button() == Qt::LeftButton && type == QEvent::MouseButtonPress) {
            TrackMouseMove(y);
        } else if (mouse->button() == Qt::LeftButton && m_c.ScrollLine->rect().contains(mouse->position().toPoint())) {
            TrackClick();
        }
        return true;
    }
    if (watched == m_c.scrollpos) {
        if (type == QEvent::MouseMove)
            ThumbMouseMove(y);
        else if (mouse->button() == Qt::LeftButton && type == QEvent::MouseButtonPress)
            ThumbMouseDown();
        else if (mouse->button() == Qt::LeftButton)
            ThumbMouseUp();
        return true;
    }
    return false;
}
