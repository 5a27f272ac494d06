#include "SkinMediaPlayer.h"

#include "framework/Messages.h"
#include "skin/controls/SkinButtons.h"
#include "skin/data/WinSkinData.h"

#include <vector>

// --- TWMediaPlayer ---

const TClassInfo& TWMediaPlayer::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TWMediaPlayer", &TCustomControl::StaticClass(), {});
    return Info;
}

TWMediaPlayer::TWMediaPlayer(TComponent* AOwner, TSkinMP& skin) : TCustomControl(AOwner), FSkin(skin) {}

void TWMediaPlayer::Paint()
{
    FSkin.PaintPanel(Canvas().Handle(), Width(), Height());
}

void TWMediaPlayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        FSkin.PanelMouseDown(X, Y);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TWMediaPlayer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        FSkin.PanelMouseUp(X, Y);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- TSkinMP ---

const TClassInfo& TSkinMP::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinMP>("TSkinMP", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinMP::TSkinMP(TComponent* AOwner) : TSkinControl(AOwner) {}

// The panel goes before the object: it calls back into it while it lives.
TSkinMP::~TSkinMP()
{
    FPanel.reset();
}

void TSkinMP::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, setColour);
    if (!FAttached || !FControl->Parent())
        return;
    FPanel = std::make_unique<TWMediaPlayer>(nullptr, *this);
    FPanel->FreeNotification(this);
    // Never skinned itself: it is the skin.
    FPanel->Tag = skinData->DisableTag;
    FPanel->SetParent(FControl->Parent());
    AlignPanel();
}

void TSkinMP::Notification(TComponent* component, TOperation operation)
{
    // While this object frees the panel itself, FPanel is empty already.
    if (operation == TOperation::opRemove && component && component == FPanel.get()) {
        FPanel.release();
        return;
    }
    TSkinControl::Notification(component, operation);
}

void TSkinMP::AlignPanel()
{
    if (!FPanel)
        return;
    FPanel->SetBoundsRect(FControl->BoundsRect());
    FPanel->SetVisible(FControl->Visible());
    FPanel->BringToFront();
    FPanel->Invalidate();
}

void TSkinMP::Deactivate()
{
    TSkinControl::Deactivate();
    if (FLife != slDestroyed)
        FPanel.reset();
}

void TSkinMP::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
        AlignPanel();
        return;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
}

std::array<bool, 9> TSkinMP::ButtonsIn(std::string_view property) const
{
    const std::wstring text = GetTextPropByName(FControl, property);
    std::array<bool, 9> in{};
    for (size_t i = 0; i < kMPButtonNames.size(); ++i)
        in[i] = text.find(std::wstring(kMPButtonNames[i].begin(), kMPButtonNames[i].end())) != std::wstring::npos;
    return in;
}

int TSkinMP::ButtonAt(int x) const
{
    const std::array<bool, 9> visible = ButtonsIn("VisibleButtons");
    std::vector<int> shown;
    for (int i = 0; i < 9; ++i)
        if (visible[i])
            shown.push_back(i);
    if (shown.empty() || !FPanel)
        return -1;
    const int width = FPanel->Width() / static_cast<int>(shown.size());
    for (size_t slot = 0; slot < shown.size(); ++slot) {
        const int start = static_cast<int>(slot) * width;
        if (x >= start && x < start + width)
            return shown[slot];
    }
    return -1;
}

void TSkinMP::PaintPanel(HDC dc, int width, int height)
{
    const std::array<bool, 9> visible = ButtonsIn("VisibleButtons");
    const std::array<bool, 9> enabled = ButtonsIn("EnabledButtons");
    std::vector<int> shown;
    for (int i = 0; i < 9; ++i)
        if (visible[i])
            shown.push_back(i);
    TBitmap work(width, height, pf24bit);
    HDC workDC = work.Canvas().Handle();
    FillSkinColor(workDC, {0, 0, width, height});
    const TDataSkinButton* buttons = FSkinData->Buttons();
    if (!shown.empty() && HasImage(buttons)) {
        const int each = width / static_cast<int>(shown.size());
        for (size_t slot = 0; slot < shown.size(); ++slot) {
            const int button = shown[slot];
            const int frame = !enabled[button] ? bfDisabled : button == FPressedButton ? bfPressed : bfNormal;
            const int left = static_cast<int>(slot) * each;
            DrawSkinObjectFrame(workDC, {left, 0, left + each, height}, kButtonFrames, frame, *buttons);
        }
    }
    BitBlt(dc, 0, 0, width, height, workDC, 0, 0, SRCCOPY);
}

void TSkinMP::PassToPlayer(UINT msg, int x, int y)
{
    if (HWND player = FHandle)
        SendMessageW(player, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void TSkinMP::PanelMouseDown(int x, int y)
{
    PassToPlayer(WM_LBUTTONDOWN, x, y);
    // The player took the capture for its own press; the panel follows the mouse.
    ReleaseCapture();
    FPressedButton = ButtonAt(x);
    FPanel->Invalidate();
}

void TSkinMP::PanelMouseUp(int x, int y)
{
    if (FPressedButton >= 0 && ButtonAt(x) == FPressedButton)
        PassToPlayer(WM_LBUTTONUP, x, y);
    FPressedButton = -1;
    FPanel->Invalidate();
}
