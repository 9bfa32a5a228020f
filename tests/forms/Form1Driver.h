#pragma once

// Drives the main window as a user does: its controls by name, the real input prompt answered,
// the message boxes read and closed, and the mouse as the window system reports it.

#include "Form1.h"
#include "QtTestProgram.h"
#include "toolkit/Global.h"
#include "toolkit/Twips.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

template <class W = QWidget> W* control(QWidget& form, const char* name)
{
    auto* widget = form.findChild<W*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// Left, top, width and height in twips, as the window definition gives them.
inline QList<int> twips(QWidget& form, const char* name)
{
    const QRect r = control(form, name)->geometry();
    const int scale = qimlar::toolkit::twipsPerPixel;
    return {r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale};
}

// Clicks the search button and, once the prompt is up, hands it to `answer`.
inline void search(QWidget& form, const std::function<void(QInputDialog&)>& answer)
{
    answerPrompt([&] { control<QPushButton>(form, "Command1")->click(); }, answer);
}

inline void searchFor(QWidget& form, const QString& extension)
{
    search(form, [&](QInputDialog& prompt) {
        prompt.setTextValue(extension);
        prompt.accept();
    });
}

// Does `act`, answering every message box it opens; the last box's title and text, or nothing
// when none opened.
inline QStringList messageFrom(const std::function<void()>& act)
{
    QStringList said;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = {box->windowTitle(), box->text()};
            box->accept();
        }
    });
    poll.start(10);
    act();
    return said;
}

// Does `act`, answering every message box it opens: a question with `answer`, any other with
// OK. The boxes' texts, in order.
inline QStringList boxesFrom(const std::function<void()>& act,
                             QMessageBox::StandardButton answer = QMessageBox::Ok)
{
    QStringList said;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        said << box->text();
        (box->button(answer) ? box->button(answer) : box->button(QMessageBox::Ok))->click();
    });
    poll.start(10);
    act();
    return said;
}

// The mouse as the window system reports it to the program's one main window: the pointer at a
// point of the screen, given in the window's coordinates of the moment.
struct Mouse
{
    explicit Mouse(qimlar::Form1& window = qimlar::toolkit::Global<qimlar::Form1>::get())
        : form(window)
    {}

    qimlar::Form1& form;
    QPoint at;
    Qt::MouseButtons held;

    QPoint local() const { return at - form.geometry().topLeft(); }
    void moveTo(QPoint point)
    {
        at = point;
        QTest::mouseMove(form.windowHandle(), local());
    }
    void moveBy(int dx, int dy) { moveTo(at + QPoint(dx, dy)); }
    void press(Qt::MouseButton button)
    {
        QTest::mousePress(form.windowHandle(), button, {}, local());
        held |= button;
    }
    void release(Qt::MouseButton button)
    {
        QTest::mouseRelease(form.windowHandle(), button, {}, local());
        held &= ~button;
    }
    // A point of the screen over `name`'s centre; for the picture, a point that no control
    // covers, whichever controls a search uncovers.
    QPoint over(const char* name)
    {
        QWidget* widget = control(form, name);
        if (qstrcmp(name, "Image1") == 0)
            return widget->mapToGlobal(QPoint(24, 130));
        return widget->mapToGlobal(widget->rect().center());
    }
};
