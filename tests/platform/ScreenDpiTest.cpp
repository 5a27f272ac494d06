// Tests at another screen DPI run in a Wine prefix of their own; this proves
// that such a program sees the DPI it was started for, both through the
// screen's device context and through the system's scaled metrics.
#include "support/Dpi.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ScreenDpi, TheProgramSeesTheDpiItsPrefixWasMadeFor)
{
    EXPECT_EQ(testsupport::ScreenDpi(), VIDKILN_EXPECTED_DPI);
    EXPECT_TRUE(IsProcessDPIAware());
}

TEST(ScreenDpi, SystemFontsAreScaledWithIt)
{
    // The icon size is 32 pixels at 96 dpi and scales with the system DPI.
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), MulDiv(32, VIDKILN_EXPECTED_DPI, 96));
}

} // namespace
