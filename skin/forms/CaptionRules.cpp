#include "CaptionRules.h"

#include <algorithm>

namespace captionrules {

namespace {

bool HasMinOrMax(unsigned buttons) noexcept
{
    return (buttons & (kMinimizeBox | kMaximizeBox)) != 0;
}

// One visibility code; second tells Visibility1 from Visibility where the
// two differ.
bool Holds(int code, bool second, int action, const TWindowFacts& window, const TCustomQuery& query)
{
    const unsigned buttons = window.SystemButtons;
    switch (code) {
    case 0: return true;
    case 1: return window.Maximised;
    case 2: return !window.Maximised;
    case 3: return window.Active;
    case 4: return !window.Active;
    case 5: return false;
    case 6:
    case 8: return second ? HasMinOrMax(buttons) : HasMinOrMax(buttons) && (buttons & kSystemMenu);
    case 7: return !(buttons & kMaximizeBox);
    case 9: return !(buttons & kMinimizeBox);
    case 10: return second ? (buttons & kContextHelp) != 0 : (buttons & kContextHelp) && !HasMinOrMax(buttons);
    case 100: return window.MdiChildMaximisedInBar;
    case 200: return window.BorderKind == 3 && !window.IsDialogClass;
    // The first code has no meaning of its own for -1: the button shows as
    // far as it goes; the second code -1 (a decoration's default) hides it.
    case -1: return !second;
    default: break;
    }
    if (code > 200 && code < 1000)
        return true;
    if (code >= 1000 && code <= 2000)
        return second || (query && query(code, action));
    return false;
}

} // namespace

TButtonUse EvaluateButton(const TButtonFacts& button, const TWindowFacts& window, const TCustomQuery& query)
{
    TButtonUse use;
    use.Visible = Holds(button.Visibility, false, button.Action, window, query)
                  && Holds(button.Visibility1, true, button.Action, window, query);
    const unsigned buttons = window.SystemButtons;
    const bool systemMenu = (buttons & kSystemMenu) != 0;
    switch (button.Action) {
    case 0:
        use.Visible = use.Visible && systemMenu;
        break;
    case 1:
    case 22:
        use.Enabled = systemMenu && (buttons & kMaximizeBox);
        break;
    case 2:
    case 23:
        use.Enabled = systemMenu && (buttons & kMinimizeBox);
        break;
    case 3:
    case 11:
    case 12:
        use.Visible = use.Visible && window.BorderKind != 3;
        break;
    default:
        break;
    }
    return use;
}

TRectI PlaceButton(const TButtonPlace& button, const TCaptionFrame& frame) noexcept
{
    int x = 0;
    int y = button.YCoord;
    switch (button.Align) {
    case 0: x = button.XCoord; break;
    case 1: x = frame.FrameWidth - button.XCoord; break;
    case 2:
    case 8: x = frame.TextBack.Left - button.Width - button.XCoord; break;
    case 3:
    case 9: x = frame.TextBack.Right + button.XCoord; break;
    case 100:
        x = frame.FrameWidth - button.XCoord - frame.RightWidth - frame.MenuBarLeftMargin;
        y = frame.TopHeight + (frame.MenuHeight - button.Height) / 2;
        break;
    default: y = 0; break;
    }
    return {x, y, x + button.Width, y + button.Height};
}

int ButtonFrame(int state, int frameCount, bool enabled, bool windowActive) noexcept
{
    if (frameCount >= 4 && (!enabled || !windowActive))
        return 4;
    if (!enabled || state < 1 || state > frameCount)
        return 1;
    return state;
}

std::wstring HintText(int action)
{
    switch (action) {
    case 0:
    case 9:
    case 62: return L"Close";
    case 1:
    case 22: return L"Maximize";
    case 2:
    case 23:
    case 7:
    case 60: return L"Minimize";
    case 8:
    case 61: return L"Restore";
    default: return {};
    }
}

bool IsWindowMenuAction(int action) noexcept
{
    return action == 3 || action == 11 || action == 12;
}

bool IsIconAction(int action) noexcept
{
    return action == 3 || action == 11;
}

THintClock::TStep THintClock::Tick(int intervalMs, int hintPause, int hintHidePause) noexcept
{
    const int showAt = 2 * hintPause;
    const int hideAt = showAt + hintHidePause;
    const int before = FHovered;
    // Once the hint has gone it stays away until the cursor leaves.
    FHovered = std::min(hideAt, FHovered + std::max(0, intervalMs));
    if (before < hideAt && FHovered >= hideAt)
        return hsHide;
    if (before < showAt && FHovered >= showAt)
        return hsShow;
    return hsNothing;
}

} // namespace captionrules
