#include "Form1.h"
#include "RunTime.h"
#include "Toolkit.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    qimlar::prepareRunTime(application);
    qimlar::Global<qimlar::Form1>::Show();
    return QApplication::exec();
}
