// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's keys, wheel and drag move the view; the pointer's place or the trace in the
// status bar; the centre fields that follow the view.

#include "frmmain.h"

#include "graph/curvelist.h"
#include "graph/graphdraw.h"
#include "graph/viewsteps.h"
#include "picturemenu.h"
#include "pointerposition.h"
#include "settings/colour.h"
#include "settings/graphsettings.h"
#include "settings/options.h"
#include "settings/settingsfields.h"
#include "widgets/picturewidget.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace lw {

void FrmMain::showPointer(QPointF position, Qt::KeyboardModifiers modifiers)
{
    const auto &curves = ScreenPicture().curves;
    const auto traced =
        std::ranges::find(curves.rbegin(), curves.rend(), true, &CurveEntry::visible);
    const bool tracing = (modifiers & Qt::ShiftModifier) || mnuPicture->actTrace->isChecked();
    if (!tracing || traced == curves.rend()) {
        lblPointer->setText(PointerPositionText(position));
        picGraph->setCross(std::nullopt);
        return;
    }
    const TracePoint trace = TraceAt(position, traced->formula);
    // The newest visible curve may be a derivative or a family member: say which one it is.
    lblPointer->setText(QStringLiteral("%1: %2").arg(CurveName(*traced), trace.text));
    picGraph->setCross(trace.at, ToQColor(traced->colour));
}

bool FrmMain::pictureMouse(const QEvent &event)
{
    const QSize pixels = picGraph->surface().size();
    GraphSettingsRecord view = GraphSettings;
    switch (event.type()) {
    case QEvent::Wheel: {
        const auto &wheel = static_cast<const QWheelEvent &>(event);
        // A notch is 120; touchpads send less at a time.
        m_wheelAngle += wheel.angleDelta().y();
        bool moved = false;
        for (; std::abs(m_wheelAngle) >= 120; m_wheelAngle -= m_wheelAngle > 0 ? 120 : -120)
            moved =
                ZoomViewAbout(view, m_wheelAngle < 0, pixels.width(), pixels.height(),
                              std::floor(wheel.position().x()), std::floor(wheel.position().y()))
                || moved;
        if (moved)
            showView(view);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto &press = static_cast<const QMouseEvent &>(event);
        if (press.button() == Qt::LeftButton)
            m_drag = Drag{press.position(), CentreOf(GraphSettings)};
        return false; // the press still gives the picture the focus
    }
    case QEvent::MouseMove: {
        const auto &move = static_cast<const QMouseEvent &>(event);
        if (!m_drag || !(move.buttons() & Qt::LeftButton))
            return false;
        const QPointF moved = move.position() - m_drag->start;
        if (DragView(view, m_drag->centre, moved.x(), moved.y(), pixels.width(), pixels.height())
            && view != GraphSettings)
            showView(view);
        return false; // the pointer field follows too
    }
    case QEvent::MouseButtonRelease: m_drag.reset(); return false;
    default: return false;
    }
}

bool FrmMain::pictureKey(const QKeyEvent &key)
{
    // The menu key, and Shift+F10 where a keyboard has none, open the picture's menu.
    if (key.key() == Qt::Key_Menu
        || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier)) {
        const QPoint centre = picGraph->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre, picGraph->mapToGlobal(centre));
        QCoreApplication::sendEvent(picGraph, &menu);
        return true;
    }
    GraphSettingsRecord view = GraphSettings;
    const QSize pixels = picGraph->surface().size();
    bool moved = false;
    switch (key.key()) {
    case Qt::Key_Plus: moved = ZoomView(view, false, pixels.width(), pixels.height()); break;
    case Qt::Key_Minus: moved = ZoomView(view, true, pixels.width(), pixels.height()); break;
    case Qt::Key_Left: moved = PanView(view, -1, 0); break;
    case Qt::Key_Right: moved = PanView(view, 1, 0); break;
    case Qt::Key_Up: moved = PanView(view, 0, 1); break;
    case Qt::Key_Down: moved = PanView(view, 0, -1); break;
    case Qt::Key_Home:
        // The view of the settings store; what else the store holds stays as it is now.
        TakeView(view, StoredOptions());
        moved = true;
        break;
    default: return false;
    }
    if (moved)
        showView(view);
    return true;
}

void FrmMain::showView(const GraphSettingsRecord &view)
{
    Picture &screen = ScreenPicture();
    const PlotGeometry moved =
        ComputeGeometry(view, screen.geometry.GraphWidth, screen.geometry.GraphHeight);
    const auto shift =
        screen.blank ? std::nullopt : ViewShift(GraphSettings, screen.geometry, view, moved);
    GraphSettings = view;
    // Only the centre: other quick options typed but not yet drawn stay as typed.
    showCentre();
    if (shift) {
        // A move: the picture goes along with the pointer at once, and the strip it uncovers
        // fills when the curves have been drawn again.
        picGraph->surface().showShifted(picGraph->surface(), {shift->first, shift->second});
        screen.geometry = moved;
    } else {
        // The axes at once, so a curve being drawn goes on in the new view; the curves follow.
        RedrawAxes(screen, GraphSettings);
    }
    RequestRedraw();
}

void FrmMain::showCentre()
{
    const ViewCentre centre = CentreOf(GraphSettings);
    const PlotGeometry &g = ScreenPicture().geometry;
    const std::array fields{std::tuple(txtScreenCentralX, centre.x, g.PixelsPerUnitX),
                            std::tuple(txtScreenCentralY, centre.y, g.PixelsPerUnitY)};
    for (std::size_t axis = 0; axis < fields.size(); ++axis) {
        const auto [field, value, pixelsPerUnit] = fields[axis];
        // Wider than its field, the text would show its end only: "0,5231" for "-10,5231".
        const int room = field->contentsRect().width() - field->textMargins().left()
                         - field->textMargins().right()
                         - 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4;
        QString text;
        for (int decimals = CentreDecimals(pixelsPerUnit); decimals >= 0; --decimals) {
            text = DecimalText(value, decimals);
            if (field->fontMetrics().horizontalAdvance(text) <= room)
                break;
        }
        field->setText(text);
        field->setCursorPosition(0);
        m_centreShown[axis] = {text, value};
    }
}

std::optional<double> FrmMain::centreRead(int axis) const
{
    const QLineEdit *field = axis == 0 ? txtScreenCentralX : txtScreenCentralY;
    const auto &[shown, centre] = m_centreShown[static_cast<std::size_t>(axis)];
    if (field->text() == shown)
        return centre;
    return ReadNumberTextLenient(field->text());
}

} // namespace lw
