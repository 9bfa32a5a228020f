#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qimlar::xdg {

// The index of the program env runs in `words[from]` onwards, past env's options and its
// NAME=VALUE words; -S's text is split into words in its place. words.size() when none.
std::size_t afterEnv(std::vector<std::string>& words, std::size_t from);

} // namespace qimlar::xdg
