#pragma once

#include "PictureFiles.h"

#include <QImage>

namespace artwork {

// The program icon: a waving four-pane flag at the upper right and the name in red lower-case
// letters edged in dark across the lower third, on a transparent ground.

// At any size, smooth and with soft edges, for the desktop's icon theme.
QImage programIconAt(int side);

// The 32 x 32 image in 256 colours with a 1-bit mask, as Windows and the windows show it.
IconImage programIcon32();

} // namespace artwork
