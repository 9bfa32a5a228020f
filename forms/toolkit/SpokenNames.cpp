#include "SpokenNames.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QStringList>
#include <QWidget>

namespace qimlar::toolkit {

namespace {

const QChar tatweel(0x0640);

bool isFraming(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char(':') || c == QLatin1Char('-') || c.isSpace();
}

void nameUnlessNamed(QWidget& control, const QString& caption)
{
    if (control.accessibleName().isEmpty())
        control.setAccessibleName(spokenText(caption));
}

} // namespace

QString spokenText(const QString& caption)
{
    QStringList words = caption.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() == 3 && words.first().endsWith(tatweel) && words.last().startsWith(tatweel))
        words = QStringList{words.first() + words.last(), words.at(1)};
    QString text = words.join(QLatin1Char(' '));
    text.remove(tatweel);
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && isFraming(text.at(first)))
        ++first;
    while (end > first && isFraming(text.at(end - 1)))
        --end;
    return text.mid(first, end - first);
}

void nameControlsForScreenReaders(QWidget& window)
{
    nameUnlessNamed(window, window.windowTitle());
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        nameUnlessNamed(*button, button->text());
        if (button->accessibleDescription().isEmpty() && !button->toolTip().isEmpty())
            button->setAccessibleDescription(spokenText(button->toolTip()));
    }
    const QList<QGroupBox*> frames = window.findChildren<QGroupBox*>();
    for (QGroupBox* frame : frames)
        if (!frame->title().isEmpty())
            nameUnlessNamed(*frame, frame->title());
    // What has no name of its own is read by the title of the frame around it, as it is drawn.
    for (QGroupBox* frame : frames) {
        for (QWidget* inside : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(inside);
            if (!frame->title().isEmpty() && read &&
                read->text(QAccessible::Name) == frame->title())
                nameUnlessNamed(*inside, frame->title());
        }
    }
}

} // namespace qimlar::toolkit
