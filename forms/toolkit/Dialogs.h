#pragma once

// The modal input prompt, message and question, read right to left, and their texts.

#include <QString>

#include <string>

class QWidget;

namespace qimlar::toolkit {

// A modal prompt with `title`, `prompt` and an edit field holding `defaultAnswer`, with OK and
// Cancel. Returns the edited text on OK, and the empty text on Cancel or when closed.
QString InputBox(const QString& prompt, const QString& title, const QString& defaultAnswer = {});

// A modal message with `title`, a warning sign, `text` and an OK button.
void MsgBox(const QString& text, const QString& title, QWidget* parent = nullptr);

// A modal question with `title`, `text`, `details` behind a button of their own when there are
// any, and OK and Cancel, Cancel the default. True only when OK was pressed.
bool Confirm(const QString& text, const QString& title, QWidget* parent,
             const QString& details = {});

// An Arabic sentence, then the system's own reason on a line of its own, in its own language.
QString withReason(const QString& sentence, const std::string& reason);

// A path, a line of a file or an extension inside Arabic text, kept in its own left-to-right
// order: its slashes, brackets and dots stay where they are written.
QString leftToRight(const QString& text);

} // namespace qimlar::toolkit
