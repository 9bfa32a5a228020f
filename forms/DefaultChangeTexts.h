#pragma once

// What the chooser says about a change of the program that opens a type, in Arabic, with the
// files, lines and extension in their own reading order.

#include "lookup/DefaultChange.h"

#include <QString>

namespace qimlar {

// The question before a change: each file that will change, and each line as it will read.
QString confirmationText(const DefaultChange& preview, const QString& extension);

// Every file's change as `diff -u` shows it, for the question's details.
QString diffsOf(const DefaultChange& change);

// What an undo put back: each file, and each line as it reads again.
QString undoneText(const DefaultChange& undone);

} // namespace qimlar
