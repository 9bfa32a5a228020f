#include "NativePlatform.h"

namespace qimlar {

Platform& nativePlatform()
{
    static NativePlatform platform;
    return platform;
}

} // namespace qimlar
