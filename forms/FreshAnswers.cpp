#include "FreshAnswers.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qimlar {

FreshLookup freshLookupBesideThisProgram()
{
    const QString folder = QCoreApplication::applicationDirPath();
    QStringList places{folder + QStringLiteral("/qimlar-which"),
                       folder + QStringLiteral("/../which/qimlar-which")};
    places << QStandardPaths::findExecutable(QStringLiteral("qimlar-which"));
    for (const QString& place : places) {
        const QFileInfo program(place);
        if (!place.isEmpty() && program.isFile() && program.isExecutable())
            return freshLookupThrough(QFile::encodeName(program.absoluteFilePath()).toStdString());
    }
    return {};
}

} // namespace qimlar
