#pragma once

class QApplication;

namespace qimlar::toolkit {

// The point size of the face every window is drawn in; the window definitions can only hold
// whole points.
constexpr double windowFontPoints = 8.25;

// Readies the application the windows live in: Qt's own texts in Arabic, the fonts the window
// definitions name, the embedded pictures, and an end once no window is loaded any more.
void prepareRunTime(QApplication& application);

} // namespace qimlar::toolkit
