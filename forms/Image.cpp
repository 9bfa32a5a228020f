#include "Image.h"

#include "Toolkit.h"

#include <QMouseEvent>

namespace qimlar {

namespace {

float twipsX(const QMouseEvent& event)
{
    return static_cast<float>(event.position().x() * twipsPerPixel);
}

float twipsY(const QMouseEvent& event)
{
    return static_cast<float>(event.position().y() * twipsPerPixel);
}

} // namespace

// Each event is taken, so that the press keeps the pointer with the picture until release.
void Image::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseDown(event->button(), event->modifiers(), twipsX(*event), twipsY(*event));
}

void Image::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseMove(event->buttons(), event->modifiers(), twipsX(*event), twipsY(*event));
}

void Image::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit MouseUp(event->button(), event->modifiers(), twipsX(*event), twipsY(*event));
}

} // namespace qimlar
