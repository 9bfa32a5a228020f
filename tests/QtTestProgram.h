#pragma once

// What the window tests share: the program's own run time, and a second run of the test
// program as a child for what ends the process.

#include "RunTime.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

// Destroys the windows that were unloaded, as the event loop would.
inline void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs this test program again as `childFlag` and checks that it ended normally with status 0.
inline void verifyChildEndsWithStatusZero(const char* childFlag)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag)});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

// The test program's main: the tests of `Tests`, or `child` when started as `childFlag`.
template <class Tests>
int runQtTests(int argc, char* argv[], const char* childFlag = nullptr, int (*child)() = nullptr)
{
    QApplication application(argc, argv);
    qimlar::prepareRunTime(application);
    if (child && argc > 1 && qstrcmp(argv[1], childFlag) == 0)
        return child();
    Tests tests;
    return QTest::qExec(&tests, argc, argv);
}
