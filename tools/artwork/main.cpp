// Draws Qimlar's pictures and icon and writes them, in the formats the program and the desktop
// read, into the folder given (the project's resources/).

#include "MainPicture.h"
#include "PictureFiles.h"
#include "ProgramIcon.h"
#include "SplashPicture.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: qimlar-artwork RESOURCES-FOLDER APPLICATION-ID\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    try {
        using namespace artwork;
        writeFile(folder + QStringLiteral("frmshow.jpg"), jpegFile(splashPicture(), 92));
        writeFile(folder + QStringLiteral("Form1.bmp"), bitmapFile(mainPicture()));

        const IconImage icon = programIcon32();
        writeFile(folder + QStringLiteral("qimlar.ico"), iconFile(icon));
        // The icon's image alone, which the Windows resource script names by its own ID.
        writeFile(folder + QStringLiteral("qimlar-icon-image.bin"), iconImageBytes(icon));

        // The icon theme names the icon after the application.
        const QString themeIcon = QStringLiteral("hicolor/%1x%1/apps/") +
                                  QString::fromLatin1(argv[2]) + QStringLiteral(".png");
        for (int side : {32, 48, 64, 128, 256}) {
            const QImage picture =
                side == IconImage::side ? iconAsImage(icon) : programIconAt(side);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
            writeFile(folder + themeIcon.arg(side), png);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qimlar-artwork: %s\n", error.what());
        return 1;
    }
    return 0;
}
