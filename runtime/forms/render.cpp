#include "render.h"

#include <QPainter>
#include <QPen>

namespace rt {

QColor toQColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

Color fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

namespace {

QPen penFor(const DrawOp& op)
{
    // Pen widths are whole pixels; in twip coordinates that is 15 per pixel.
    // Thick lines have round ends and joins, so a polyline drawn segment by
    // segment shows no gaps at its corners.
    QPen pen(toQColor(op.color), op.width * kTwipsPerPixel, Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    return pen;
}

}  // namespace

void renderPicture(QPainter& painter, const std::vector<DrawOp>& ops, Color background)
{
    painter.save();
    const QPaintDevice* device = painter.device();
    painter.fillRect(QRectF(0, 0, device->width(), device->height()), toQColor(background));
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);

    QPen currentPen;
    bool havePen = false;
    auto usePen = [&](const DrawOp& op) {
        const QPen pen = penFor(op);
        if (!havePen || pen != currentPen) {
            painter.setPen(pen);
            currentPen = pen;
            havePen = true;
        }
    };

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Line:
            usePen(op);
            painter.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
            break;
        case DrawOp::Kind::Box:
        case DrawOp::Kind::FilledBox: {
            usePen(op);
            const QRectF box = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
            if (op.kind == DrawOp::Kind::FilledBox)
                painter.setBrush(toQColor(op.color));
            painter.drawRect(box);
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case DrawOp::Kind::Circle:
            // Circles are antialiased: a ball a few pixels across looks
            // ragged otherwise. Lines stay sharp-edged.
            usePen(op);
            painter.setRenderHint(QPainter::Antialiasing, true);
            if (op.filled)
                painter.setBrush(toQColor(op.fillColor));
            painter.drawEllipse(QPointF(op.x1, op.y1), op.x2, op.x2);
            painter.setBrush(Qt::NoBrush);
            painter.setRenderHint(QPainter::Antialiasing, false);
            break;
        }
    }
    painter.restore();
}

}  // namespace rt
