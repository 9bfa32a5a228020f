#include "xdg/KeyFileCheck.h"

#include <glib.h>

namespace qimlar::xdg {

Status checkReadable(const std::string& text, const std::string& path)
{
    const std::string refused = path + " is not a list GLib can read: ";
    if (text.find('\0') != std::string::npos)
        return Failure{refused + "it holds a NUL byte"};
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    const bool loaded =
        g_key_file_load_from_data(file, text.data(), text.size(), G_KEY_FILE_NONE, &error);
    g_key_file_free(file);
    if (loaded)
        return Done{};
    Failure failure{refused + error->message};
    g_error_free(error);
    return failure;
}

} // namespace qimlar::xdg
