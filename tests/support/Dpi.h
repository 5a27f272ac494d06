// The screen's density as a test program sees it. Programs tested at
// another density run in a Wine prefix made with that system DPI.
#pragma once

namespace testsupport {

// Dots per inch of the screen (96 at 100 %, 144 at 150 %).
int ScreenDpi();

// A length given at 96 dpi on this screen, rounded as the system rounds it.
int ScaleToScreen(int value);

} // namespace testsupport
