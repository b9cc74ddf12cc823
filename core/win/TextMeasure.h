// How much room a text needs in a font, for layouts that must fit every
// translation of a caption.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace bs {

// The size of `text` drawn in `font`; "&" marks a mnemonic and takes no room
// unless doubled.
SIZE TextExtent(HFONT font, const std::string& text);
// The widest of the texts `ids` in every translated language.
int WidestText(HFONT font, std::initializer_list<int> ids);
// The height of a line of text in `font`.
int LineHeight(HFONT font);

} // namespace bs
