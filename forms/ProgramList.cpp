#include "ProgramList.h"

#include "toolkit/Dialogs.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QListWidget>

#include <algorithm>

namespace qimlar {

namespace {

const QString defaultMark = QStringLiteral("(البرنامج الافتراضي)");

QString fileText(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

} // namespace

QString nameOf(const ProgramChoice& choice)
{
    if (!choice.name.empty())
        return QString::fromStdString(choice.name);
    const std::string& named = choice.program.empty() ? choice.entry : choice.program;
    return QFileInfo(fileText(named)).completeBaseName();
}

QIcon iconOf(const ProgramChoice& choice)
{
    const QString icon = fileText(choice.icon);
    if (QFileInfo(icon).isAbsolute()) {
        if (QImageReader(icon).canRead())
            return QIcon(icon);
        // A program file (Windows names its .exe): the icon the system shows for it.
        if (QFileInfo::exists(icon))
            return QFileIconProvider().icon(QFileInfo(icon));
    } else if (!icon.isEmpty() && QIcon::hasThemeIcon(icon)) {
        return QIcon::fromTheme(icon);
    }
    return QIcon::fromTheme(QStringLiteral("application-x-executable"));
}

void fillProgramList(QListWidget& list, const std::vector<ProgramChoice>& programs)
{
    list.clear();
    for (const ProgramChoice& choice : programs) {
        QString name = nameOf(choice);
        if (choice.relation == ProgramRelation::Default)
            name += QLatin1Char(' ') + defaultMark;
        // A program that is not installed shows the command its entry would run.
        const QString path = fileText(choice.program.empty() ? choice.command : choice.program);
        auto* row = new QListWidgetItem(iconOf(choice),
                                        name + QLatin1Char('\n') + toolkit::leftToRight(path));
        if (choice.relation == ProgramRelation::Default) {
            QFont bold = row->font();
            bold.setBold(true);
            row->setFont(bold);
        }
        list.addItem(row);
    }
}

void markDefault(LookupResult& search, const std::string& program)
{
    search.program = program;
    auto& programs = search.programs;
    for (ProgramChoice& choice : programs)
        if (choice.relation == ProgramRelation::Default)
            choice.relation = ProgramRelation::Registered;
    const auto found = std::find_if(programs.begin(), programs.end(),
                                    [&](const ProgramChoice& c) { return c.program == program; });
    if (program.empty() || found == programs.end())
        return;
    found->relation = ProgramRelation::Default;
    std::rotate(programs.begin(), found, found + 1);
}

} // namespace qimlar
