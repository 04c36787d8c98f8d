// "--bench-frame FILE": how long one full frame paint of a window the size of
// Quellmark's main window takes with the stored skin in FILE, and one caption
// button's repaint. Prints the figures; not a timed test.
#pragma once

namespace skin::bench {

int BenchFrame(const char* storedSkinFile);

}  // namespace skin::bench
