#include "PictureFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>

namespace artwork {

namespace {

void put16(QByteArray& out, unsigned value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void put32(QByteArray& out, unsigned long value)
{
    put16(out, value & 0xFFFF);
    put16(out, (value >> 16) & 0xFFFF);
}

void putInfoHeader(QByteArray& out, int width, int height, int bitsPerPixel,
                   unsigned long imageSize)
{
    put32(out, 40);
    put32(out, static_cast<unsigned long>(width));
    put32(out, static_cast<unsigned long>(height));
    put16(out, 1);
    put16(out, unsigned(bitsPerPixel));
    put32(out, 0); // no compression
    put32(out, imageSize);
    put32(out, 0); // no resolution
    put32(out, 0);
    put32(out, 0); // palette: all that the bit depth allows
    put32(out, 0);
}

} // namespace

QByteArray jpegFile(const QImage& picture, int quality)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);

    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.JFIF_major_version = 1;
    cinfo.JFIF_minor_version = 2;
    cinfo.density_unit = 1; // dots per inch
    cinfo.X_density = 72;
    cinfo.Y_density = 72;
    // Full colour resolution: the red and black edges would bleed with halved chroma.
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

QByteArray bitmapFile(const QImage& picture)
{
    const int width = picture.width();
    const int height = picture.height();
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const unsigned long imageSize = static_cast<unsigned long>(rowBytes) * height;

    QByteArray out;
    out.append("BM");
    put32(out, 14 + 40 + imageSize);
    put32(out, 0);
    put32(out, 14 + 40);
    putInfoHeader(out, width, height, 24, imageSize);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            out.append(char(qBlue(pixel)));
            out.append(char(qGreen(pixel)));
            out.append(char(qRed(pixel)));
        }
        out.append(QByteArray(rowBytes - width * 3, '\0'));
    }
    return out;
}

QByteArray iconImageBytes(const IconImage& icon)
{
    constexpr int side = IconImage::side;
    constexpr int maskRowBytes = side / 8;
    QByteArray out;
    // Twice the height: the colour rows, then the mask rows.
    putInfoHeader(out, side, 2 * side, 8, side * side + side * maskRowBytes);
    for (QRgb colour : icon.palette) {
        out.append(char(qBlue(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qRed(colour)));
        out.append('\0');
    }
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x)
            out.append(char(icon.index[y][x]));
    for (int y = side - 1; y >= 0; --y)
        for (int byte = 0; byte < maskRowBytes; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (icon.transparent[y][byte * 8 + bit])
                    bits |= 0x80u >> bit;
            out.append(char(bits));
        }
    return out;
}

QByteArray iconFile(const IconImage& icon)
{
    const QByteArray image = iconImageBytes(icon);
    QByteArray out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon
    put16(out, 1); // one image
    out.append(char(IconImage::side));
    out.append(char(IconImage::side));
    out.append('\0'); // 256 colours or more
    out.append('\0');
    put16(out, 0); // planes and bit count are read from the image itself
    put16(out, 0);
    put32(out, static_cast<unsigned long>(image.size()));
    put32(out, 6 + 16);
    return out + image;
}

QImage iconAsImage(const IconImage& icon)
{
    QImage image(IconImage::side, IconImage::side, QImage::Format_ARGB32);
    for (int y = 0; y < IconImage::side; ++y)
        for (int x = 0; x < IconImage::side; ++x)
            image.setPixel(x, y,
                           icon.transparent[y][x] ? qRgba(0, 0, 0, 0)
                                                  : (icon.palette[icon.index[y][x]] | 0xFF000000u));
    return image;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace artwork
