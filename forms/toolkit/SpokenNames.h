#pragma once

// What screen readers (Orca, NVDA) say for the windows' controls: their captions, as spoken.

#include <QString>

class QWidget;

namespace qimlar::toolkit {

// A caption as a screen reader should say it: without the tatweel that only stretches letters
// for the eye, without the asterisks, colons and dashes that frame it, with single spaces. A word
// drawn split around the one between its halves ("عـــ البرنامج ـــن") is said whole, first.
QString spokenText(const QString& caption);

// Names the window by its spoken title, its buttons and frames by their spoken captions, and
// describes the buttons by their spoken tooltips. Names already given are kept.
void nameControlsForScreenReaders(QWidget& window);

} // namespace qimlar::toolkit
