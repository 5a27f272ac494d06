#include "SkinScrollbar.h"

#include "framework/Messages.h"
#include "skin/data/SkinMessages.h"

// --- TSkinScrollBarControl ---

const TClassInfo& TSkinScrollBarControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(
        TClassBuilder<TSkinScrollBarControl>("TSkinScrollBarControl", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinScrollBarControl::TSkinScrollBarControl(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollBarControl::~TSkinScrollBarControl()
{
    FOverlay.reset();
}

void TSkinScrollBarControl::AttachControl(TSkinControlList* form, TSkinData* skinData, bool /*setColour*/)
{
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, false);
    if (FAttached)
        MakeOverlay();
}

void TSkinScrollBarControl::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    if (FAttached)
        return;
    TSkinControl::AttachWindow(window, skinData, form);
    MakeOverlay();
}

void TSkinScrollBarControl::MakeOverlay()
{
    FOverlay = std::make_unique<TWScrollbar>(*this, FHandle, okControl);
    FOverlay->SetEnabled(IsWindowEnabled(FHandle) != FALSE);
    FOverlay->Layout();
}

void TSkinScrollBarControl::Deactivate()
{
    if (!FActive)
        return;
    FOverlay.reset();
    TSkinControl::Deactivate();
    if (FLife != slDestroyed)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TSkinScrollBarControl::Switched(bool on)
{
    if (!FOverlay)
        return;
    if (on)
        FOverlay->Layout();
    else
        FOverlay->HideOverlay();
}

bool TSkinScrollBarControl::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_NCDESTROY)
        FOverlay.reset();
    return TSkinControl::BeforeMessage(message);
}

void TSkinScrollBarControl::AfterMessage(TMessage& message)
{
    if (message.Msg == CM_VISIBLECHANGED)
        Switched(message.WParam != 0);
    else if (message.Msg == CM_ENABLEDCHANGED || message.Msg == WM_ENABLE) {
        if (FOverlay)
            FOverlay->SetEnabled(IsWindowEnabled(FHandle) != FALSE);
    }
    // The base paints nothing here: the overlay covers the whole control.
    if (!OnlyAsks(message.Msg) && FOverlay)
        FOverlay->Follow();
}
