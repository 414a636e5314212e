#include "QtPainter.h"

#include "QtTextLines.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace lanthor {

namespace {

QColor toQColor(Color color) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue), static_cast<float>(color.alpha));
}

} // namespace

void QtPainter::fillRect(Rect rect, Color color) {
    painter_.fillRect(QRectF(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height),
                      toQColor(color));
}

void QtPainter::strokeLine(Point from, Point to, double width, Color color) {
    painter_.setPen(QPen(toQColor(color), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

namespace {

QPainterPath toQPainterPath(const Path& path) {
    QPainterPath figure(QPointF(path.start().x, path.start().y));
    for (const Path::Segment& segment : path.segments()) {
        const QPointF to(segment.to.x, segment.to.y);
        if (segment.curve) {
            figure.cubicTo(QPointF(segment.control1.x, segment.control1.y),
                           QPointF(segment.control2.x, segment.control2.y), to);
        } else {
            figure.lineTo(to);
        }
    }
    if (path.closed()) {
        figure.closeSubpath();
    }
    return figure;
}

} // namespace

void QtPainter::strokePath(const Path& path, double width, Color color) {
    painter_.setPen(QPen(toQColor(color), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(toQPainterPath(path));
}

void QtPainter::fillPath(const Path& path, Color color) {
    painter_.fillPath(toQPainterPath(path), toQColor(color));
}

void QtPainter::drawText(const AttributedString& text, Rect rect) {
    const std::u16string& string = text.string();
    painter_.setPen(Qt::black);
    for (const QtTextLine& line : layOutLines(text, fonts_)) {
        const double baseline = rect.origin.y + line.top + line.ascent;
        for (const QtTextSegment& segment : line.segments) {
            const double scale = segment.face->scale();
            painter_.save();
            painter_.translate(rect.origin.x + segment.x, baseline - segment.raise);
            painter_.scale(scale, scale);
            painter_.setFont(segment.face->font());
            painter_.drawText(QPointF(0, 0),
                              QString::fromUtf16(string.data() + segment.start,
                                                 static_cast<qsizetype>(segment.length)));
            painter_.restore();
        }
    }
}

} // namespace lanthor
