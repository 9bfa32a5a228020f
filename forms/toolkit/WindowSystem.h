#pragma once

// What the windows ask of the window system: their frames and boxes, and the moves it makes
// itself where no program may place its own windows.

class QWidget;

namespace qimlar::toolkit {

// The frame of a fixed single border: a title bar with its close box only, and a taskbar
// button. The window fixes its size itself.
void makeFixedSingleWindow(QWidget& window);

// A small fixed window with a narrow title bar and its close box only, and no taskbar button.
void makeToolWindow(QWidget& window);

// Gives a window the minimize box its definition leaves out; its other boxes and its fixed size
// stay. Called before the window is first shown, so that it opens with the box.
void addMinimizeBox(QWidget& window);

// Where no program may place its own window (Wayland), hands the drag that a press on it begins
// to the window system, which moves it from here on; true when it did.
bool handMoveToWindowSystem(QWidget& window);

} // namespace qimlar::toolkit
