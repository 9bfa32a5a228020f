#include "RunTime.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

// Pictures live in a static library: their registration must be asked for by name.
static void initPictures()
{
    Q_INIT_RESOURCE(qimlar);
}

namespace qimlar::toolkit {

namespace {

// The windows are drawn in Tahoma, the classic Windows face with Arabic letters. Elsewhere the
// same role falls to Noto Sans Arabic UI, with Noto Sans for Latin letters and digits.
const char* const windowFont = "Tahoma";

void useArabicQtTexts(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_ar"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace

void prepareRunTime(QApplication& application)
{
    initPictures();
    useArabicQtTexts(application);
    // Wayland compositors and taskbars find the program's icon and name through its desktop file.
    QGuiApplication::setDesktopFileName(QStringLiteral(QIMLAR_APP_ID));

    QFont::insertSubstitutions(QString::fromLatin1(windowFont),
                               {QStringLiteral("Noto Sans Arabic UI"),
                                QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Sans")});
    QFont font(QString::fromLatin1(windowFont));
    font.setPointSizeF(windowFontPoints);
    QApplication::setFont(font);

    // Tool windows count as much as any other: the toolkit ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
}

} // namespace qimlar::toolkit
