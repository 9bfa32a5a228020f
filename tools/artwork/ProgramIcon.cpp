#include "ProgramIcon.h"

#include "Painting.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace artwork {

namespace {

const QString name = QStringLiteral("qimlar");

// Where a point of the flag cloth lies, in a 32-unit square: u runs along the cloth from the
// pole, v down it; the cloth ripples as one sine wave along u.
QPointF onCloth(qreal u, qreal v)
{
    const qreal ripple = 2.3 * std::sin(std::numbers::pi * 1.5 * u);
    return {14.5 + 16.5 * u, 3.4 + 11.6 * v + ripple};
}

// The cloth's four panes, in cloth coordinates, with a narrow gap between them.
struct Pane
{
    qreal u0, v0, u1, v1;
    QColor colour;
};
constexpr qreal gap = 0.035;
const std::array<Pane, 4> panes{{{0, 0, 0.5 - gap, 0.5 - gap, QColor(240, 78, 30)},
                                 {0.5 + gap, 0, 1, 0.5 - gap, QColor(40, 168, 64)},
                                 {0, 0.5 + gap, 0.5 - gap, 1, QColor(28, 112, 224)},
                                 {0.5 + gap, 0.5 + gap, 1, 1, QColor(255, 194, 0)}}};

// Light catches the crest of the ripple and leaves the trough darker.
QGradientStops lightAlongCloth(const QColor& colour)
{
    return {{0.0, colour.darker(108)},
            {0.35, colour.lighter(112)},
            {0.75, colour.darker(112)},
            {1.0, colour}};
}

QColor lightAt(const QColor& colour, qreal u)
{
    const QGradientStops stops = lightAlongCloth(colour);
    for (qsizetype i = 1; i < stops.size(); ++i)
        if (u <= stops[i].first) {
            const qreal t = (u - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
            const QColor a = stops[i - 1].second, b = stops[i].second;
            return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                                    a.greenF() + (b.greenF() - a.greenF()) * t,
                                    a.blueF() + (b.blueF() - a.blueF()) * t);
        }
    return stops.last().second;
}

QPainterPath outline(const Pane& p)
{
    constexpr int steps = 12;
    QPainterPath path(onCloth(p.u0, p.v0));
    for (int i = 1; i <= steps; ++i)
        path.lineTo(onCloth(p.u0 + (p.u1 - p.u0) * i / steps, p.v0));
    for (int i = 0; i <= steps; ++i)
        path.lineTo(onCloth(p.u1 - (p.u1 - p.u0) * i / steps, p.v1));
    path.closeSubpath();
    return path;
}

// The flag drawn smooth, for sizes where curves can be drawn as curves.
void paintFlag(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    for (const Pane& p : panes) {
        QLinearGradient light(onCloth(0, 0), onCloth(1, 0));
        light.setStops(lightAlongCloth(p.colour));
        painter.setBrush(light);
        painter.drawPath(outline(p));
    }
}

// The flag in whole pixels: each column of the cloth is a strip shifted by the ripple, as a
// waving flag is drawn by hand at this size; a smooth drawing cut to a mask comes out ragged.
void paintFlagInPixels(QImage& icon)
{
    for (int x = 0; x < icon.width(); ++x) {
        const qreal u = (x + 0.5 - onCloth(0, 0).x()) / (onCloth(1, 0).x() - onCloth(0, 0).x());
        for (const Pane& p : panes) {
            if (u < p.u0 || u > p.u1)
                continue;
            const qreal top = onCloth(u, p.v0).y(), bottom = onCloth(u, p.v1).y();
            for (int y = 0; y < icon.height(); ++y)
                if (y + 0.5 >= top && y + 0.5 <= bottom)
                    icon.setPixel(x, y, lightAt(p.colour, u).rgb());
        }
    }
}

QPainterPath namePath()
{
    QFont font = requiredFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
    font.setStretch(QFont::Condensed);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    QPainterPath path = textPathCentredOn(name, font, {0, 0});
    // Fit the name to the width with a margin for its edge, and set it on the lower third.
    const QRectF box = path.boundingRect();
    const qreal scale = std::min(29.0 / box.width(), 1.0);
    return QTransform::fromTranslate(16, 25.4).scale(scale, 1).map(path);
}

QLinearGradient redLetters()
{
    QLinearGradient red(0, 21, 0, 31);
    red.setColorAt(0, QColor(255, 64, 52));
    red.setColorAt(1, QColor(200, 0, 10));
    return red;
}

const QColor darkEdge(60, 0, 6);

// Reduces the colours to at most `count` by median cut: the box with the widest spread of
// colours is split at its median until there are enough boxes; each box gives its mean colour.
std::vector<QRgb> medianCutPalette(const std::map<QRgb, int>& histogram, size_t count)
{
    using Entry = std::pair<QRgb, int>;
    std::vector<std::vector<Entry>> boxes{{histogram.begin(), histogram.end()}};
    auto channel = [](QRgb c, int k) {
        return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c);
    };
    auto spread = [&](const std::vector<Entry>& box, int k) {
        auto [lo, hi] = std::minmax_element(box.begin(), box.end(), [&](auto& a, auto& b) {
            return channel(a.first, k) < channel(b.first, k);
        });
        return channel(hi->first, k) - channel(lo->first, k);
    };
    while (boxes.size() < count) {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [&](auto& a, auto& b) {
            return std::max({spread(a, 0), spread(a, 1), spread(a, 2)}) <
                   std::max({spread(b, 0), spread(b, 1), spread(b, 2)});
        });
        if (widest->size() < 2)
            break;
        int k = 0;
        for (int c = 1; c < 3; ++c)
            if (spread(*widest, c) > spread(*widest, k))
                k = c;
        std::sort(widest->begin(), widest->end(),
                  [&](auto& a, auto& b) { return channel(a.first, k) < channel(b.first, k); });
        const auto middle = widest->begin() + qsizetype(widest->size() / 2);
        std::vector<Entry> upper(middle, widest->end());
        widest->erase(middle, widest->end());
        boxes.push_back(std::move(upper));
    }
    std::vector<QRgb> palette;
    for (const auto& box : boxes) {
        long r = 0, g = 0, b = 0, n = 0;
        for (auto [colour, weight] : box) {
            r += long(qRed(colour)) * weight, g += long(qGreen(colour)) * weight;
            b += long(qBlue(colour)) * weight, n += weight;
        }
        palette.push_back(qRgb(int(r / n), int(g / n), int(b / n)));
    }
    return palette;
}

int nearest(const std::vector<QRgb>& palette, QRgb colour)
{
    int best = 0, bestDistance = INT_MAX;
    for (int i = 0; i < int(palette.size()); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour), dg = qGreen(palette[i]) - qGreen(colour),
                  db = qBlue(palette[i]) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance)
            best = i, bestDistance = distance;
    }
    return best;
}

} // namespace

QImage programIconAt(int side)
{
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 32.0, side / 32.0);
    paintFlag(painter);
    const QPainterPath letters = namePath();
    painter.setPen(QPen(darkEdge, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(letters);
    painter.setPen(Qt::NoPen);
    painter.setBrush(redLetters());
    painter.drawPath(letters);
    return icon.convertToFormat(QImage::Format_ARGB32);
}

IconImage programIcon32()
{
    constexpr int side = IconImage::side;

    QImage flag(side, side, QImage::Format_ARGB32);
    flag.fill(Qt::transparent);
    paintFlagInPixels(flag);

    // The letters as whole pixels, hinted to the grid, so that the dot of the i survives and the
    // dark edge can be one pixel all round.
    QImage letters(side, side, QImage::Format_ARGB32);
    letters.fill(Qt::transparent);
    {
        QFont font = requiredFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
        font.setStretch(QFont::Condensed);
        font.setHintingPreference(QFont::PreferFullHinting);
        font.setStyleStrategy(QFont::NoAntialias);
        QPainter painter(&letters);
        painter.setFont(font);
        painter.setPen(QPen(QBrush(redLetters()), 1));
        painter.drawText((side - QFontMetrics(font).horizontalAdvance(name)) / 2, 28, name);
    }
    auto isLetter = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < side && y < side && qAlpha(letters.pixel(x, y)) >= 128;
    };

    QImage merged(side, side, QImage::Format_ARGB32);
    merged.fill(Qt::transparent);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (isLetter(x, y)) {
                merged.setPixel(x, y, letters.pixel(x, y) | 0xFF000000u);
                continue;
            }
            bool touchesLetter = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    touchesLetter = touchesLetter || isLetter(x + dx, y + dy);
            if (touchesLetter)
                merged.setPixel(x, y, darkEdge.rgb());
            else if (qAlpha(flag.pixel(x, y)) >= 128)
                merged.setPixel(x, y, flag.pixel(x, y) | 0xFF000000u);
        }

    // Index 0 is the black under every transparent pixel, as the mask expects.
    std::map<QRgb, int> histogram;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (qAlpha(merged.pixel(x, y)) == 255)
                ++histogram[merged.pixel(x, y) & 0xFFFFFFu];
    const std::vector<QRgb> colours = medianCutPalette(histogram, 255);

    IconImage icon;
    for (size_t i = 0; i < colours.size(); ++i)
        icon.palette[i + 1] = colours[i];
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const QRgb pixel = merged.pixel(x, y);
            icon.transparent[y][x] = qAlpha(pixel) < 255;
            icon.index[y][x] = icon.transparent[y][x]
                                   ? 0
                                   : static_cast<unsigned char>(1 + nearest(colours, pixel));
        }
    return icon;
}

} // namespace artwork
