#include "Image.h"

#include "Twips.h"

#include <QMouseEvent>

namespace qimlar::toolkit {

namespace {

float twipsX(const QMouseEvent& event)
{
    return twips(event.position().x());
}

float twipsY(const QMouseEvent& event)
{
    return twips(event.position().y());
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

} // namespace qimlar::toolkit
