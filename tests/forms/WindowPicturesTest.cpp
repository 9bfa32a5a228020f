// Each window shows its picture as drawn: at its natural size, from the top-left corner, unscaled,
// and the About window's icon lets the frame show through where the icon is transparent.

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "QtTestProgram.h"
#include "frmshow.h"
#include "toolkit/Global.h"

#include <QLabel>
#include <QWindow>
#include <QtTest>

using qimlar::Form1;
using qimlar::Form2;
using qimlar::Form3;
using qimlar::frmshow;
using qimlar::toolkit::Global;

namespace {

QImage picture(const char* name)
{
    return QImage(QStringLiteral(":/pictures/") + QLatin1String(name))
        .convertToFormat(QImage::Format_ARGB32);
}

QImage rendered(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QLabel& imageControl(QWidget& window)
{
    auto* image = window.findChild<QLabel*>(QStringLiteral("Image1"));
    if (!image)
        qFatal("%s has no Image1", qPrintable(window.objectName()));
    return *image;
}

} // namespace

class WindowPicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        Global<Form2>::Unload();
        Global<Form1>::Unload();
        processDeferredDeletes();
    }

    void theSplashShowsItsPictureAsItsWholeClientArea()
    {
        // Built without its Load handler, which would run the whole start.
        frmshow splash;
        splash.resize(splash.minimumSize());
        const QImage expected = picture("frmshow.jpg");
        QCOMPARE(expected.size(), QSize(361, 181));
        QCOMPARE(rendered(splash), expected);
    }

    void theMainWindowsPictureFillsItsClientAreaUnscaled()
    {
        Form1& window = Global<Form1>::get();
        QLabel& image = imageControl(window);
        QCOMPARE(image.geometry(), QRect(0, 0, 361, 183));
        QCOMPARE(image.geometry(), window.centralWidget()->rect());
        QCOMPARE(rendered(image), picture("Form1.bmp"));
    }

    void onlyTheMainWindowCarriesTheProgramIcon()
    {
        const QImage icon = picture("qimlar.ico");
        QCOMPARE(icon.size(), QSize(32, 32));

        Global<Form1>::Show();
        Form1& window = Global<Form1>::get();
        QCOMPARE(window.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
        QCOMPARE(window.windowIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32),
                 icon);
        QVERIFY(window.windowHandle() && !window.windowHandle()->icon().isNull());

        frmshow splash;
        QVERIFY(splash.windowIcon().isNull());
        QVERIFY(Global<Form2>::get().windowIcon().isNull());
        Form3 usefulness;
        QVERIFY(usefulness.windowIcon().isNull());
    }

    void theAboutIconSitsInItsFrameAndLetsTheFrameShowThrough()
    {
        Form2& about = Global<Form2>::get();
        QLabel& image = imageControl(about);
        QCOMPARE(image.parentWidget()->objectName(), QStringLiteral("Frame2"));
        QCOMPARE(image.geometry(), QRect(216, 40, 32, 32));

        const QImage icon = picture("qimlar.ico");
        const QPoint origin = image.mapTo(&about, QPoint(0, 0));
        const QImage withIcon = rendered(about);
        image.hide();
        const QImage withoutIcon = rendered(about);
        image.show();

        int transparent = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QPoint at = origin + QPoint(x, y);
                const QRgb expected =
                    qAlpha(icon.pixel(x, y)) == 0 ? withoutIcon.pixel(at) : icon.pixel(x, y);
                transparent += qAlpha(icon.pixel(x, y)) == 0;
                QVERIFY2(withIcon.pixel(at) == expected,
                         qPrintable(QStringLiteral("icon pixel %1,%2").arg(x).arg(y)));
            }
        // The frame's own colour shows at the icon's corners, where the ground is bare.
        QVERIFY(transparent > 0);
        QCOMPARE(
            QColor(withIcon.pixel(origin)),
            about.findChild<QWidget*>(QStringLiteral("Frame2"))->palette().color(QPalette::Window));
    }
};

int main(int argc, char* argv[])
{
    return runQtTests<WindowPicturesTest>(argc, argv);
}

#include "WindowPicturesTest.moc"
