#include "FrameFitting.h"

#include "skin/data/WinSkinData.h"
#include "skin/forms/FramePainter.h"
#include "skin/forms/FrameRegion.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/WinSkinForm.h"

#include <algorithm>

namespace {

framegeo::TImageStrip StripOf(const TDataSkinObject* object)
{
    if (!object || object->Bitmap->Empty())
        return {0, 0, 1};
    return {object->Bitmap->Width(), object->Bitmap->Height(), object->FrameCount};
}

// Makes the system work the window's frame out again (WM_NCCALCSIZE).
void RepositionFrame(HWND window)
{
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool HasOuterSize(HWND window, framegeo::TSize outer)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds.right - bounds.left == outer.Width && bounds.bottom - bounds.top == outer.Height;
}

void MoveChildren(HWND window, int dx)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(child, nullptr, bounds.left + dx, bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

void TFrameFitting::Measure()
{
    const TSkinData& skin = *FFrame.SkinData();
    const bool noCaption = FFrame.BorderKind() == bkNoCaption;
    FMetrics = framegeo::MeasureFrame(StripOf(skin.Left()), StripOf(skin.Top()), StripOf(skin.Right()),
                                      StripOf(skin.Bottom()), noCaption);
    FMetrics.MenuHeight = FFrame.SkinMenuBar() && !noCaption ? GetSystemMetrics(SM_CYMENU) : 0;
}

void TFrameFitting::KeepClientRect()
{
    GetClientRect(FFrame.Handle(), &FKeptClientRect);
}

void TFrameFitting::FitToClient(bool keepClient)
{
    const HWND window = FFrame.Handle();
    FFrame.ReadWindowState();
    if (FFrame.WindowState() == wsMaximized) {
        RepositionFrame(window);
        return;
    }
    const bool dialog = FFrame.WindowStyle().IsDialogClass;
    const bool refreshing = FFrame.State() == fsRefreshing;
    if (keepClient || dialog || refreshing)
        GetClientRect(window, &FKeptClientRect);
    framegeo::TSize client{FKeptClientRect.right, FKeptClientRect.bottom};
    framegeo::TSize outer = framegeo::OuterSize(client, FMetrics);

    int growth = 0;
    if (dialog && !keepClient) {
        // A dialog grows until its whole caption text fits.
        const TDataSkinTitle& title = *FFrame.SkinData()->Title();
        const int needed = FPainter.CaptionTextWidth() + title.LeftWidth + title.RightWidth;
        growth = std::max(0, needed - outer.Width);
        outer.Width += growth;
    }
    // A new skin whose borders measure as the old ones leaves the window's
    // size and client area as they are: the system need not work the frame
    // out again (the refresh repaints it).
    if (refreshing && growth == 0 && FFittedMetrics == FMetrics && HasOuterSize(window, outer))
        return;
    SetWindowPos(window, nullptr, 0, 0, outer.Width, outer.Height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    FFittedMetrics = FMetrics;
    if (growth > 0)
        MoveChildren(window, growth / 2);
}

void TFrameFitting::NcCalcSize(TMessage& message)
{
    FFrame.DefaultHandler(message);
    if (!message.WParam) {
        message.Result = 0;
        return;
    }
    auto* params = AsPointer<NCCALCSIZE_PARAMS>(message.LParam);
    if ((FFrame.FormKind() == fkMdiChild && FFrame.WindowState() != wsNormal) || FFrame.BorderKind() == bkNoCaption) {
        params->rgrc[1] = params->rgrc[0];
        message.Result = WVR_VALIDRECTS;
        return;
    }
    const WINDOWPOS& position = *params->lppos;
    const framegeo::TRectI client = framegeo::ClientInside(
        {position.x, position.y, position.x + position.cx, position.y + position.cy}, FMetrics);
    const RECT rect{client.Left, client.Top, std::max(client.Left, client.Right),
                    std::max(client.Top, client.Bottom)};
    params->rgrc[0] = rect;
    params->rgrc[1] = rect;
    message.Result = WVR_VALIDRECTS;
}

void TFrameFitting::Sized(TMessage& message)
{
    FFrame.DefaultHandler(message);
    switch (message.WParam) {
    case SIZE_RESTORED: FFrame.SetWindowState(wsNormal); break;
    case SIZE_MINIMIZED: FFrame.SetWindowState(wsMinimized); break;
    case SIZE_MAXIMIZED: FFrame.SetWindowState(wsMaximized); break;
    default: break;
    }
    const int windowState = FFrame.WindowState();
    if (windowState == wsMinimized)
        return;
    if (FFrame.FormKind() == fkMdiChild && windowState != wsNormal)
        return;
    if (FFrame.State() == fsReady || FFrame.State() == fsRefreshing)
        FRegion.Build(FPainter);
}

void TFrameFitting::GiveBackClientSize(const RECT& client)
{
    const HWND window = FFrame.Handle();
    RepositionFrame(window);
    FFrame.ReadWindowState();
    if (FFrame.WindowState() != wsNormal)
        return;
    RECT bounds{};
    RECT systemClient{};
    GetWindowRect(window, &bounds);
    GetClientRect(window, &systemClient);
    SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left - systemClient.right + client.right,
                 bounds.bottom - bounds.top - systemClient.bottom + client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
