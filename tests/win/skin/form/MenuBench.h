// "--bench-menu FILE": how long opening a menu of the skinned menu bar takes
// with the stored skin in FILE, from the request the key press makes
// (WM_SYSCOMMAND SC_KEYMENU, as F10 or Alt sends it) to the first paint of
// the popup menu window with the skin. Prints median and 95th percentile;
// not a timed test.
#pragma once

namespace skin::bench {

int BenchMenu(const char* storedSkinFile);

}  // namespace skin::bench
