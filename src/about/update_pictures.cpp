#include "about/update_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace vx {
namespace {

constexpr int kSize = 16;

QImage blank() {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace

QImage DrawWaitPicture(int frame) {
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(kSize / 2.0, kSize / 2.0);
    // Eight dots; the brightest one moves round a step per frame.
    for (int i = 0; i < kWaitFrames; ++i) {
        const int age = (frame - i + kWaitFrames) % kWaitFrames;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x40, 0x90, 255 - age * 28));
        p.drawEllipse(QPointF(0, -5.5), 1.8, 1.8);
        p.rotate(360.0 / kWaitFrames);
    }
    return image;
}

QImage DrawOkPicture() {
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x8B, 0x57));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4, 8.5), QPointF(7, 11.5), QPointF(12, 5)}));
    return image;
}

QImage DrawWarnPicture() {
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.addPolygon(QPolygonF({QPointF(8, 0.5), QPointF(15.5, 15), QPointF(0.5, 15), QPointF(8, 0.5)}));
    p.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
    p.setBrush(QColor(0xFF, 0xC8, 0x00));
    p.drawPath(triangle);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 5), QPointF(8, 10));
    p.drawPoint(QPointF(8, 12.8));
    return image;
}

}  // namespace vx
