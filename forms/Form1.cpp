#include "Form1.h"

#include "Form2.h"
#include "Form3.h"
#include "ProgramWait.h"
#include "RunTime.h"
#include "SpokenNames.h"
#include "Toolkit.h"
#include "lookup/ExecCmd.h"
#include "lookup/FindExe.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

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

// An Arabic sentence, then the system's own reason on a line of its own, in its own language.
QString withReason(const QString& sentence, const std::string& reason)
{
    return sentence + QLatin1Char('\n') + QString::fromStdString(reason);
}

// While it lives, `controls` take no input: they are disabled, so that nothing typed or clicked
// at them meanwhile waits to be handled later. Afterwards each is as enabled as it was, and the
// window's focus is back where it was.
class InputWithheld
{
public:
    InputWithheld(QWidget& window, std::initializer_list<QWidget*> controls)
        : focus(window.focusWidget())
    {
        for (QWidget* control : controls) {
            wasDisabled.emplace_back(control, control->testAttribute(Qt::WA_Disabled));
            control->setEnabled(false);
        }
    }
    ~InputWithheld()
    {
        for (const auto& [control, disabled] : wasDisabled)
            if (control)
                control->setEnabled(!disabled);
        if (focus)
            focus->setFocus();
    }
    InputWithheld(const InputWithheld&) = delete;
    InputWithheld& operator=(const InputWithheld&) = delete;

private:
    QPointer<QWidget> focus;
    std::vector<std::pair<QPointer<QWidget>, bool>> wasDisabled;
};

} // namespace

Form1::Form1(Platform& platform) : ui(std::make_unique<Ui::Form1>()), platform(platform)
{
    ui->setupUi(this);
    placeTheSentenceAndItsEnd();

    // A title bar with the close box only; the client area below the menu bar stays exactly
    // the size of the picture.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QFont pathFont = ui->Text1->font();
    pathFont.setPointSizeF(windowFontPoints);
    ui->Text1->setFont(pathFont);

    // The labels lie over the picture, and a press on them belongs to the picture.
    for (QLabel* label : {ui->Label1, ui->Label2, static_cast<QLabel*>(ui->Label3)})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The path box is named by the line above it; each search describes it by the sentence below
    // it. The picture is what the window is dragged by.
    nameControlsForScreenReaders(*this);
    ui->Text1->setAccessibleName(spokenText(ui->Label1->text()));
    ui->Image1->setAccessibleName(QStringLiteral("صورة البرنامج"));
    ui->Image1->setAccessibleDescription(QStringLiteral("اسحبها بالفأرة لتحريك النافذة"));

    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(ui->about, &QAction::triggered, this, &Form1::about_Click);
    connect(ui->fad, &QAction::triggered, this, &Form1::fad_Click);
    connect(ui->Image1, &Image::MouseDown, this, &Form1::Image1_MouseDown);
    connect(ui->Image1, &Image::MouseMove, this, &Form1::Image1_MouseMove);
    connect(ui->Image1, &Image::MouseUp, this, &Form1::Image1_MouseUp);
}

Form1::~Form1() = default;

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
    form.setWindowFlag(Qt::WindowMinimizeButtonHint, true);
}

void Form1::Command1_Click()
{
    const QString extension = InputBox(searchPrompt, searchTitle, QString());
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
    setTop(*ui->Command1, 1560);
    setTop(*ui->Command3, 2160);
    setLeft(*ui->Command3, 720);
    ui->Command2->setVisible(true);
    ui->Command2->setEnabled(!ui->Text1->toPlainText().isEmpty());
    // A search that failed is no "nothing opens it": the window, already showing the empty
    // answer, says why.
    if (!LastTrouble.empty())
        MsgBox(withReason(searchTroubleMessage, LastTrouble), searchTitle, this);
}

void Form1::Command2_Click()
{
    QString cmdline = ui->Text1->toPlainText();
    // A text the user edited runs as it is; the answer itself runs where its entry asks.
    if (LastAnswerInTerminal && cmdline == LastAnswer) {
        const auto inTerminal = platform.terminalCommandLine(cmdline.toStdString());
        if (!inTerminal) {
            MsgBox(noTerminalMessage, searchTitle, this);
            return;
        }
        cmdline = QString::fromStdString(*inTerminal);
    }
    if (const Status started = ExecCmd(cmdline); !started)
        MsgBox(withReason(startFailedMessage, started.reason()), searchTitle, this);
}

void Form1::Command3_Click()
{
    End();
}

void Form1::about_Click()
{
    Global<Form2>::Show();
}

void Form1::fad_Click()
{
    Global<Form3>::Show();
}

void Form1::Image1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, float X, float Y)
{
    if (programRunning)
        return;
    DragX = X;
    DragY = Y;
    Dragging = true;
    // Where no program may place its own window (Wayland), the window system moves it instead,
    // and the drag is its own from here on.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && windowHandle() &&
        windowHandle()->startSystemMove())
        Dragging = false;
}

// The window moves by as far as the pointer has left the point where it grabbed the picture;
// since the picture moves along, that point comes back under the pointer.
void Form1::Image1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float X, float Y)
{
    Form1& window = Global<Form1>::get();
    const float newLeft = windowLeft(window) + (X - DragX);
    const float newTop = windowTop(window) + (Y - DragY);
    if (Dragging)
        Move(window, newLeft, newTop);
}

void Form1::Image1_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, float, float)
{
    Dragging = false;
}

QString Form1::FindExe(QString extension)
{
    const LookupResult result = LookUpProgram(extension.toStdString(), platform);
    LastAnswer = QString::fromStdString(result.program);
    LastAnswerInTerminal = result.terminal && !LastAnswer.isEmpty();
    LastTrouble = result.status == LookupStatus::Trouble ? result.reason : std::string();
    return LastAnswer;
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
    const InputWithheld withheld(*this,
                                 {ui->Command1, ui->Command2, ui->Command3, ui->Text1, menuBar()});
    setCursor(Qt::BusyCursor);
    waitForExitWithEventsRunning(started, process);
    unsetCursor();
    programRunning = false;
}

// The run button returns to its caller only once the started program has ended, so the window
// stays open until then; the exit button is withheld as well.
void Form1::closeEvent(QCloseEvent* event)
{
    if (programRunning) {
        event->ignore();
        QApplication::beep();
        return;
    }
    QMainWindow::closeEvent(event);
}

} // namespace qimlar
