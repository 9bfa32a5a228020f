#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>

class QPainter;

namespace artwork {

// The face asked for, at a size in pixels; stops the generator when the face is missing, since
// a substitute would quietly change the committed pictures.
QFont requiredFont(const QString& family, qreal pixelSize, int weight = QFont::Normal);

// The outline of a text line whose ink is centred on the given point.
QPainterPath textPathCentredOn(const QString& text, const QFont& font, QPointF centre);

// A soft shadow of the path: filled, blurred by the radius, offset, painted under what follows.
void paintSoftShadow(QPainter& painter, const QPainterPath& path, QPointF offset,
                     const QColor& colour, int blurRadius);

// Three box blurs, close to a gaussian; the image is premultiplied ARGB.
QImage blurred(const QImage& image, int radius);

} // namespace artwork
