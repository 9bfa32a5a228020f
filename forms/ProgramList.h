#pragma once

// The programs that can open a type, as the chooser lists them: a row each, in the desktop's
// order, with the icon and name its entry gives, its path, and the default marked.

#include "lookup/LookupResult.h"

#include <QIcon>
#include <QString>

#include <string>
#include <vector>

class QListWidget;

namespace qimlar {

// The entry's name, or where it gives none its program's file name.
QString nameOf(const ProgramChoice& choice);

// The entry's icon: an image file, a program file's own icon, or the icon theme's by name.
QIcon iconOf(const ProgramChoice& choice);

// Fills `list` with a row per program; the default's row says that it is.
void fillProgramList(QListWidget& list, const std::vector<ProgramChoice>& programs);

// What the desktop answers now, `program`, made the search's answer: its row becomes the
// default, first in the list as the desktop lists it, and the old default one among the rest.
void markDefault(LookupResult& search, const std::string& program);

} // namespace qimlar
