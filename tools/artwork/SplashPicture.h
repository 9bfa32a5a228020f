#pragma once

#include <QImage>

namespace artwork {

// The splash: glossy red and black harlequin diamonds, the name in gold calligraphy across the
// middle, the rights line below it and the contact address along the bottom. 361 x 181.
QImage splashPicture();

} // namespace artwork
