// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/takecomparison.h"

#include <QColor>
#include <QWidget>

// The reciter's recitation above the learner's take, both as loudness envelopes
// on one warped time axis, with the stretches held too long or too short
// marked. Drawn in code so that it suits any skin; the colours come from it.
class CompareView final : public QWidget
{
    Q_OBJECT
public:
    explicit CompareView(QWidget *parent = nullptr);

    void SetColors(const QColor &text, const QColor &meter);
    void SetComparison(const TakeComparison &comparison);
    // The edges of the words, in seconds of each file, marked on both lanes
    // (the comparison's takes judged word by word); cleared with the comparison.
    void SetWordEdges(std::vector<double> reference, std::vector<double> take);
    // Where an edge is drawn: the step of the aligned path it falls on.
    int StepOf(double seconds, bool reference) const;
    void SetBusy();
    void Clear();
    const TakeComparison &Comparison() const { return m_comparison; }

    // The marked stretch under a point, or -1.
    int SegmentAt(const QPointF &point) const;
    QRectF SegmentRect(int index) const;
    // The stretch heard over and over, drawn with a loop; -1 for none.
    void SetRepeating(int index);
    int Repeating() const { return m_repeating; }

signals:
    // The learner asked to hear a marked stretch (click, or Enter on the chosen one).
    void SegmentActivated(int index);
    // Shift with the click or the key: the stretch on repeat, or off it again.
    void SegmentRepeatToggled(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class State { Empty, Busy, Shown };
    QRectF plotArea() const;
    double xOfStep(double step) const;
    void drawEnvelope(QPainter &painter, const QRectF &band, bool reference) const;
    void drawEdges(QPainter &painter, const QRectF &band, const std::vector<double> &edges, bool reference) const;
    void updateAccessibleText();

    State m_state = State::Empty;
    TakeComparison m_comparison;
    QColor m_text = Qt::black;
    QColor m_meter = QColor(0, 160, 0);
    int m_chosen = -1;
    int m_repeating = -1;
    std::vector<double> m_referenceEdges;
    std::vector<double> m_takeEdges;
};
