#pragma once

// The modal input prompt and message, read right to left.

#include <QString>

class QWidget;

namespace qimlar::toolkit {

// A modal prompt with `title`, `prompt` and an edit field holding `defaultAnswer`, with OK and
// Cancel. Returns the edited text on OK, and the empty text on Cancel or when closed.
QString InputBox(const QString& prompt, const QString& title, const QString& defaultAnswer = {});

// A modal message with `title`, a warning sign, `text` and an OK button.
void MsgBox(const QString& text, const QString& title, QWidget* parent = nullptr);

} // namespace qimlar::toolkit
