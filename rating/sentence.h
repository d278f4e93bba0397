// The sentences the engines say, in the seven interface languages, without
// Qt: a text per language in the order of the language list, and a
// template filled with its arguments.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace rating {

// One text per interface language (UTF-8), in the order of the language
// list: Magyar, English, RUS, Slovensko, Deutsch, Romană, Italiano.
using Texts = std::array<const char *, 7>;

// The position of a language in Texts; English for one outside the list.
inline std::size_t languageIndex(int nyelv) { return nyelv >= 0 && nyelv < 7 ? static_cast<std::size_t>(nyelv) : 1; }

// The template with %1 .. %9 replaced by the arguments; the arguments are
// not scanned again, and a placeholder without an argument is dropped.
std::string fill(const char *templ, std::initializer_list<std::string> args);

} // namespace rating
