#pragma once

#include "Platform.h"

#include <QMainWindow>

#include <memory>

namespace Ui {
class Form1;
}

namespace qimlar {

// The main window: asks for a file extension, shows the full path of the program that opens
// such files, and starts that program.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(Platform& platform = nativePlatform());
    ~Form1() override;

    // Starts the program `cmdline` names and returns once it has ended; at once when nothing
    // could be started. The window does not answer meanwhile.
    void ExecCmd(QString& cmdline);

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    QString FindExe(QString extension);

    std::unique_ptr<Ui::Form1> ui;
    Platform& platform;
};

} // namespace qimlar
