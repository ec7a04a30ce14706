// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/graphsettings.h"

#include <QPointF>
#include <QString>

namespace lw {

// What the coordinate system and the plotter draw on: the picture area, the
// print-out, a recording for tests and traces, or an export file. Positions
// are pixels, (0, 0) top left, y downward.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual void clear() = 0;
    virtual void line(int x1, int y1, int x2, int y2, Colour colour) = 0;
    virtual void point(int x, int y, Colour colour) = 0;
    // A vector file takes a curve at the exact positions of its samples, so that the curve stays
    // smooth when scaled. The plotter asks once a curve and then calls these instead of line()
    // and point(); positions are pixels as theirs are, without rounding.
    virtual bool takesExactPositions() const { return false; }
    virtual void exactLine(QPointF from, QPointF to, Colour colour)
    {
        line(qRound(from.x()), qRound(from.y()), qRound(to.x()), qRound(to.y()), colour);
    }
    virtual void exactPoint(QPointF at, Colour colour)
    {
        point(qRound(at.x()), qRound(at.y()), colour);
    }
    // Where and in which colour the next text goes: state that every surface keeps alike.
    void setTextPosition(int x, int y)
    {
        m_textX = x;
        m_textY = y;
    }
    void setTextColour(Colour colour) { m_textColour = colour; }
    // Top-left corner of the text at the text position.
    virtual void text(const QString &text) = 0;

protected:
    int textX() const { return m_textX; }
    int textY() const { return m_textY; }
    Colour textColour() const { return m_textColour; }
    // For surfaces that pass their operations on: the text at this surface's position and colour.
    void passTextOn(DrawingSurface &target, const QString &text) const
    {
        target.setTextPosition(m_textX, m_textY);
        target.setTextColour(m_textColour);
        target.text(text);
    }

private:
    int m_textX = 0;
    int m_textY = 0;
    Colour m_textColour = 0;
};

// A surface that keeps nothing: what a picture draws on before it has one.
DrawingSurface &NoSurface();

} // namespace lw
