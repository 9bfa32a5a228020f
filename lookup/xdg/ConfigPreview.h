#pragma once

// The lists GIO reads in XDG_CONFIG_HOME as a change would leave them, copied into a private
// folder of their own, so that a process given that folder as XDG_CONFIG_HOME answers as the
// desktop would after the change, before anything is written.

#include "lookup/Outcome.h"
#include "xdg/ListChange.h"

#include <memory>
#include <string>
#include <vector>

namespace qimlar::xdg {

class ConfigPreview
{
public:
    // The lists of configHome(), those of `changed` with their bytes afterwards.
    static Outcome<std::shared_ptr<ConfigPreview>> make(const std::vector<ListOutcome>& changed);
    ~ConfigPreview(); // the folder goes again
    ConfigPreview(const ConfigPreview&) = delete;
    ConfigPreview& operator=(const ConfigPreview&) = delete;

    const std::string& folder() const { return folder_; }
    // `text` with the names of the copies put back as the lists' own.
    std::string asNamed(std::string text) const;

private:
    explicit ConfigPreview(std::string folder) : folder_(std::move(folder)) {}

    std::string folder_;
    std::vector<std::string> written_;
};

} // namespace qimlar::xdg
