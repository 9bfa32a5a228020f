#pragma once

class QApplication;

namespace qimlar {

// Readies the application the windows live in: Qt's own texts in Arabic, the fonts the window
// definitions name, the embedded pictures, and an end once no window is loaded any more.
void prepareRunTime(QApplication& application);

} // namespace qimlar
