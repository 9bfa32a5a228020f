// Changing the program that opens a type on a freedesktop desktop: the app named, the user's
// association lists changed (ListChange), and the desktop asked afresh what it answers now.

#include "ChangeFailure.h"
#include "NativePlatform.h"
#include "lookup/FindExe.h"
#include "xdg/ChosenApp.h"
#include "xdg/ConfigPreview.h"
#include "xdg/Explanation.h"
#include "xdg/KnownTypes.h"
#include "xdg/ListChange.h"

namespace qimlar {

namespace {

DefaultChange refused(const std::string& reason)
{
    return notChanged(DefaultChangeStatus::Refused, reason);
}

DefaultChangeStatus statusOf(xdg::ChangeStatus status)
{
    switch (status) {
    case xdg::ChangeStatus::Done:
        return DefaultChangeStatus::Done;
    case xdg::ChangeStatus::Busy:
        return DefaultChangeStatus::Busy;
    case xdg::ChangeStatus::Refused:
        break;
    }
    return DefaultChangeStatus::Refused;
}

// Each list with its keys as they read afterwards: after the change, or after its undo.
std::vector<ChangedList> changedLists(const std::vector<xdg::ListOutcome>& files, bool undone)
{
    std::vector<ChangedList> lists;
    for (const xdg::ListOutcome& file : files) {
        ChangedList list{file.path, file.diff, {}};
        for (const xdg::KeyChange& key : file.keys) {
            const auto& value = undone ? key.before : key.after;
            list.lines.push_back("[" + key.group + "] " + key.key +
                                 (value ? "=" + *value : " (taken out)"));
        }
        lists.push_back(std::move(list));
    }
    return lists;
}

// The sentence of an explanation that says which line decides, or that none does.
std::string decidingSentence(const std::vector<std::string>& explanation)
{
    for (const std::string& sentence : explanation)
        if (xdg::saysWhatDecides(sentence))
            return sentence;
    return {};
}

// What a process started now answers: after the change, or, in a dry run, as if it were made.
void askAfterwards(DefaultChange& change, const DefaultChangeRequest& request,
                   const std::vector<xdg::ListOutcome>& files)
{
    if (!request.askAfresh)
        return;
    std::shared_ptr<xdg::ConfigPreview> preview;
    if (request.dryRun && !files.empty()) {
        const auto made = xdg::ConfigPreview::make(files);
        if (!made) {
            change.warnings.push_back("cannot show the answer afterwards: " + made.reason());
            return;
        }
        preview = *made;
    }
    FreshQuestion question{request.type, preview ? preview->folder() : "", false};
    const auto answer = request.askAfresh(question);
    if (!answer) {
        change.warnings.push_back("cannot ask the desktop afresh: " + answer.reason());
        return;
    }
    change.answer = answer->program;
    if (answer->program == change.program)
        return;
    question.explain = true;
    if (const auto told = request.askAfresh(question)) {
        const std::string sentence = decidingSentence(told->explanation);
        change.decision = preview ? preview->asNamed(sentence) : sentence;
    }
}

} // namespace

DefaultChange NativePlatform::makeDefault(const DefaultChangeRequest& request)
{
    // A misspelt type would be written as readily as a real one, and open nothing.
    if (!xdg::isKnownType(request.type))
        return refused("the shared MIME database knows no type " + request.type);
    const auto chosen = xdg::chooseApp(request.app, request.type);
    if (!chosen)
        return refused(chosen.reason());

    DefaultChange change;
    change.app = chosen->id;
    change.program = chosen->program;
    if (!chosen->declaresType)
        change.warnings.push_back(chosen->id + " does not list " + request.type +
                                  " among its types; it is made the default all the same");
    change.previous = LookUpType(request.type, *this).program;

    xdg::ChangeOptions options;
    options.dryRun = request.dryRun;
    const xdg::ChangeReport report =
        xdg::makeDefault(xdg::listsToChange(request.type),
                         {request.type, chosen->id, chosen->declaresType}, options);
    change.status = statusOf(report.status);
    change.text = report.text;
    change.files = changedLists(report.files, false);
    if (change.status == DefaultChangeStatus::Done)
        askAfterwards(change, request, report.files);
    return change;
}

DefaultChange NativePlatform::undoLastDefaultChange()
{
    const xdg::ChangeReport report = xdg::undoLastChange({});
    DefaultChange change;
    change.status = statusOf(report.status);
    change.text = report.text;
    change.files = changedLists(report.files, true);
    return change;
}

} // namespace qimlar
