#include "RunTime.h"
#include "Toolkit.h"
#include "frmshow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The command line has no effect: Qt sees the program's name only, so that none of its own
    // options (-reverse, -style, -stylesheet, -qwindowgeometry, ...) changes the windows.
    char fallbackName[] = "qimlar";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};

    QApplication application(qtArgc, qtArgv);
    qimlar::prepareRunTime(application);
    qimlar::runStartUpWindow<qimlar::frmshow>();
    return QApplication::exec();
}
