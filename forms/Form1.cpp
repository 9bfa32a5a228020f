#include "Form1.h"

#include "Form2.h"
#include "Form3.h"
#include "Form4.h"
#include "ProgramList.h"
#include "lookup/ExecCmd.h"
#include "lookup/FindExe.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Global.h"
#include "toolkit/InputWithheld.h"
#include "toolkit/ProgramWait.h"
#include "toolkit/RunTime.h"
#include "toolkit/SpokenNames.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowSystem.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

#include <algorithm>

namespace qimlar {

namespace {

const QString searchPrompt =
    QStringLiteral("فضلاً :  أدخل الإمتداد الذي تود الكشف عن برنامج تشغيله");
const QString searchTitle = QStringLiteral("Qimlar");
const QString noTerminalMessage =
    QStringLiteral("هذا البرنامج يعمل داخل الطرفية، ولم يُعثر على برنامج طرفية مثبّت لتشغيله فيه.");
const QString searchTroubleMessage =
    QStringLiteral("تعذّر البحث عن البرنامج الذي يشغّل هذا الإمتداد، والسبب:");
const QString startFailedMessage = QStringLiteral("لم يُشغَّل أي برنامج، والسبب:");

} // namespace

Form1::Form1(Platform& platform, FreshLookup askAfresh)
    : ui(std::make_unique<Ui::Form1>()), platform(platform), askAfresh(std::move(askAfresh))
{
    ui->setupUi(this);
    // There is nothing to choose from before a search has found a type.
    ui->choice->menuAction()->setEnabled(false);
    placeTheSentenceAndItsEnd();

    // A title bar with the close box only; the client area below the menu bar stays exactly
    // the size of the picture.
    toolkit::makeFixedSingleWindow(*this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QFont pathFont = ui->Text1->font();
    pathFont.setPointSizeF(toolkit::windowFontPoints);
    ui->Text1->setFont(pathFont);

    // The labels lie over the picture, and a press on them belongs to the picture.
    for (QLabel* label : {ui->Label1, ui->Label2, static_cast<QLabel*>(ui->Label3)})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The path box is named by the line above it; each search describes it by the sentence below
    // it. The picture is what the window is dragged by.
    toolkit::nameControlsForScreenReaders(*this);
    ui->Text1->setAccessibleName(toolkit::spokenText(ui->Label1->text()));
    ui->Image1->setAccessibleName(QStringLiteral("صورة البرنامج"));
    ui->Image1->setAccessibleDescription(QStringLiteral("اسحبها بالفأرة لتحريك النافذة"));

    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(ui->about, &QAction::triggered, this, &Form1::about_Click);
    connect(ui->fad, &QAction::triggered, this, &Form1::fad_Click);
    connect(ui->choices, &QAction::triggered, this, &Form1::choices_Click);
    connect(ui->Image1, &toolkit::Image::MouseDown, this, &Form1::Image1_MouseDown);
    connect(ui->Image1, &toolkit::Image::MouseMove, this, &Form1::Image1_MouseMove);
    connect(ui->Image1, &toolkit::Image::MouseUp, this, &Form1::Image1_MouseUp);
}

// The chooser lists this window's search and starts through it: it goes with it.
Form1::~Form1()
{
    toolkit::Global<Form4>::Unload();
}

// The sentence keeps its right edge; should this machine's font draw it wider than its box, the
// box grows to the left, so that no letter of its last word is cut off. The extension ends where
// the definition ends it, or further left, a space before the sentence's last word.
void Form1::placeTheSentenceAndItsEnd()
{
    QLabel& sentence = *ui->Label2;
    const int sentenceRight = sentence.x() + sentence.width();
    const int sentenceLeft = sentenceRight - sentence.sizeHint().width();
    if (sentenceLeft < sentence.x())
        sentence.setGeometry(sentenceLeft, sentence.y(), sentenceRight - sentenceLeft,
                             sentence.height());
    label3RightEdge =
        std::min(ui->Label3->x() + ui->Label3->width(),
                 sentenceLeft - sentence.fontMetrics().horizontalAdvance(QLatin1Char(' ')));
}

void Form1::Form_Load()
{
    SetMinBox(*this);
}

// The definition leaves the minimize box out; the window gains it before it is first shown,
// and keeps its fixed size and its lack of a maximize box.
void Form1::SetMinBox(QWidget& form)
{
    toolkit::addMinimizeBox(form);
}

void Form1::Command1_Click()
{
    const QString extension = toolkit::InputBox(searchPrompt, searchTitle, QString());
    ui->Text1->setPlainText(FindExe(extension));
    ui->Label3->setText(extension + QLatin1Char('.'));
    // The label grows to the left, away from the sentence it ends, as Arabic reads.
    ui->Label3->adjustSize();
    ui->Label3->move(label3RightEdge - ui->Label3->width(), ui->Label3->y());
    ui->Text1->setAccessibleDescription(ui->Label2->text() + QLatin1Char(' ') + ui->Label3->text());
    ui->Label1->setVisible(true);
    ui->Label2->setVisible(true);
    ui->Label3->setVisible(true);
    ui->Text1->setVisible(true);
    toolkit::setTop(*ui->Command1, searchedCommand1Top);
    toolkit::setTop(*ui->Command3, searchedCommand3Top);
    toolkit::setLeft(*ui->Command3, searchedCommand3Left);
    ui->Command2->setVisible(true);
    ui->Command2->setEnabled(!ui->Text1->toPlainText().isEmpty());
    // A search that failed is no "nothing opens it": the window, already showing the empty
    // answer, says why.
    ui->choice->menuAction()->setEnabled(!lastSearch.type.empty());
    if (toolkit::Global<Form4>::isLoaded())
        showSearchInChooser();
    if (!lastTrouble.empty())
        toolkit::MsgBox(toolkit::withReason(searchTroubleMessage, lastTrouble), searchTitle, this);
}

void Form1::Command2_Click()
{
    const QString cmdline = ui->Text1->toPlainText();
    // A text the user edited runs as it is; the answer itself runs where its entry asks.
    startProgram(cmdline, lastAnswerInTerminal && cmdline == lastAnswer);
}

void Form1::startProgram(QString cmdline, bool inTerminal)
{
    if (inTerminal) {
        const auto inTerminal = platform.terminalCommandLine(cmdline.toStdString());
        if (!inTerminal) {
            toolkit::MsgBox(noTerminalMessage, searchTitle, this);
            return;
        }
        cmdline = QString::fromStdString(*inTerminal);
    }
    if (const Status started = ExecCmd(cmdline); !started)
        toolkit::MsgBox(toolkit::withReason(startFailedMessage, started.reason()), searchTitle,
                        this);
}

void Form1::Command3_Click()
{
    toolkit::End();
}

void Form1::about_Click()
{
    toolkit::Global<Form2>::Show();
}

void Form1::fad_Click()
{
    toolkit::Global<Form3>::Show();
}

void Form1::choices_Click()
{
    showSearchInChooser();
    toolkit::Global<Form4>::Show();
}

void Form1::showSearchInChooser()
{
    Form4& chooser = toolkit::Global<Form4>::get();
    connect(&chooser, &Form4::startRequested, this, &Form1::startChosen, Qt::UniqueConnection);
    connect(&chooser, &Form4::answerChanged, this, &Form1::showNewAnswer, Qt::UniqueConnection);
    chooser.showSearch({&platform, askAfresh, lastExtension, lastSearch});
}

// One program at a time: the run button's waits for its own.
void Form1::startChosen(const QString& program, bool inTerminal)
{
    if (programRunning) {
        QApplication::beep();
        return;
    }
    startProgram(program, inTerminal);
}

void Form1::showNewAnswer(const QString& program, bool inTerminal)
{
    markDefault(lastSearch, program.toStdString());
    lastAnswer = program;
    lastAnswerInTerminal = inTerminal && !program.isEmpty();
    ui->Text1->setPlainText(program);
    ui->Command2->setEnabled(!program.isEmpty());
}

void Form1::Image1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, float X, float Y)
{
    if (programRunning)
        return;
    DragX = X;
    DragY = Y;
    Dragging = true;
    // Where the window system moves the window itself, the drag is its own from here on.
    if (toolkit::handMoveToWindowSystem(*this))
        Dragging = false;
}

// The window moves by as far as the pointer has left the point where it grabbed the picture;
// since the picture moves along, that point comes back under the pointer.
void Form1::Image1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float X, float Y)
{
    const float newLeft = toolkit::windowLeft(*this) + (X - DragX);
    const float newTop = toolkit::windowTop(*this) + (Y - DragY);
    if (Dragging)
        toolkit::Move(*this, newLeft, newTop);
}

void Form1::Image1_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, float, float)
{
    Dragging = false;
}

QString Form1::FindExe(QString extension)
{
    LookupDetail detail;
    detail.everyProgram = true;
    const LookupResult result = LookUpProgram(extension.toStdString(), platform, detail);
    lastExtension = extension;
    lastSearch = result;
    lastAnswer = QString::fromStdString(result.program);
    lastAnswerInTerminal = result.terminal && !lastAnswer.isEmpty();
    lastTrouble = result.status == LookupStatus::Trouble ? result.reason : std::string();
    return lastAnswer;
}

Status Form1::ExecCmd(QString& cmdline)
{
    return qimlar::ExecCmd(cmdline.toStdString(), platform,
                           [this](Platform& started, const ProcessHandle& process) {
                               waitWithInputWithheld(started, process);
                           });
}

void Form1::waitWithInputWithheld(Platform& started, const ProcessHandle& process)
{
    programRunning = true;
    Dragging = false;
    const toolkit::InputWithheld withheld(
        *this, {ui->Command1, ui->Command2, ui->Command3, ui->Text1, menuBar()});
    setCursor(Qt::BusyCursor);
    toolkit::waitForExitWithEventsRunning(started, process);
    unsetCursor();
    programRunning = false;
}

// The run button returns to its caller only once the started program has ended, so the window
// stays open until then; the exit button is withheld as well.
void Form1::closeEvent(QCloseEvent* event)
{
    if (!toolkit::refuseCloseWhileWaiting(*event, programRunning))
        QMainWindow::closeEvent(event);
}

} // namespace qimlar
