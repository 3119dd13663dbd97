// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/compareview.h"

#include "base/numbers.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr double Margin = 2.0;
// Envelopes are drawn from this far below the loudest frame up to it.
constexpr float FloorDb = -45.0f;

double amplitude(float levelDb)
{
    return std::clamp(double(levelDb - FloorDb) / -FloorDb, 0.0, 1.0);
}

} // namespace

CompareView::CompareView(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(false);
    hide();
}

void CompareView::SetColors(const QColor &text, const QColor &meter)
{
    m_text = text;
    m_meter = meter;
    update();
}

void CompareView::SetComparison(const TakeComparison &comparison)
{
    m_comparison = comparison;
    m_referenceEdges.clear();
    m_takeEdges.clear();
    m_state = State::Shown;
    m_chosen = comparison.segments.empty() ? -1 : 0;
    m_repeating = -1;
    updateAccessibleText();
    update();
}

void CompareView::SetBusy()
{
    m_comparison = {};
    m_state = State::Busy;
    m_chosen = -1;
    m_repeating = -1;
    updateAccessibleText();
    update();
}

void CompareView::Clear()
{
    m_comparison = {};
    m_referenceEdges.clear();
    m_takeEdges.clear();
    m_state = State::Empty;
    m_chosen = -1;
    m_repeating = -1;
    updateAccessibleText();
    update();
}

void CompareView::updateAccessibleText()
{
    QString name;
    QString description;
    if (m_state == State::Busy) {
        name = QStringLiteral("جارٍ مقارنة تسجيلك بتلاوة القارئ");
    } else if (m_state == State::Shown) {
        name = m_comparison.Sentence();
        description = m_comparison.Durations();
        if (!m_comparison.segments.empty())
            description
                += QStringLiteral("؛ اضغط على موضع معلَّم لسماعه من القارئ ثم منك، ومع Shift لتكراره حتى الإيقاف");
        if (m_repeating >= 0)
            description += QStringLiteral("؛ موضع يتكرر الآن");
    }
    setAccessibleName(name);
    setAccessibleDescription(description);
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent descriptionChanged(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&descriptionChanged);
}

QRectF CompareView::plotArea() const
{
    const double line = fontMetrics().height();
    return QRectF(Margin, Margin + line, width() - 2 * Margin, height() - 2 * Margin - line);
}

double CompareView::xOfStep(double step) const
{
    const QRectF area = plotArea();
    const double steps = std::max<size_t>(1, m_comparison.path.size());
    const double share = std::clamp(step / steps, 0.0, 1.0);
    // Time runs the way the example's text reads.
    return layoutDirection() == Qt::RightToLeft ? area.right() - share * area.width()
                                                : area.left() + share * area.width();
}

QRectF CompareView::SegmentRect(int index) const
{
    if (m_state != State::Shown || index < 0 || index >= int(m_comparison.segments.size()))
        return {};
    const auto &segment = m_comparison.segments[size_t(index)];
    const QRectF area = plotArea();
    const double a = xOfStep(segment.pathStart);
    const double b = xOfStep(segment.pathEnd + 1);
    // Never thinner than a finger's worth of pixels, so it can be clicked.
    QRectF rect(QPointF(std::min(a, b), area.top()), QPointF(std::max(a, b), area.bottom()));
    if (rect.width() < 6)
        rect.adjust(-(6 - rect.width()) / 2, 0, (6 - rect.width()) / 2, 0);
    return rect;
}

int CompareView::SegmentAt(const QPointF &point) const
{
    for (int i = 0; i < int(m_comparison.segments.size()); ++i)
        if (SegmentRect(i).contains(point))
            return i;
    return -1;
}

void CompareView::drawEnvelope(QPainter &painter, const QRectF &band, bool reference) const
{
    const auto &path = m_comparison.path;
    const std::vector<float> &levels = reference ? m_comparison.referenceLevel : m_comparison.takeLevel;
    if (path.empty() || levels.empty())
        return;
    // One column per pixel, the loudest step that falls into it.
    const int columns = std::max(1, int(band.width()));
    std::vector<double> peaks(size_t(columns), 0.0);
    for (size_t k = 0; k < path.size(); ++k) {
        const int frame = reference ? path[k].first : path[k].second;
        if (frame < 0 || frame >= int(levels.size()))
            continue;
        const int column = std::min(columns - 1, int(double(k) / path.size() * columns));
        peaks[size_t(column)] = std::max(peaks[size_t(column)], amplitude(levels[size_t(frame)]));
    }
    const double middle = band.center().y();
    const double half = band.height() / 2;
    QPainterPath shape;
    for (int c = 0; c < columns; ++c) {
        const double x = xOfStep((c + 0.5) * path.size() / columns);
        const QPointF top(x, middle - peaks[size_t(c)] * half);
        c == 0 ? shape.moveTo(top) : shape.lineTo(top);
    }
    for (int c = columns - 1; c >= 0; --c)
        shape.lineTo(xOfStep((c + 0.5) * path.size() / columns), middle + peaks[size_t(c)] * half);
    shape.closeSubpath();
    QColor colour = reference ? m_text : m_meter;
    painter.setPen(QPen(colour, 1));
    colour.setAlpha(150);
    painter.setBrush(colour);
    painter.drawPath(shape);
    painter.drawLine(QPointF(band.left(), middle), QPointF(band.right(), middle));
}

void CompareView::SetWordEdges(std::vector<double> reference, std::vector<double> take)
{
    m_referenceEdges = std::move(reference);
    m_takeEdges = std::move(take);
    update();
}

int CompareView::StepOf(double seconds, bool reference) const
{
    const auto &path = m_comparison.path;
    if (path.empty() || m_comparison.frameSeconds <= 0)
        return -1;
    const double start = reference ? m_comparison.referenceStart : m_comparison.takeStart;
    const double frame = (seconds - start) / m_comparison.frameSeconds;
    const auto at = std::find_if(path.cbegin(), path.cend(),
        [&](const std::pair<int, int> &step) { return (reference ? step.first : step.second) >= frame; });
    return int((at == path.cend() ? path.cend() - 1 : at) - path.cbegin());
}

void CompareView::drawEdges(
    QPainter &painter, const QRectF &band, const std::vector<double> &edges, bool reference) const
{
    QColor colour = reference ? m_text : m_meter;
    colour.setAlpha(170);
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    for (double seconds : edges) {
        const int step = StepOf(seconds, reference);
        if (step < 0)
            continue;
        const double x = xOfStep(step + 0.5);
        painter.drawLine(QPointF(x, band.top()), QPointF(x, band.bottom()));
    }
}

void CompareView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF header(Margin, Margin, width() - 2 * Margin, fontMetrics().height());
    const auto start = Qt::AlignVCenter | Qt::AlignLeading;
    const auto end = Qt::AlignVCenter | Qt::AlignTrailing;

    if (m_state != State::Shown || !m_comparison.IsCompared()) {
        painter.setPen(m_text);
        const QString text = m_state == State::Busy ? accessibleName() : m_comparison.Sentence();
        if (m_state != State::Empty)
            painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, text);
        return;
    }

    painter.setPen(m_text);
    painter.drawText(header, start,
        QStringLiteral("القارئ ") + ArabicSeconds(m_comparison.ReferenceSeconds()) + QStringLiteral(" ث"));
    painter.setPen(m_meter);
    painter.drawText(
        header, end, QStringLiteral("تسجيلك ") + ArabicSeconds(m_comparison.TakeSeconds()) + QStringLiteral(" ث"));

    // The stretches' wash behind the envelopes, their edges over them, so that
    // both stay readable in the skin's own colours.
    const QRectF area = plotArea();
    auto segmentColour = [this](int i) {
        return m_comparison.segments[size_t(i)].kind == TakeComparison::HeldSegment::Kind::Long ? m_meter : m_text;
    };
    for (int i = 0; i < int(m_comparison.segments.size()); ++i) {
        QColor wash = segmentColour(i);
        wash.setAlpha(45);
        painter.fillRect(SegmentRect(i), wash);
    }
    const QRectF upper(area.left(), area.top(), area.width(), area.height() / 2);
    const QRectF lower(area.left(), area.center().y(), area.width(), area.height() / 2);
    drawEnvelope(painter, upper.adjusted(0, 2, 0, -1), true);
    drawEnvelope(painter, lower.adjusted(0, 1, 0, -2), false);
    drawEdges(painter, upper, m_referenceEdges, true);
    drawEdges(painter, lower, m_takeEdges, false);
    for (int i = 0; i < int(m_comparison.segments.size()); ++i) {
        const bool longer = m_comparison.segments[size_t(i)].kind == TakeComparison::HeldSegment::Kind::Long;
        const double thickness = i == m_chosen && hasFocus() ? 3 : 2;
        painter.setPen(QPen(segmentColour(i), thickness, longer ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(SegmentRect(i).adjusted(thickness / 2, thickness / 2, -thickness / 2, -thickness / 2));
    }
    if (m_repeating >= 0 && m_repeating < int(m_comparison.segments.size())) {
        // A loop over the stretch on repeat: an arc whose arrow comes back.
        const QRectF rect = SegmentRect(m_repeating);
        const double d = std::min(10.0, std::max(6.0, rect.width() - 4));
        const QRectF ring(rect.center().x() - d / 2, rect.top() + 2, d, d);
        painter.setPen(QPen(segmentColour(m_repeating), 1.6));
        painter.drawArc(ring, 60 * 16, 300 * 16);
        const QPointF tip(ring.center().x() + d / 4, ring.top() + 0.6);
        painter.drawLine(tip, tip + QPointF(-3, -2));
        painter.drawLine(tip, tip + QPointF(-3, 2));
    }
}

void CompareView::SetRepeating(int index)
{
    if (index == m_repeating)
        return;
    m_repeating = index;
    updateAccessibleText();
    update();
}

void CompareView::mousePressEvent(QMouseEvent *event)
{
    // Elsewhere a press belongs to the window beneath, which drags the skin.
    if (event->button() == Qt::LeftButton && SegmentAt(event->position()) >= 0)
        event->accept();
    else
        event->ignore();
}

void CompareView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const int index = SegmentAt(event->position());
    if (index < 0)
        return QWidget::mouseReleaseEvent(event);
    m_chosen = index;
    update();
    if (event->modifiers() & Qt::ShiftModifier)
        emit SegmentRepeatToggled(index);
    else
        emit SegmentActivated(index);
}

void CompareView::keyPressEvent(QKeyEvent *event)
{
    const int count = int(m_comparison.segments.size());
    if (count == 0)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // Arrows move along the time axis as it is drawn.
        const bool forward = (event->key() == Qt::Key_Left) == (layoutDirection() == Qt::RightToLeft);
        m_chosen = std::clamp(m_chosen + (forward ? 1 : -1), 0, count - 1);
        update();
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_chosen >= 0 && (event->modifiers() & Qt::ShiftModifier))
            emit SegmentRepeatToggled(m_chosen);
        else if (m_chosen >= 0)
            emit SegmentActivated(m_chosen);
        break;
    case Qt::Key_Escape:
        if (m_repeating < 0)
            return QWidget::keyPressEvent(event);
        emit SegmentRepeatToggled(m_repeating);
        break;
    default: QWidget::keyPressEvent(event);
    }
}
