#include "Form4.h"

#include "DefaultChangeTexts.h"
#include "ProgramList.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Global.h"
#include "toolkit/InputWithheld.h"
#include "toolkit/ProgramWait.h"
#include "toolkit/SpokenNames.h"
#include "toolkit/WindowSystem.h"
#include "ui_Form4.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

#include <utility>

namespace qimlar {

namespace {

const QString title = QStringLiteral("Qimlar");
const QString alreadyTheDefault =
    QStringLiteral("هذا البرنامج هو الذي يشغّل هذه الملفات من قبل، فلم يُغيَّر شيء.");
const QString notChanged = QStringLiteral("لم يُغيَّر البرنامج الذي يشغّل هذا الإمتداد، والسبب:");
const QString anotherStillDecides =
    QStringLiteral("كُتب التغيير، لكن برنامجاً آخر ما زال هو الذي يشغّل هذا الإمتداد، والسبب:");
const QString undoFailed = QStringLiteral("تعذّر التراجع عن آخر تغيير، والسبب:");
const QString inSettings = QStringLiteral(
    "لا يسمح النظام للبرامج بأن تغيّر بنفسها البرنامج الذي يشغّل الملفات، فستُفتح الآن صفحة "
    "التطبيقات الافتراضية في إعداداته: اختر فيها «%1» للملفات ذات الإمتداد %2، ثم عُد إلى Qimlar.");
const QString settingsFailed = QStringLiteral("تعذّر فتح صفحة الإعدادات، والسبب:");
const QString nowTheChosen =
    QStringLiteral("صار «%1» هو البرنامج الذي يشغّل الملفات ذات الإمتداد %2.");
const QString stillTheSame = QStringLiteral("لم يتغيّر البرنامج الذي يشغّل الملفات ذات الإمتداد %1.");
const QString nowAnother = QStringLiteral("صار برنامج آخر هو الذي يشغّل الملفات ذات الإمتداد %1:");

} // namespace

Form4::Form4() : ui(std::make_unique<Ui::Form4>())
{
    ui->setupUi(this);
    frameTitle = ui->Frame1->title();
    toolkit::makeToolWindow(*this);
    toolkit::nameControlsForScreenReaders(*this);
    ui->List1->setAccessibleName(toolkit::spokenText(ui->Frame1->title()));

    using Handler = void (Form4::*)();
    const std::pair<QPushButton*, Handler> buttons[] = {{ui->Command1, &Form4::Command1_Click},
                                                        {ui->Command2, &Form4::Command2_Click},
                                                        {ui->Command3, &Form4::Command3_Click},
                                                        {ui->Command4, &Form4::Command4_Click}};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);
    // Enter on a row, or a double click, starts its program.
    connect(ui->List1, &QListWidget::itemActivated, this, &Form4::Command1_Click);
    connect(ui->List1, &QListWidget::currentRowChanged, this, &Form4::List1_CurrentRowChanged);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &Form4::Application_StateChanged);
}

Form4::~Form4() = default;

void Form4::showSearch(ChoiceSearch shown)
{
    search = std::move(shown);
    ui->Frame1->setTitle(frameTitle + extensionText() + QLatin1Char(' '));
    ui->List1->setAccessibleName(toolkit::spokenText(ui->Frame1->title()));
    fillProgramList(*ui->List1, search.result.programs);
    ui->List1->setCurrentRow(search.result.programs.empty() ? -1 : 0);
    List1_CurrentRowChanged(ui->List1->currentRow());
}

QString Form4::extensionText() const
{
    return toolkit::leftToRight(QLatin1Char('.') + search.extension);
}

const ProgramChoice* Form4::selected() const
{
    const int row = ui->List1->currentRow();
    const auto& programs = search.result.programs;
    return row >= 0 && row < int(programs.size()) ? &programs[std::size_t(row)] : nullptr;
}

void Form4::List1_CurrentRowChanged(int)
{
    const ProgramChoice* choice = selected();
    ui->Command1->setEnabled(choice && !choice->program.empty());
    ui->Command2->setEnabled(choice != nullptr);
}

void Form4::Command1_Click()
{
    const ProgramChoice* choice = selected();
    if (!choice || choice->program.empty() || programRunning)
        return;
    const ProgramChoice chosen = *choice;
    programRunning = true;
    {
        const toolkit::InputWithheld withheld(
            *this, {ui->List1, ui->Command1, ui->Command2, ui->Command3, ui->Command4});
        emit startRequested(QString::fromStdString(chosen.program), chosen.terminal);
    }
    programRunning = false;
}

// First the change as it would be, for the user to agree to; then the change itself.
void Form4::Command2_Click()
{
    const ProgramChoice* choice = selected();
    if (!choice)
        return;
    const ProgramChoice chosen = *choice;
    const DefaultChangeRequest preview{
        search.result.type, chosen.id.empty() ? chosen.program : chosen.id, true, {}};
    const DefaultChange wouldBe = search.platform->makeDefault(preview);
    if (wouldBe.status == DefaultChangeStatus::Unsupported)
        return chooseInSettings(chosen);
    if (wouldBe.status != DefaultChangeStatus::Done)
        return say(toolkit::withReason(notChanged, wouldBe.text));
    if (wouldBe.files.empty())
        return say(alreadyTheDefault);
    if (!toolkit::Confirm(confirmationText(wouldBe, extensionText()), title, this,
                          diffsOf(wouldBe)))
        return;
    change(chosen, preview);
}

void Form4::change(const ProgramChoice& chosen, DefaultChangeRequest request)
{
    request.dryRun = false;
    request.askAfresh = search.askAfresh;
    const DefaultChange made = search.platform->makeDefault(request);
    if (made.status != DefaultChangeStatus::Done)
        return say(toolkit::withReason(notChanged, made.text));
    const std::string answer = made.answer ? *made.answer : answerNow();
    showAnswer(answer);
    const std::string& wanted = made.program.empty() ? chosen.program : made.program;
    if (answer != wanted)
        say(toolkit::withReason(anotherStillDecides, made.decision));
}

void Form4::Command3_Click()
{
    const DefaultChange undone = search.platform->undoLastDefaultChange();
    if (undone.status != DefaultChangeStatus::Done)
        return say(toolkit::withReason(undoFailed, undone.text));
    showAnswer(answerNow());
    say(undoneText(undone));
}

void Form4::Command4_Click()
{
    toolkit::Global<Form4>::Unload();
}

// Where only the system's settings may change the default: the user is told what to choose
// there, and the answer is asked again once they are back.
void Form4::chooseInSettings(const ProgramChoice& choice)
{
    say(inSettings.arg(nameOf(choice), extensionText()));
    if (const Status opened = search.platform->openDefaultAppsSettings(choice); !opened)
        return say(toolkit::withReason(settingsFailed, opened.reason()));
    settingsVisit = SettingsVisit{choice.program, search.result.program, nameOf(choice)};
}

void Form4::Application_StateChanged(Qt::ApplicationState state)
{
    if (!settingsVisit)
        return;
    if (state != Qt::ApplicationActive)
        settingsVisit->left = true;
    else if (settingsVisit->left)
        checkAfterSettings();
}

void Form4::checkAfterSettings()
{
    const SettingsVisit visit = *settingsVisit;
    settingsVisit.reset();
    const std::string answer = answerNow();
    showAnswer(answer);
    if (answer == visit.before)
        say(stillTheSame.arg(extensionText()));
    else if (answer == visit.chosen)
        say(nowTheChosen.arg(visit.name, extensionText()));
    else
        say(nowAnother.arg(extensionText()) + QLatin1Char('\n') +
            toolkit::leftToRight(QString::fromStdString(answer)));
}

// A process started now, where the desktop's library keeps what it read; else this one.
std::string Form4::answerNow()
{
    if (search.askAfresh)
        if (const auto fresh = search.askAfresh({search.result.type, {}, false}))
            return fresh->program;
    return LookUpProgram(search.extension.toStdString(), *search.platform).program;
}

void Form4::showAnswer(const std::string& program)
{
    // The selection stays on its program, wherever the new order puts it.
    const ProgramChoice* choice = selected();
    const std::string entry = choice ? choice->entry : std::string();
    markDefault(search.result, program);
    fillProgramList(*ui->List1, search.result.programs);
    const auto& programs = search.result.programs;
    for (std::size_t row = 0; row < programs.size(); ++row)
        if (programs[row].entry == entry)
            ui->List1->setCurrentRow(int(row));
    const bool terminal = !search.result.programs.empty() &&
                          search.result.programs.front().program == program &&
                          search.result.programs.front().terminal;
    emit answerChanged(QString::fromStdString(program), terminal);
}

void Form4::say(const QString& text)
{
    toolkit::MsgBox(text, title, this);
}

void Form4::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !programRunning)
        close();
    else
        QWidget::keyPressEvent(event);
}

// The start button returns only once the program has ended: the window stays until then.
void Form4::closeEvent(QCloseEvent* event)
{
    if (!toolkit::refuseCloseWhileWaiting(*event, programRunning))
        QWidget::closeEvent(event);
}

} // namespace qimlar
