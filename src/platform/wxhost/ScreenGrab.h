#pragma once
// The pixels of a rectangle of the X screen, as the X server holds them (windows and popups as a
// person sees them). Kept apart from the toolkit's headers: Xlib's macros clash with them.

#include <vector>

namespace solx::wxhost {

// rgb gets width * height * 3 bytes, row by row; false when the display cannot be read.
bool GrabScreen(int x, int y, int width, int height, std::vector<unsigned char>& rgb);

}  // namespace solx::wxhost
