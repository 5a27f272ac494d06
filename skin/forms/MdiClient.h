// The MDI client of a skinned MDI frame, subclassed with the frame: its
// scroll bars, the maximised child's state the caption buttons depend on,
// the menu the frame's bar shows while children come and go, and the frame
// repaint a child asks for when it is maximised or restored.
#pragma once

#include "base/WindowSubclass.h"

#include <windows.h>

class TWinSkinForm;
struct TMessage;

class TMdiClientHook {
public:
    explicit TMdiClientHook(TWinSkinForm& frame) : FFrame(frame) {}
    TMdiClientHook(const TMdiClientHook&) = delete;
    TMdiClientHook& operator=(const TMdiClientHook&) = delete;

    // Subclasses the frame's MDI client, when it has one.
    void Install();
    // The skin is switched off: the client gets its procedure back and the
    // skin its MenuUpdate as it was when the frame was prepared.
    void GiveBack();
    // The window is going: the client gets its procedure back.
    void Remove() noexcept { FSubclass.Remove(); }

    // The subclassed client, or nullptr.
    HWND Window() const noexcept;
    // The client's active child is maximised.
    bool ActiveChildMaximised() const;

private:
    void ClientProc(TMessage& message);
    // The client's active child, and whether it is maximised.
    HWND ActiveChild(bool& maximised) const;
    void ChildDestroyed();

    TWinSkinForm& FFrame;
    TWindowSubclass FSubclass;
    // The skin's MenuUpdate when the MDI frame was prepared: switched off
    // while MDI children exist, given back when the last one goes.
    bool FMenuUpdateAtPrepare = true;
};
