#pragma once

#include "lookup/DefaultChange.h"
#include "lookup/LookupResult.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class Form4;
}

namespace qimlar {

class Platform;

// What the chooser lists: the main window's last search, and how to change what it found.
struct ChoiceSearch
{
    Platform* platform = nullptr;
    // How the answer after a change is asked; none, or failing: asked in this process.
    FreshLookup askAfresh;
    QString extension;
    LookupResult result; // with every program
};

// The chooser: every program that can open the last search's type, to start one, to make one
// the default (where the system lets a program do that; else in the system's own settings), and
// to undo the last such change. Here List1 is the list, Frame1 the frame around it, Command1
// the start button, Command2 make default, Command3 undo and Command4 close.
class Form4 : public QWidget
{
    Q_OBJECT

public:
    Form4();
    ~Form4() override;

    void showSearch(ChoiceSearch search);

signals:
    // The main window starts `program` as its run button would, and returns once it has ended.
    void startRequested(const QString& program, bool inTerminal);
    // The desktop answers `program` for the type now: the main window shows it.
    void answerChanged(const QString& program, bool inTerminal);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void List1_CurrentRowChanged(int row);
    void Application_StateChanged(Qt::ApplicationState state);

    const ProgramChoice* selected() const;
    void change(const ProgramChoice& choice, DefaultChangeRequest request);
    void chooseInSettings(const ProgramChoice& choice);
    void checkAfterSettings();
    std::string answerNow();
    void showAnswer(const std::string& program);
    void say(const QString& text);
    QString extensionText() const;

    std::unique_ptr<Ui::Form4> ui;
    // The frame's title as defined; the search's extension ends it.
    QString frameTitle;
    ChoiceSearch search;
    bool programRunning = false;

    // A visit to the system's settings: the program the user went to choose there, and the
    // answer before. Asked again once Qimlar is active after having been left for them.
    struct SettingsVisit
    {
        std::string chosen, before;
        QString name;
        bool left = false;
    };
    std::optional<SettingsVisit> settingsVisit;
};

} // namespace qimlar
