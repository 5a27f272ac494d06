#include "SkinDateTime.h"

#include "base/PaintScope.h"
#include "base/WindowObject.h"
#include "skin/controls/SkinEdits.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kArrowButtonClass[] = L"VidkilnArrowButton";
constexpr int kFrameNormal = 1;
constexpr int kFrameHot = 4;

ATOM ArrowButtonClass(WNDPROC procedure)
{
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kArrowButtonClass;
        return RegisterClassExW(&windowClass);
    }();
    return atom;
}

bool Spins(HWND picker) noexcept
{
    return (GetWindowLongPtrW(picker, GWL_STYLE) & DTS_UPDOWN) != 0;
}

} // namespace

// --- The drop button ---

TArrowButton::TArrowButton(TSkinControl& owner, HWND picker) : FOwner(owner), FPicker(picker)
{
    if (!ArrowButtonClass(&TArrowButton::WndProc))
        return;
    FWindow = CreateWindowExW(WS_EX_NOPARENTNOTIFY, kArrowButtonClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                              picker, nullptr, GetModuleHandleW(nullptr), this);
    Place();
}

TArrowButton::~TArrowButton()
{
    if (FWindow) {
        UnbindWindowObject(FWindow);
        DestroyWindow(FWindow);
    }
}

void TArrowButton::Place()
{
    RECT picker{};
    if (!FWindow || !GetWindowRect(FPicker, &picker))
        return;
    const int width = GetSystemMetrics(SM_CXHSCROLL);
    const int height = picker.bottom - picker.top - 4;
    const bool leftHand = (GetWindowLongPtrW(FPicker, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    const int left = leftHand ? 2 : picker.right - picker.left - width - 4;
    RECT now{};
    GetWindowRect(FWindow, &now);
    MapWindowPoints(nullptr, FPicker, reinterpret_cast<POINT*>(&now), 2);
    if (now.left != left || now.top != 0 || now.right - now.left != width || now.bottom - now.top != height)
        SetWindowPos(FWindow, HWND_TOP, left, 0, width, height, SWP_NOACTIVATE);
}

void TArrowButton::Repaint()
{
    if (FWindow)
        RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT CALLBACK TArrowButton::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* button = WindowObject<TArrowButton>(window, msg, lParam);
    if (!button)
        return DefWindowProcW(window, msg, wParam, lParam);
    // Messages come before CreateWindowEx has returned the handle.
    button->FWindow = window;
    if (msg == WM_NCDESTROY) {
        // Gone with the picker: nothing is left to destroy later.
        button->FWindow = nullptr;
        UnbindWindowObject(window);
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    return button->Message(msg, wParam, lParam);
}

LRESULT TArrowButton::Message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (const auto painted = AnswerSelfPaint(FWindow, msg, [this](HDC dc) { Paint(dc); }))
        return *painted;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        PressPicker(lParam);
        Repaint();
        return 0;
    case WM_LBUTTONUP:
        SetFocus(FPicker);
        return 0;
    case WM_MOUSEMOVE:
        if (!FMouseOver && IsWindowEnabled(FPicker)) {
            TrackMouseLeave(FWindow);
            SetMouseOver(true);
        }
        return 0;
    case WM_MOUSELEAVE:
        SetMouseOver(false);
        return 0;
    default:
        return DefWindowProcW(FWindow, msg, wParam, lParam);
    }
}

void TArrowButton::Paint(HDC dc)
{
    RECT client{};
    GetClientRect(FWindow, &client);
    const TSkinData* skin = FOwner.SkinData();
    if (!skin)
        return;
    TSkinControl::FillColor(dc, client, skin->SkinColor(scButtonFace));
    const TDataSkinObject* arrow = skin->ComboxArrow();
    if (HasImage(arrow))
        DrawStretchedFrame(dc, client, *arrow->Bitmap, true, std::max(1, arrow->FrameCount),
                           std::min(FMouseOver ? kFrameHot : kFrameNormal, std::max(1, arrow->FrameCount)));
}

void TArrowButton::PressPicker(LPARAM at)
{
    // The picker opens its calendar on a press of its own button, which
    // lies under ours: the same point, in the picker's client.
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    MapWindowPoints(FWindow, FPicker, &point, 1);
    const LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageW(FPicker, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(FPicker, WM_LBUTTONUP, 0, where);
}

void TArrowButton::SetMouseOver(bool over)
{
    if (over == FMouseOver)
        return;
    FMouseOver = over;
    Repaint();
}

// --- Date-time pickers ---

const TClassInfo& TSkinDateTime::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinDateTime>("TSkinDateTime", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinDateTime::TSkinDateTime(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    const bool was = FAttached;
    TSkinControl::AttachControl(form, skinData, setColour);
    if (!was && FAttached)
        Complete();
}

void TSkinDateTime::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    const bool was = FAttached;
    TSkinControl::AttachWindow(window, skinData, form);
    if (!was && FAttached)
        Complete();
}

void TSkinDateTime::Complete()
{
    if (!FHandle)
        return;
    if (Spins(FHandle)) {
        if (FForm)
            AttachEmbeddedUpDown(FHandle, FSkinData, FForm);
        return;
    }
    // Our button is a child of the picker: the picker must not paint over it.
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) {
        SetWindowLongPtrW(FHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
        FClipChildrenAdded = true;
    }
    FArrow = std::make_unique<TArrowButton>(*this, FHandle);
}

void TSkinDateTime::Deactivate()
{
    TSkinControl::Deactivate();
    FArrow.reset();
    if (FClipChildrenAdded && FLife != slDestroyed && IsWindow(FHandle))
        SetWindowLongPtrW(FHandle, GWL_STYLE, GetWindowLongPtrW(FHandle, GWL_STYLE) & ~WS_CLIPCHILDREN);
    FClipChildrenAdded = false;
}

void TSkinDateTime::Switched(bool on)
{
    if (FArrow && FArrow->Handle())
        ShowWindow(FArrow->Handle(), on ? SW_SHOWNA : SW_HIDE);
}

void TSkinDateTime::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SIZE:
        if (FArrow) {
            FArrow->Place();
            FArrow->Repaint();
        }
        return;
    case WM_NCPAINT:
    case WM_PAINT:
        PaintWindow(nullptr);
        return;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
}

void TSkinDateTime::DrawControl(HDC dc, const RECT& rect)
{
    if (FArrow)
        FArrow->Place();
    // Framed as edits are, with one white line.
    DrawEditFrame(dc, rect, FHandle, *FSkinData, 1);
}
