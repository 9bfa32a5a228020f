#include "frmshow.h"
#include "toolkit/Global.h"
#include "toolkit/RunTime.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The command line has no effect: Qt sees the program's name only, so that none of its own
    // options (-reverse, -style, -stylesheet, -qwindowgeometry, ...) changes the windows.
    char fallbackName[] = "qimlar";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};

    QApplication application(qtArgc, qtArgv);
    qimlar::toolkit::prepareRunTime(application);
    qimlar::toolkit::runStartUpWindow<qimlar::frmshow>();
    return QApplication::exec();
}
