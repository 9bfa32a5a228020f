#pragma once

#include <string>

namespace qimlar::xdg {

// Whether `type` is known: a shared MIME database lists it, as a type of its own or as another
// name of one, or an association list or an installed desktop entry names it (the types of URL
// schemes, x-scheme-handler/https, are in no database). Each is read again only once it has
// changed, come or gone; the entries only for a type that neither a database nor a list knows.
bool isKnownType(const std::string& type);

} // namespace qimlar::xdg
