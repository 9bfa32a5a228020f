#include "MainPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr int width = 361;
constexpr int height = 183;
const QPointF glare(52, 50);

void paintField(QPainter& painter)
{
    QLinearGradient field(0, 0, width, 0);
    field.setColorAt(0.00, QColor(236, 58, 40));
    field.setColorAt(0.45, QColor(246, 24, 16));
    field.setColorAt(0.88, QColor(255, 0, 0));
    field.setColorAt(1.00, QColor(255, 0, 0));
    painter.fillRect(0, 0, width, height, field);

    // The flare warms the field around it; the glow dies out well before the right edge.
    QRadialGradient warmth(glare, 170);
    warmth.setColorAt(0.0, QColor(255, 190, 90, 150));
    warmth.setColorAt(0.4, QColor(255, 120, 50, 60));
    warmth.setColorAt(1.0, QColor(255, 60, 20, 0));
    painter.fillRect(0, 0, width, height, warmth);
}

// Thin rays of varied length; the angles are fixed so the picture is the same on every build.
void paintRays(QPainter& painter)
{
    struct Ray
    {
        qreal degrees, length, thickness;
    };
    constexpr std::array<Ray, 18> rays{{{3, 118, 1.3},
                                        {24, 64, 0.8},
                                        {41, 92, 1.0},
                                        {58, 46, 0.7},
                                        {77, 74, 0.9},
                                        {96, 52, 0.7},
                                        {117, 66, 0.8},
                                        {134, 40, 0.6},
                                        {152, 84, 0.9},
                                        {176, 52, 1.2},
                                        {193, 44, 0.7},
                                        {212, 60, 0.8},
                                        {231, 38, 0.6},
                                        {252, 56, 0.8},
                                        {271, 46, 0.9},
                                        {292, 62, 0.7},
                                        {313, 42, 0.6},
                                        {334, 72, 0.9}}};
    for (const Ray& ray : rays) {
        const qreal radians = ray.degrees * std::numbers::pi / 180;
        const QPointF end = glare + QPointF(std::cos(radians), std::sin(radians)) * ray.length;
        QLinearGradient fade(glare, end);
        fade.setColorAt(0.0, QColor(255, 255, 240, 230));
        fade.setColorAt(0.5, QColor(255, 236, 200, 110));
        fade.setColorAt(1.0, QColor(255, 220, 180, 0));
        painter.setPen(QPen(QBrush(fade), ray.thickness, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(glare, end);
    }
}

void paintGlare(QPainter& painter)
{
    QRadialGradient halo(glare, 46);
    halo.setColorAt(0.0, QColor(255, 255, 255, 255));
    halo.setColorAt(0.12, QColor(255, 255, 244, 255));
    halo.setColorAt(0.30, QColor(255, 230, 170, 200));
    halo.setColorAt(0.60, QColor(255, 160, 90, 70));
    halo.setColorAt(1.0, QColor(255, 120, 60, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(glare, 46, 46);

    // A short horizontal streak through the core, as a camera lens draws it.
    QLinearGradient streak(glare.x() - 70, 0, glare.x() + 70, 0);
    streak.setColorAt(0.0, QColor(255, 240, 220, 0));
    streak.setColorAt(0.5, QColor(255, 255, 250, 200));
    streak.setColorAt(1.0, QColor(255, 240, 220, 0));
    painter.setBrush(streak);
    painter.drawEllipse(glare, 70, 1.6);
}

// The ghosts of the flare: rings along the line from the glare through the picture's centre.
void paintRings(QPainter& painter)
{
    struct Ring
    {
        qreal along, radius;
        QColor colour;
        bool filled;
    };
    const QColor orange(255, 168, 64);
    const QColor pink(255, 132, 182);
    const std::array<Ring, 9> rings{{{0.42, 5, orange, true},
                                     {0.60, 9, pink, false},
                                     {0.74, 4, orange, false},
                                     {0.92, 13, orange, false},
                                     {1.05, 6, pink, true},
                                     {1.22, 11, pink, false},
                                     {1.36, 3.5, orange, true},
                                     {1.55, 16, orange, false},
                                     {1.74, 7, pink, false}}};
    const QPointF towards = QPointF(width / 2.0, height / 2.0) - glare;
    for (const Ring& ring : rings) {
        const QPointF centre = glare + towards * ring.along;
        QRadialGradient body(centre, ring.radius);
        QColor inner = ring.colour, edge = ring.colour, outer = ring.colour;
        inner.setAlpha(ring.filled ? 90 : 18);
        edge.setAlpha(ring.filled ? 120 : 150);
        outer.setAlpha(0);
        body.setColorAt(0.0, inner);
        body.setColorAt(0.78, inner);
        body.setColorAt(0.90, edge);
        body.setColorAt(1.0, outer);
        painter.setPen(Qt::NoPen);
        painter.setBrush(body);
        painter.drawEllipse(centre, ring.radius, ring.radius);
    }
}

} // namespace

QImage mainPicture()
{
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paintField(painter);
    paintRays(painter);
    paintRings(painter);
    paintGlare(painter);
    return picture;
}

} // namespace artwork
