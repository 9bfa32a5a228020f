#include "Twips.h"

#include <QWidget>

namespace qimlar::toolkit {

void setLeft(QWidget& control, int twips)
{
    control.move(pixels(twips), control.y());
}

void setTop(QWidget& control, int twips)
{
    control.move(control.x(), pixels(twips));
}

float windowLeft(const QWidget& window)
{
    return twips(window.x());
}

float windowTop(const QWidget& window)
{
    return twips(window.y());
}

void Move(QWidget& window, float left, float top)
{
    window.move(qRound(left / twipsPerPixel), qRound(top / twipsPerPixel));
}

} // namespace qimlar::toolkit
