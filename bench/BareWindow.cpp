// What Qimlar's start is measured against: a bare Qt Widgets program that shows the same splash
// picture in the same kind of window (frameless, centred) for the same 1.3 seconds, then the
// main picture alone in a plain window, so that window_start watches both programs the same way.
// Each option adds one thing Qimlar does beyond that, so its cost can be seen on its own:
//   --translations   Qt's own texts in Arabic, as Qimlar loads them
//   --arabic-text    a line of Arabic in the window's face, which loads and shapes its fonts

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

namespace {

// A window of exactly the picture's size with the picture as its background, centred.
void showPicture(QWidget& window, const QString& picture)
{
    const QPixmap pixmap(picture);
    QPalette palette = window.palette();
    palette.setBrush(QPalette::Window, QBrush(pixmap));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setFixedSize(pixmap.size());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList options = QApplication::arguments().mid(1);

    QTranslator translator;
    if (options.contains(QStringLiteral("--translations")) &&
        translator.load(QStringLiteral("qtbase_ar"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);

    QWidget splash;
    splash.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    showPicture(splash, QStringLiteral(":/pictures/frmshow.jpg"));

    QWidget main;
    if (options.contains(QStringLiteral("--arabic-text"))) {
        QFont face(QStringLiteral("Noto Sans Arabic UI"));
        face.setPointSizeF(8.25);
        auto* line = new QLabel(QStringLiteral("قيملار"), &main);
        line->setFont(face);
        new QVBoxLayout(&main);
        main.layout()->addWidget(line);
    }
    QTimer::singleShot(1300, [&] {
        splash.hide();
        showPicture(main, QStringLiteral(":/pictures/Form1.bmp"));
    });
    return QApplication::exec();
}
