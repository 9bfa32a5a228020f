#include "SplashPicture.h"

#include "Painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

namespace artwork {

namespace {

// The product name, Qimlar, spelt in Arabic letters.
const QString nameInArabicLetters = QStringLiteral("قيملار");
const QString rightsLine = QStringLiteral("جميع الحقوق محفوظة ©");
const QString contactAddress = QStringLiteral("tevrin@example.org");

constexpr int width = 361;
constexpr int height = 181;

// One diamond of the harlequin: lit from the upper left, with a glossy band over its upper half.
void paintDiamond(QPainter& painter, QPointF centre, qreal halfWidth, qreal halfHeight, bool red)
{
    const QPolygonF diamond{{centre.x(), centre.y() - halfHeight},
                            {centre.x() + halfWidth, centre.y()},
                            {centre.x(), centre.y() + halfHeight},
                            {centre.x() - halfWidth, centre.y()}};

    QLinearGradient body(centre - QPointF(halfWidth, halfHeight) * 0.7,
                         centre + QPointF(halfWidth, halfHeight) * 0.7);
    body.setStops(red ? QGradientStops{{0, QColor(255, 96, 84)},
                                       {0.45, QColor(214, 10, 18)},
                                       {1, QColor(96, 0, 6)}}
                      : QGradientStops{{0, QColor(92, 92, 100)},
                                       {0.45, QColor(22, 20, 24)},
                                       {1, QColor(0, 0, 0)}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawPolygon(diamond);

    // The gloss: a pale sheen over the upper facets, fading before the waist.
    const QPolygonF sheen{{centre.x(), centre.y() - halfHeight * 0.92},
                          {centre.x() + halfWidth * 0.84, centre.y() - halfHeight * 0.08},
                          {centre.x() + halfWidth * 0.30, centre.y() - halfHeight * 0.20},
                          {centre.x() - halfWidth * 0.30, centre.y() - halfHeight * 0.12},
                          {centre.x() - halfWidth * 0.84, centre.y() - halfHeight * 0.08}};
    QLinearGradient gloss(centre.x(), centre.y() - halfHeight, centre.x(), centre.y());
    gloss.setColorAt(0, QColor(255, 255, 255, red ? 150 : 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawPolygon(sheen);

    // A fine dark seam, so neighbours read as separate tiles.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1.2));
    painter.drawPolygon(diamond);
}

void paintHarlequin(QPainter& painter)
{
    constexpr qreal halfWidth = 36, halfHeight = 54;
    // Diamond (p, q) has its centre at ((p - q) * halfWidth, (p + q) * halfHeight); the four
    // that share its edges differ in p + q by one, so alternate colours make the harlequin.
    const QPointF origin(width / 2.0, height / 2.0 - halfHeight);
    for (int p = -6; p <= 6; ++p)
        for (int q = -6; q <= 6; ++q) {
            const QPointF centre = origin + QPointF((p - q) * halfWidth, (p + q) * halfHeight);
            if (centre.x() < -halfWidth || centre.x() > width + halfWidth ||
                centre.y() < -halfHeight || centre.y() > height + halfHeight)
                continue;
            paintDiamond(painter, centre, halfWidth, halfHeight, (p + q) % 2 == 0);
        }
}

// Gold lettering: a dark soft shadow, a pale outline, then the metal itself.
void paintGoldName(QPainter& painter)
{
    const QFont font = requiredFont(QStringLiteral("Tholoth"), 92, QFont::Bold);
    const QPainterPath name = textPathCentredOn(nameInArabicLetters, font, {width / 2.0, 80});

    paintSoftShadow(painter, name, {3, 4}, QColor(20, 0, 0, 230), 6);

    painter.setPen(QPen(QColor(255, 246, 214), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(name);

    const QRectF box = name.boundingRect();
    QLinearGradient gold(box.topLeft(), box.bottomLeft());
    gold.setStops({{0.00, QColor(255, 236, 150)},
                   {0.35, QColor(236, 182, 48)},
                   {0.50, QColor(255, 222, 110)},
                   {0.70, QColor(196, 134, 22)},
                   {1.00, QColor(122, 78, 8)}});
    painter.fillPath(name, gold);
}

void paintRightsLine(QPainter& painter)
{
    const QFont font = requiredFont(QStringLiteral("KacstPen"), 17);
    const QPainterPath line = textPathCentredOn(rightsLine, font, {252, 146});
    paintSoftShadow(painter, line, {1, 1}, QColor(0, 0, 0, 220), 2);
    painter.fillPath(line, Qt::white);
}

// White Latin letters with a black outline, readable on both colours of tile.
void paintContactAddress(QPainter& painter)
{
    const QFont font = requiredFont(QStringLiteral("DejaVu Sans"), 12, QFont::Bold);
    const QPainterPath address = textPathCentredOn(contactAddress, font, {width / 2.0, 171});
    painter.setPen(QPen(Qt::black, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(address);
    painter.fillPath(address, Qt::white);
}

} // namespace

QImage splashPicture()
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paintHarlequin(painter);
    paintGoldName(painter);
    paintRightsLine(painter);
    paintContactAddress(painter);
    return picture;
}

} // namespace artwork
