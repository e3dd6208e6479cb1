#pragma once

#include <string>

// Every occurrence of `buscado` in `texto`, searched case-sensitively from the start, is
// overwritten in place by `por`: as many characters as `por` has, never past the end of the
// text, so the length never changes; the search goes on after the overwritten stretch.
std::u16string ReemplazaCaracteres(std::u16string texto, const std::u16string& buscado,
                                   const std::u16string& por);
