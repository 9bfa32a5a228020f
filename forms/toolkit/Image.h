#pragma once

#include <QLabel>

namespace qimlar::toolkit {

// A picture control that reports its mouse events as the window definitions' handlers take
// them: the button, the modifier keys, and the pointer's position within the picture in twips.
// After a press on the picture, its moves and its release reach it for as long as a button is
// held, also outside the window.
class Image : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace qimlar::toolkit
