#pragma once

// Twips, the unit the window definitions and their handlers measure in, 15 to the pixel: a
// control's left and top within its container, a window's outer corner on the screen, and the
// pointer's position within a picture.

class QWidget;

namespace qimlar::toolkit {

constexpr int twipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return twips / twipsPerPixel;
}

constexpr float twips(double pixels)
{
    return static_cast<float>(pixels * twipsPerPixel);
}

// A control's left or top within its container; the other stays.
void setLeft(QWidget& control, int twips);
void setTop(QWidget& control, int twips);

// A window's outer top-left corner on the screen.
float windowLeft(const QWidget& window);
float windowTop(const QWidget& window);
// Puts a window's outer top-left corner at `left`, `top`; its size stays.
void Move(QWidget& window, float left, float top);

} // namespace qimlar::toolkit
