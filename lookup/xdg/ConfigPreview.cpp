#include "xdg/ConfigPreview.h"

#include "xdg/AtomicFile.h"
#include "xdg/SystemFailure.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <cerrno>

namespace qimlar::xdg {

Outcome<std::shared_ptr<ConfigPreview>> ConfigPreview::make(const std::vector<ListOutcome>& changed)
{
    g_autoptr(GError) error = nullptr;
    g_autofree gchar* made = g_dir_make_tmp("qimlar-preview-XXXXXX", &error);
    if (!made)
        return Failure{std::string("cannot make a folder for the preview: ") + error->message};
    std::shared_ptr<ConfigPreview> preview(new ConfigPreview(made));
    const std::string home = configHome();
    for (const std::string& name : configHomeListNames()) {
        const std::string path = home + "/" + name;
        std::optional<std::string> bytes;
        const auto change =
            std::find_if(changed.begin(), changed.end(),
                         [&](const ListOutcome& list) { return list.path == path; });
        if (change != changed.end()) {
            bytes = change->after;
        } else {
            const auto text = readIfPresent(path);
            if (!text)
                return Failure{text.reason()};
            bytes = *text;
        }
        if (!bytes)
            continue;
        const std::string copy = preview->folder_ + "/" + name;
        if (!g_file_set_contents(copy.c_str(), bytes->data(), static_cast<gssize>(bytes->size()),
                                 &error))
            return Failure{error->message};
        preview->written_.push_back(copy);
    }
    return preview;
}

ConfigPreview::~ConfigPreview()
{
    for (const std::string& copy : written_)
        g_unlink(copy.c_str());
    g_rmdir(folder_.c_str());
}

std::string ConfigPreview::asNamed(std::string text) const
{
    const std::string home = configHome();
    for (std::size_t at = 0; (at = text.find(folder_, at)) != std::string::npos; at += home.size())
        text.replace(at, folder_.size(), home);
    return text;
}

} // namespace qimlar::xdg
