#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace artwork {

// A 32 x 32 icon in the classic form: 8-bit indices into a palette of 256 colours, and a mask
// in which a set bit lets the ground show through.
struct IconImage
{
    static constexpr int side = 32;
    QRgb palette[256] = {};
    unsigned char index[side][side] = {}; // [row][column], top row first
    bool transparent[side][side] = {};
};

// Baseline JPEG, JFIF 1.02 at 72 x 72 dpi, every component sampled 1 x 1.
QByteArray jpegFile(const QImage& picture, int quality);

// Uncompressed bottom-up 24-bit Windows bitmap with no resolution and no palette.
QByteArray bitmapFile(const QImage& picture);

// The icon's image as a Windows icon resource holds it: header, palette, colour rows, mask rows.
QByteArray iconImageBytes(const IconImage& icon);

// An .ico file holding that one image.
QByteArray iconFile(const IconImage& icon);

// The icon with its mask as alpha, for the desktop's icon theme.
QImage iconAsImage(const IconImage& icon);

void writeFile(const QString& path, const QByteArray& bytes);

} // namespace artwork
