#include "watcher/interface_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>

namespace vx {
namespace {

// Every picture is drawn on a 32 x 32 grid and scaled to its size.
const QColor kInk(40, 40, 48);
const QColor kCard(46, 125, 50);
const QColor kMetal(150, 150, 160);
const QColor kAccent(25, 118, 210);

void networkCard(QPainter& p) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kCard);
    p.drawRect(QRectF(3, 9, 22, 13));
    p.setBrush(QColor(230, 200, 80));
    for (int i = 0; i < 5; ++i) p.drawRect(QRectF(6 + i * 4, 22, 2, 3));  // contacts
    p.setBrush(kMetal);
    p.drawRect(QRectF(25, 7, 4, 17));  // bracket
    p.setBrush(QColor(20, 20, 20));
    p.drawRect(QRectF(8, 12, 7, 6));  // chip
}

void cornerBadge(QPainter& p, const QColor& fill) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(17, 17, 14, 14));
}

void draw(QPainter& p, int index) {
    p.setPen(QPen(kInk, 1.5));
    switch (index) {
        case 0: {  // warning triangle
            QPolygonF t;
            t << QPointF(16, 3) << QPointF(30, 28) << QPointF(2, 28);
            p.setBrush(QColor(255, 193, 7));
            p.drawPolygon(t);
            p.setBrush(kInk);
            p.drawRect(QRectF(15, 11, 2, 9));
            p.drawEllipse(QRectF(14.8, 22.5, 2.4, 2.4));
            break;
        }
        case 1: {  // question mark
            p.setBrush(kAccent);
            p.drawEllipse(QRectF(2, 2, 28, 28));
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setBold(true);
            f.setPixelSize(22);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case 2: {  // power plug
            p.setBrush(kMetal);
            p.drawRect(QRectF(10, 3, 3, 9));
            p.drawRect(QRectF(19, 3, 3, 9));
            p.setBrush(QColor(60, 60, 60));
            p.drawRoundedRect(QRectF(6, 11, 20, 11), 3, 3);
            p.drawRect(QRectF(13, 22, 6, 4));
            p.setPen(QPen(QColor(60, 60, 60), 3));
            p.drawLine(QPointF(16, 26), QPointF(16, 31));
            break;
        }
        case 3: {  // cable connector plug (RJ45)
            p.setBrush(QColor(200, 220, 240));
            p.drawRect(QRectF(7, 4, 18, 16));
            p.setBrush(QColor(230, 200, 80));
            for (int i = 0; i < 4; ++i) p.drawRect(QRectF(9 + i * 4, 5, 2, 6));
            p.setBrush(kAccent);
            p.drawRect(QRectF(11, 20, 10, 5));
            p.setPen(QPen(kAccent, 4));
            p.drawLine(QPointF(16, 25), QPointF(16, 31));
            break;
        }
        case 4: {  // IEEE 1394: three arms from a centre
            p.setPen(QPen(kInk, 2.5));
            p.drawLine(QPointF(16, 17), QPointF(16, 4));
            p.drawLine(QPointF(16, 17), QPointF(5, 27));
            p.drawLine(QPointF(16, 17), QPointF(27, 27));
            p.setBrush(kInk);
            p.drawEllipse(QRectF(13, 2, 6, 6));
            p.drawRect(QRectF(2, 24, 6, 6));
            QPolygonF t;
            t << QPointF(27, 23) << QPointF(31, 30) << QPointF(23, 30);
            p.drawPolygon(t);
            break;
        }
        case 5: {  // Bluetooth
            p.setBrush(kAccent);
            p.drawRoundedRect(QRectF(6, 1, 20, 30), 9, 9);
            p.setPen(QPen(Qt::white, 2.2));
            QPainterPath rune;
            rune.moveTo(10, 10);
            rune.lineTo(22, 21);
            rune.lineTo(16, 27);
            rune.lineTo(16, 5);
            rune.lineTo(22, 11);
            rune.lineTo(10, 22);
            p.setBrush(Qt::NoBrush);
            p.drawPath(rune);
            break;
        }
        case 6: {  // USB trident
            p.setPen(QPen(kInk, 2.2));
            p.drawLine(QPointF(16, 5), QPointF(16, 27));
            p.drawLine(QPointF(16, 20), QPointF(8, 13));
            p.drawLine(QPointF(16, 17), QPointF(24, 11));
            p.setBrush(kInk);
            QPolygonF head;
            head << QPointF(16, 1) << QPointF(20, 7) << QPointF(12, 7);
            p.drawPolygon(head);
            p.drawEllipse(QRectF(5, 10, 6, 6));
            p.drawRect(QRectF(22, 7, 5, 5));
            p.drawEllipse(QRectF(12, 25, 8, 6));
            break;
        }
        case 7: networkCard(p); break;
        case 8: {  // radio waves
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kAccent, 2.5));
            for (int r = 0; r < 3; ++r) {
                const double s = 8 + r * 7;
                p.drawArc(QRectF(16 - s / 2, 24 - s / 2, s, s), 45 * 16, 90 * 16);
            }
            p.setBrush(kAccent);
            p.drawEllipse(QRectF(14, 22, 4, 4));
            p.drawLine(QPointF(16, 26), QPointF(16, 31));
            break;
        }
        case 9: {  // card with sharing
            networkCard(p);
            cornerBadge(p, QColor(255, 255, 255));
            p.setPen(QPen(kAccent, 1.5));
            p.setBrush(kAccent);
            p.drawEllipse(QRectF(20, 23, 3, 3));
            p.drawEllipse(QRectF(26, 19, 3, 3));
            p.drawEllipse(QRectF(26, 26, 3, 3));
            p.drawLine(QPointF(21.5, 24.5), QPointF(27.5, 20.5));
            p.drawLine(QPointF(21.5, 24.5), QPointF(27.5, 27.5));
            break;
        }
        case 10: {  // card with circular arrows
            networkCard(p);
            cornerBadge(p, QColor(255, 255, 255));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kAccent, 1.8));
            p.drawArc(QRectF(20, 20, 8, 8), 30 * 16, 150 * 16);
            p.drawArc(QRectF(20, 20, 8, 8), 210 * 16, 150 * 16);
            break;
        }
        case 11: {  // card with a cloud
            networkCard(p);
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(225, 240, 255));
            QPainterPath cloud;
            cloud.addEllipse(QRectF(16, 21, 8, 8));
            cloud.addEllipse(QRectF(20, 17, 9, 9));
            cloud.addEllipse(QRectF(24, 21, 7, 8));
            cloud.addRect(QRectF(19, 25, 9, 4));
            p.drawPath(cloud.simplified());
            break;
        }
        case 12: {  // card with a SIM card
            networkCard(p);
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(QColor(255, 255, 255));
            QPolygonF sim;
            sim << QPointF(19, 17) << QPointF(28, 17) << QPointF(31, 20) << QPointF(31, 31) << QPointF(19, 31);
            p.drawPolygon(sim);
            p.setBrush(QColor(230, 200, 80));
            p.drawRect(QRectF(21, 22, 7, 6));
            break;
        }
        case 13: {  // computer screen
            p.setBrush(kInk);
            p.drawRoundedRect(QRectF(2, 4, 28, 19), 2, 2);
            p.setBrush(QColor(120, 180, 240));
            p.drawRect(QRectF(4, 6, 24, 15));
            p.setBrush(kMetal);
            p.drawRect(QRectF(13, 23, 6, 4));
            p.drawRect(QRectF(8, 27, 16, 3));
            break;
        }
        case 14: {  // address label
            p.setBrush(QColor(255, 236, 179));
            QPolygonF tag;
            tag << QPointF(2, 9) << QPointF(22, 9) << QPointF(30, 16) << QPointF(22, 23) << QPointF(2, 23);
            p.drawPolygon(tag);
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(21, 14, 4, 4));
            p.setPen(QPen(kInk, 1.2));
            p.drawLine(QPointF(5, 14), QPointF(17, 14));
            p.drawLine(QPointF(5, 18), QPointF(14, 18));
            break;
        }
        default: break;
    }
}

std::vector<QImage> makeList(int size, bool blankSome) {
    std::vector<QImage> list;
    for (int i = 0; i < kInterfacePictureCount; ++i) {
        if (blankSome && (i == 0 || i == 8 || i == 14)) {
            QImage empty(size, size, QImage::Format_ARGB32_Premultiplied);
            empty.fill(Qt::transparent);
            list.push_back(empty);
        } else {
            list.push_back(DrawInterfacePicture(i, size));
        }
    }
    return list;
}

}  // namespace

QImage DrawInterfacePicture(int index, int size, qreal ratio) {
    const int pixels = static_cast<int>(std::lround(size * ratio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixels / 32.0, pixels / 32.0);
        draw(p, index);
    }
    image.setDevicePixelRatio(static_cast<qreal>(pixels) / size);
    return image;
}

QIcon InterfaceIcon16(std::size_t index) {
    // Each icon is drawn when first asked for (on the GUI thread): a list
    // shows a few kinds of interface, and drawing all of them in four
    // scales took a good part of a start.
    static std::array<QIcon, kInterfacePictureCount> icons;
    if (index >= icons.size()) index = 0;
    QIcon& icon = icons[index];
    if (!icon.isNull()) return icon;
    const bool blank = index == 0 || index == 8 || index == 14;
    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        QImage image;
        if (blank) {
            image = QImage(static_cast<int>(16 * ratio), static_cast<int>(16 * ratio),
                           QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            image.setDevicePixelRatio(ratio);
        } else {
            image = DrawInterfacePicture(static_cast<int>(index), 16, ratio);
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

const std::vector<QImage>& InterfacePictures16() {
    static const std::vector<QImage> list = makeList(16, true);
    return list;
}

const std::vector<QImage>& InterfacePictures32() {
    static const std::vector<QImage> list = makeList(32, false);
    return list;
}

}  // namespace vx
