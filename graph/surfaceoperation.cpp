#include "surfaceoperation.h"

#include "pixelfont.h"

#include <QPainter>

namespace lw {

QString SurfaceOperation::toString() const
{
    switch (kind) {
    case Kind::Clear: return QStringLiteral("clear");
    case Kind::Line:
        return QStringLiteral("line %1 %2 %3 %4 %5").arg(x1).arg(y1).arg(x2).arg(y2).arg(colour);
    case Kind::Point: return QStringLiteral("point %1 %2 %3").arg(x1).arg(y1).arg(colour);
    case Kind::Text:
        return QStringLiteral("text %1 %2 %3 %4").arg(x1).arg(y1).arg(colour).arg(text);
    }
    return {};
}

void PaintOperation(QPainter &painter, const SurfaceOperation &op, const QColor &background)
{
    switch (op.kind) {
    case SurfaceOperation::Kind::Clear: painter.fillRect(painter.window(), background); break;
    case SurfaceOperation::Kind::Line:
        painter.setPen(QPen(ToQColor(op.colour), 1));
        painter.drawLine(op.x1, op.y1, op.x2, op.y2);
        break;
    case SurfaceOperation::Kind::Point:
        painter.setPen(QPen(ToQColor(op.colour), 1));
        painter.drawPoint(op.x1, op.y1);
        break;
    case SurfaceOperation::Kind::Text:
        PaintPixelText(painter, op.x1, op.y1, op.text, ToQColor(op.colour));
        break;
    }
}

} // namespace lw
