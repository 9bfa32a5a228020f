#pragma once

#include "lookup/Platform.h"

#include <QMainWindow>

#include <memory>
#include <string>

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

    // Starts the program `cmdline` names and returns once it has ended; at once, saying why,
    // when nothing could be started. Meanwhile the windows keep painting, but this one's
    // controls and menu take no input, its picture drags nothing and its close box is refused.
    Status ExecCmd(QString& cmdline);

    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void about_Click();
    void fad_Click();
    void Image1_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Image1_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Image1_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);

    void SetMinBox(QWidget& form);
    void placeTheSentenceAndItsEnd();
    // Waits for the started program with the events running, this window taking no input.
    void waitWithInputWithheld(Platform& started, const ProcessHandle& process);

    QString FindExe(QString extension);

    std::unique_ptr<Ui::Form1> ui;
    Platform& platform;

    // The last search's answer, and whether its desktop entry runs it in a terminal: the run
    // button opens a terminal for it while the path box still holds exactly that answer.
    QString LastAnswer;
    bool LastAnswerInTerminal = false;
    // Why the last search failed, when it ran into trouble (no temporary folder, no probe).
    std::string LastTrouble;

    // Where the picture was grabbed (twips within it), and whether a drag is under way.
    float DragX = 0;
    float DragY = 0;
    bool Dragging = false;

    // Where the extension's label ends, left of the sentence it completes; the label keeps this
    // right edge whatever its text.
    int label3RightEdge = 0;

    // Whether ExecCmd is waiting for a started program.
    bool programRunning = false;
};

} // namespace qimlar
