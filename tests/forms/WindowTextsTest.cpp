// Each window as its definition has it when loaded, compared with a kept copy in texts/: its
// title and size, every control's text and tooltip, the menus, and where each control stands
// in twips. Spaces, tatweels and quotation marks count, so a copy holds them exactly as shown.

#include "FakePlatform.h"
#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "QtTestProgram.h"
#include "frmshow.h"
#include "toolkit/Twips.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

QString quoted(QString text)
{
    return QLatin1Char('"') + text.replace(QLatin1Char('\n'), QLatin1String("\\n")) +
           QLatin1Char('"');
}

QString inTwips(const QRect& r)
{
    const int scale = qimlar::toolkit::twipsPerPixel;
    return QStringLiteral("%1 %2 %3 %4")
        .arg(r.x() * scale)
        .arg(r.y() * scale)
        .arg(r.width() * scale)
        .arg(r.height() * scale);
}

// A control's line: its name, where it stands, its text and its tooltip. A label's box is left
// out: the main window fits its sentence to the font this machine draws it in.
QString controlLine(QWidget& control)
{
    QString text;
    if (auto* label = qobject_cast<QLabel*>(&control))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        text = button->text();
    else if (auto* frame = qobject_cast<QGroupBox*>(&control))
        text = frame->title();
    else if (auto* box = qobject_cast<QLineEdit*>(&control))
        text = box->text();
    else if (auto* box = qobject_cast<QPlainTextEdit*>(&control))
        text = box->toPlainText();
    QStringList line{control.objectName()};
    if (const auto* label = qobject_cast<QLabel*>(&control); !label || !label->pixmap().isNull())
        line << inTwips(control.geometry());
    if (!text.isEmpty())
        line << quoted(text);
    if (!control.toolTip().isEmpty())
        line << QStringLiteral("tip") << quoted(control.toolTip());
    return line.join(QLatin1Char(' '));
}

// What the window shows of its definition, a line each, in the definition's order.
QStringList shown(QWidget& window)
{
    auto* main = qobject_cast<QMainWindow*>(&window);
    const QSize client = main ? main->centralWidget()->size() : window.size();
    QStringList lines{QStringLiteral("%1 %2 %3 %4")
                          .arg(window.objectName(), quoted(window.windowTitle()))
                          .arg(client.width() * qimlar::toolkit::twipsPerPixel)
                          .arg(client.height() * qimlar::toolkit::twipsPerPixel)};
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        if (auto* menu = qobject_cast<QMenu*>(control)) {
            lines << name + QLatin1Char(' ') + quoted(menu->title());
            for (QAction* item : menu->actions())
                lines << item->objectName() + QLatin1Char(' ') + quoted(item->text());
        } else if (qobject_cast<QFrame*>(control) || qobject_cast<QAbstractButton*>(control) ||
                   qobject_cast<QGroupBox*>(control) || qobject_cast<QLineEdit*>(control)) {
            lines << controlLine(*control);
        }
    }
    return lines;
}

// The kept copy of `window`'s definition. When they differ, what the window showed is written
// beside the test, as a new copy to look at.
void compareWithCopy(QWidget& window)
{
    const QString name = window.objectName();
    QFile copy(QStringLiteral(QIMLAR_WINDOW_TEXTS) + QLatin1Char('/') + name +
               QStringLiteral(".txt"));
    QVERIFY2(copy.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(copy.fileName()));
    const QStringList kept = QString::fromUtf8(copy.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList seen = shown(window);
    if (seen != kept) {
        QFile written(name + QStringLiteral(".seen.txt"));
        if (written.open(QIODevice::WriteOnly | QIODevice::Text))
            written.write((seen.join('\n') + '\n').toUtf8());
        qWarning("%s differs from %s; what it shows is in %s", qPrintable(name),
                 qPrintable(copy.fileName()), qPrintable(QFileInfo(written).absoluteFilePath()));
    }
    QCOMPARE(seen, kept);
}

} // namespace

class WindowTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void eachWindowShowsItsDefinition()
    {
        FakePlatform platform;
        qimlar::Form1 main(platform);
        compareWithCopy(main);
        qimlar::Form2 about;
        compareWithCopy(about);
        qimlar::Form3 usefulness;
        compareWithCopy(usefulness);
        qimlar::frmshow splash;
        compareWithCopy(splash);
    }
};

int main(int argc, char* argv[])
{
    return runQtTests<WindowTextsTest>(argc, argv);
}

#include "WindowTextsTest.moc"
