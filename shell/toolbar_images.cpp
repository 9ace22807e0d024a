#include "shell/toolbar_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>

namespace larkspan {
namespace {

constexpr int kSize = 32;
const QColor kGreen(0x2e, 0x9d, 0x3a);
const QColor kRed(0xd0, 0x24, 0x24);
const QColor kGold(0xf2, 0xb8, 0x1e);
const QColor kInk(0x30, 0x30, 0x50);

void arrow(QPainter& p, bool right) {
    QPolygonF shape{{4, 13}, {17, 13}, {17, 6}, {28, 16}, {17, 26}, {17, 19}, {4, 19}};
    if (!right) {
        for (QPointF& point : shape) {
            point.setX(kSize - point.x());
        }
    }
    p.setBrush(kGreen);
    p.drawPolygon(shape);
}

void star(QPainter& p) {
    QPolygonF shape;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 14.0 : 6.0;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        shape << QPointF(16 + radius * std::cos(angle), 17 + radius * std::sin(angle));
    }
    p.setBrush(kGold);
    p.drawPolygon(shape);
}

void draw(QPainter& p, int index) {
    p.setPen(QPen(kInk, 1.5));
    switch (index) {
        case 0:
            p.setBrush(kRed);
            p.drawEllipse(QRectF(4, 4, 24, 24));
            break;
        case 1:
            p.setBrush(QColor(0xc8, 0x6b, 0x3c));
            p.drawPolygon(QPolygonF{{16, 3}, {29, 15}, {3, 15}});
            p.setBrush(QColor(0xf4, 0xe4, 0xc1));
            p.drawRect(QRectF(7, 15, 18, 13));
            break;
        case 2:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 3, 20, 26));
            p.setPen(QPen(kGreen, 3));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(10, 9, 12, 12), 30 * 16, 280 * 16);
            break;
        case 3:
            arrow(p, true);
            break;
        case 4:
            arrow(p, false);
            break;
        case 5:
            p.setBrush(QColor(0xcf, 0xe8, 0xf7));
            p.drawEllipse(QRectF(4, 4, 17, 17));
            p.setPen(QPen(kInk, 4));
            p.drawLine(QPointF(19, 19), QPointF(28, 28));
            break;
        case 6:
            p.setPen(QPen(kRed, 5));
            p.drawLine(QPointF(7, 7), QPointF(25, 25));
            p.drawLine(QPointF(25, 7), QPointF(7, 25));
            break;
        case 7:
            star(p);
            break;
        case 8:  // a page going into a list: capture
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 3, 16, 20));
            p.setBrush(kGreen);
            p.drawPolygon(QPolygonF{{16, 18}, {28, 18}, {22, 29}});
            break;
        case 9:  // a window split in two
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 6, 26, 20));
            p.setBrush(QColor(0x9f, 0xc5, 0xe8));
            p.drawRect(QRectF(16, 6, 13, 20));
            break;
        case 10:  // lightning: quick
            p.setBrush(kGold);
            p.drawPolygon(QPolygonF{{18, 2}, {7, 18}, {15, 18}, {12, 30}, {25, 12}, {17, 12}});
            break;
        default:
            break;
    }
}

}  // namespace

QIcon toolbarImage(int index) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, index);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace larkspan
