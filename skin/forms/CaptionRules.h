// The rules of the caption buttons that need no window: which buttons a
// window shows and which of them work, where a button goes in the caption,
// which frame of its image it shows, its hint text, and the clock that
// decides when a hovered button's hint appears and goes. Portable, so that
// the tables are tested natively; CaptionBar.h applies them to a window.
#pragma once

#include "skin/data/ImageGeometry.h"

#include <functional>
#include <string>

namespace captionrules {

using imgcore::TRectI;

// The System-menu bits a window's style gives its caption.
inline constexpr unsigned kMaximizeBox = 1;
inline constexpr unsigned kMinimizeBox = 2;
inline constexpr unsigned kContextHelp = 4;
inline constexpr unsigned kSystemMenu = 8;

// What the visibility codes of the skin look at.
struct TWindowFacts {
    bool Maximised = false;
    bool Active = true;
    unsigned SystemButtons = 0; // the bits above
    int BorderKind = 0;         // 0 sizeable, 1 single, 2 no caption, 3 dialog
    bool IsDialogClass = false;
    // An MDI frame whose active child is maximised, with a skinned menu bar
    // to show that child's buttons in.
    bool MdiChildMaximisedInBar = false;
};

// Asks the window whether a custom button shows (codes 1000 to 2000):
// (code, action) -> shown.
using TCustomQuery = std::function<bool(int code, int action)>;

struct TButtonFacts {
    int Action = 0;
    int Visibility = 0;
    int Visibility1 = 0;
};

struct TButtonUse {
    bool Visible = false;
    bool Enabled = true;
};

// Both visibility codes must hold; then the action hides or disables the
// button when the window's style has no such command.
TButtonUse EvaluateButton(const TButtonFacts& button, const TWindowFacts& window, const TCustomQuery& query);

// What places one button.
struct TButtonPlace {
    int Align = 0;
    int XCoord = 0;
    int YCoord = 0;
    int Width = 0;  // one frame of the image
    int Height = 0;
};

struct TCaptionFrame {
    int FrameWidth = 0;   // the window width
    TRectI TextBack;      // the caption text block
    int TopHeight = 0;
    int RightWidth = 0;
    int MenuHeight = 0;
    int MenuBarLeftMargin = 0;
};

// The button's rectangle in window coordinates; an unknown alignment leaves
// it at the window's corner.
TRectI PlaceButton(const TButtonPlace& button, const TCaptionFrame& frame) noexcept;

// The frame of a button's image (numbered from 1) for its state
// (1 normal, 2 pressed, 3 hot): a disabled button, or any button of an
// inactive window, shows frame 4 when the image has one; a frame the image
// does not have falls back to the normal one.
int ButtonFrame(int state, int frameCount, bool enabled, bool windowActive) noexcept;

// The hint of an action, empty when it has none.
std::wstring HintText(int action);

// The window menu opens from these actions.
bool IsWindowMenuAction(int action) noexcept;
// The buttons that show the window icon instead of their image.
bool IsIconAction(int action) noexcept;

// When a hovered caption button's hint shows. The hover timer adds its
// interval on every tick while the cursor stays on the button; the hint
// shows from twice the hint pause on and goes the hide pause later, and
// stays away until the cursor leaves.
class THintClock {
public:
    enum TStep { hsNothing, hsShow, hsHide };

    // One tick with the cursor still on the button: what to do with the hint.
    TStep Tick(int intervalMs, int hintPause, int hintHidePause) noexcept;
    // The cursor left, or a button was pressed or released.
    void Reset() noexcept { FHovered = 0; }
    int Hovered() const noexcept { return FHovered; }

private:
    int FHovered = 0;
};

} // namespace captionrules
