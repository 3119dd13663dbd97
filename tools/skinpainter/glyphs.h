// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QRectF>

// The icons of the skin as vector outlines, each filling the given box, so the
// same glyph draws crisply at any button size.
class Glyphs final
{
public:
    static QPainterPath Cross(const QRectF &box, double weight);
    static QPainterPath Dash(const QRectF &box, double weight);
    static QPainterPath Play(const QRectF &box);
    static QPainterPath Pause(const QRectF &box);
    static QPainterPath Stop(const QRectF &box);
    static QPainterPath Dot(const QRectF &box);
    static QPainterPath Speaker(const QRectF &box);
    static QPainterPath SoundWaves(const QRectF &box, double weight);
    static QPainterPath Microphone(const QRectF &box, double weight);
    static QPainterPath Headphones(const QRectF &box, double weight);
    static QPainterPath Chevron(const QRectF &box, bool up, double weight);
    static QPainterPath Triangle(const QRectF &box, bool up);
    static QPainterPath Check(const QRectF &box, double weight);
    static QPainterPath Hand();
};
