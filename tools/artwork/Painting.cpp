#include "Painting.h"

#include <QFontInfo>
#include <QPainter>

#include <stdexcept>

namespace artwork {

QFont requiredFont(const QString& family, qreal pixelSize, int weight)
{
    QFont font(family);
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(QFont::Weight(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    if (QFontInfo(font).family() != family)
        throw std::runtime_error("the face \"" + family.toStdString() +
                                 "\" is missing: tools/install-dependencies artwork");
    return font;
}

QPainterPath textPathCentredOn(const QString& text, const QFont& font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.translated(centre - path.boundingRect().center());
}

namespace {

// One horizontal pass of a running-sum blur over every channel; transposing the image makes the
// same pass work down the columns.
QImage boxBlurRows(const QImage& image, int radius)
{
    QImage out(image.size(), image.format());
    const int width = image.width();
    const int window = 2 * radius + 1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        auto at = [&](int x) {
            return in[qBound(0, x, width - 1)];
        };
        int a = 0, r = 0, g = 0, b = 0;
        for (int x = -radius; x <= radius; ++x) {
            a += qAlpha(at(x)), r += qRed(at(x)), g += qGreen(at(x)), b += qBlue(at(x));
        }
        for (int x = 0; x < width; ++x) {
            row[x] = qRgba(r / window, g / window, b / window, a / window);
            const QRgb leaving = at(x - radius), entering = at(x + radius + 1);
            a += qAlpha(entering) - qAlpha(leaving);
            r += qRed(entering) - qRed(leaving);
            g += qGreen(entering) - qGreen(leaving);
            b += qBlue(entering) - qBlue(leaving);
        }
    }
    return out;
}

QImage transposed(const QImage& image)
{
    return image.transformed(QTransform(0, 1, 1, 0, 0, 0));
}

} // namespace

QImage blurred(const QImage& image, int radius)
{
    QImage work = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int passRadius = qMax(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass)
        work = boxBlurRows(work, passRadius);
    work = transposed(work);
    for (int pass = 0; pass < 3; ++pass)
        work = boxBlurRows(work, passRadius);
    return transposed(work);
}

void paintSoftShadow(QPainter& painter, const QPainterPath& path, QPointF offset,
                     const QColor& colour, int blurRadius)
{
    QImage shadow(painter.device()->width(), painter.device()->height(),
                  QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter shadowPainter(&shadow);
        shadowPainter.setRenderHint(QPainter::Antialiasing);
        shadowPainter.fillPath(path.translated(offset), colour);
    }
    painter.drawImage(0, 0, blurred(shadow, blurRadius));
}

} // namespace artwork
