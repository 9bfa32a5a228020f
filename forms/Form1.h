#pragma once

#include "FreshAnswers.h"
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
//
// The numbered names are kept from the original program on purpose, so that its handlers can be
// read beside these: the windows frmshow (splash), Form1 (this one), Form2 (About) and Form3
// (usefulness); here Image1 is the picture the window is dragged by, Command1 the search button,
// Text1 the path box, Label1 the line above it, Label2 the sentence below it and Label3 the
// extension that ends the sentence, Command2 the run button and Command3 the exit button; the
// help menu's items are about (Form2) and fad (Form3). So are the handlers (Command1_Click,
// Form_Load, ...), FindExe, ExecCmd, SetMinBox and the drag's DragX, DragY and Dragging.
// Beside the help menu, the menu choice opens the chooser (Form4) by its item choices.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // `askAfresh` is how the chooser learns the answer after a change it made.
    explicit Form1(Platform& platform = nativePlatform(),
                   FreshLookup askAfresh = freshLookupBesideThisProgram());
    ~Form1() override;

    // Where a search puts the search and exit buttons, in twips within the client area.
    static constexpr int searchedCommand1Top = 1560;
    static constexpr int searchedCommand3Top = 2160;
    static constexpr int searchedCommand3Left = 720;

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
    void choices_Click();
    void Image1_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Image1_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Image1_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);

    // The run button's rules, for the path box and for the chooser's start button alike.
    void startProgram(QString cmdline, bool inTerminal);
    void startChosen(const QString& program, bool inTerminal);
    // The desktop's answer after the chooser changed it: the box shows it, as a search would.
    void showNewAnswer(const QString& program, bool inTerminal);
    void showSearchInChooser();

    void SetMinBox(QWidget& form);
    void placeTheSentenceAndItsEnd();
    // Waits for the started program with the events running, this window taking no input.
    void waitWithInputWithheld(Platform& started, const ProcessHandle& process);

    QString FindExe(QString extension);

    std::unique_ptr<Ui::Form1> ui;
    Platform& platform;

    // The last search's answer, and whether its desktop entry runs it in a terminal: the run
    // button opens a terminal for it while the path box still holds exactly that answer.
    QString lastAnswer;
    bool lastAnswerInTerminal = false;
    // Why the last search failed, when it ran into trouble (no temporary folder, no probe).
    std::string lastTrouble;
    // The last search, with every program that can open its type, for the chooser.
    QString lastExtension;
    LookupResult lastSearch;
    FreshLookup askAfresh;

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
