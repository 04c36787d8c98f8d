// "--bench-button FILE": how long painting one skinned push button (75 x 25,
// the main window's size, with its caption) takes in the stored skin in
// FILE, from the window's paint to the face on the screen. Prints the
// figures; not a timed test.
#pragma once

namespace skin::bench {

int BenchButton(const char* storedSkinFile);

}  // namespace skin::bench
