#pragma once

#include <QImage>

namespace artwork {

// The main window's picture: a red field with a lens flare near the upper left, its rays and a
// trail of rings towards the lower right, deepening to pure red at the right edge. 361 x 183.
QImage mainPicture();

} // namespace artwork
