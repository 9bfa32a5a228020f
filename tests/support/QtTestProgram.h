#pragma once

// What the window tests share: the program's own run time, and a second run of the test
// program as a child for what ends the process.

#include "toolkit/RunTime.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <functional>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

// Destroys the windows that were unloaded, as the event loop would.
inline void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs `open`, which shows a modal input prompt and returns once it has closed, and hands the
// prompt to `answer` as soon as it is up. A prompt that does not open
// within five seconds, or that `answer` leaves open, fails the test instead of leaving it
// waiting: every modal window is then closed, so `open` returns.
inline void answerPrompt(const std::function<void()>& open,
                         const std::function<void(QInputDialog&)>& answer)
{
    bool answered = false;
    bool givenUp = false;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* prompt = qobject_cast<QInputDialog*>(modal);
        if (prompt && !answered && !givenUp) {
            answered = true;
            answer(*prompt);
            if (prompt->isVisible()) {
                if (!QTest::currentTestFailed())
                    QTest::qFail("the prompt was left open", __FILE__, __LINE__);
                prompt->reject();
            }
        } else if (!answered && !givenUp && waited.hasExpired(5000)) {
            givenUp = true;
            QTest::qFail("the input prompt did not open within 5 seconds", __FILE__, __LINE__);
        } else if (givenUp && modal) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    poll.start();
    open();
    if (!answered && !givenUp)
        QTest::qFail("the input prompt did not open", __FILE__, __LINE__);
}

// Whether the test runs under Wine, whose fonts are not Windows' own: Qt finds no Arabic writing
// system in its Tahoma, and draws Arabic in another face, so checks that measure text in the
// windows' face say nothing there.
inline bool underWine()
{
#ifdef _WIN32
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// The command line of a program that runs for two seconds, then ends: this test program, asked.
inline QString twoSecondProgram()
{
    return QLatin1Char('"') + QCoreApplication::applicationFilePath() +
           QStringLiteral("\" --sleep-two-seconds");
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
    if (argc > 1 && qstrcmp(argv[1], "--sleep-two-seconds") == 0) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        return 0;
    }
    QApplication application(argc, argv);
    qimlar::toolkit::prepareRunTime(application);
    if (child && argc > 1 && qstrcmp(argv[1], childFlag) == 0)
        return child();
    Tests tests;
    return QTest::qExec(&tests, argc, argv);
}
