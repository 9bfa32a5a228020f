#include "DefaultChangeTexts.h"

#include "toolkit/Dialogs.h"

#include <QFile>

namespace qimlar {

namespace {

const QString fileWillChange = QStringLiteral("سيُكتب التغيير في الملف التالي:");
const QString lineWillRead = QStringLiteral("فيصبح فيه السطر:");
const QString makeItDefault =
    QStringLiteral("هل تريد أن يصبح هذا البرنامج هو الذي يشغّل الملفات ذات الإمتداد %1؟");
const QString fileIsBack = QStringLiteral("أُعيد الملف التالي إلى ما كان عليه قبل آخر تغيير:");
const QString lineReadsAgain = QStringLiteral("فعاد فيه السطر:");

QString filesAndLines(const DefaultChange& change, const QString& fileSentence,
                      const QString& lineSentence)
{
    QStringList text;
    for (const ChangedList& file : change.files) {
        text << fileSentence
             << toolkit::leftToRight(QFile::decodeName(QByteArray::fromStdString(file.path)));
        if (!file.lines.empty())
            text << lineSentence;
        for (const std::string& line : file.lines)
            text << toolkit::leftToRight(QString::fromStdString(line));
    }
    return text.join(QLatin1Char('\n'));
}

} // namespace

QString confirmationText(const DefaultChange& preview, const QString& extension)
{
    return filesAndLines(preview, fileWillChange, lineWillRead) + QStringLiteral("\n\n") +
           makeItDefault.arg(extension);
}

QString diffsOf(const DefaultChange& change)
{
    QString diffs;
    for (const ChangedList& file : change.files)
        diffs += QString::fromStdString(file.diff);
    return diffs;
}

QString undoneText(const DefaultChange& undone)
{
    return filesAndLines(undone, fileIsBack, lineReadsAgain);
}

} // namespace qimlar
