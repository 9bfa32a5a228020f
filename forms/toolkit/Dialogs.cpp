#include "Dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

namespace qimlar::toolkit {

namespace {

// A dialog of its own takes the reading order of its Arabic text, not of any caller, and plain
// text buttons: the style's icons push right-to-left captions out of the button.
void readRightToLeft(QDialog& dialog)
{
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setStyleSheet(QStringLiteral("* { dialogbuttonbox-buttons-have-icons: 0; }"));
}

} // namespace

QString InputBox(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    QInputDialog dialog;
    readRightToLeft(dialog);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultAnswer);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void MsgBox(const QString& text, const QString& title, QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    readRightToLeft(box);
    // Its button is made after the style that takes the icon off it.
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool Confirm(const QString& text, const QString& title, QWidget* parent, const QString& details)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    readRightToLeft(box);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok);
}

QString withReason(const QString& sentence, const std::string& reason)
{
    return sentence + QLatin1Char('\n') + QString::fromStdString(reason).trimmed();
}

QString leftToRight(const QString& text)
{
    // A line that begins with it still reads, and is aligned, as Arabic.
    const QChar rightToLeft(0x200F), leftToRight(0x200E);
    return QString(rightToLeft) + leftToRight + text + leftToRight;
}

} // namespace qimlar::toolkit
