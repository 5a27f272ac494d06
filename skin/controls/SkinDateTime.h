// Date-time pickers: a frame like an edit's and, over the picker's own
// drop button, a small button of ours drawn from the skin. A picker that
// spins instead of dropping (the time format) keeps its up-down control,
// which is skinned like any up-down.
#pragma once

#include "skin/controls/SkinControl.h"

#include <windows.h>

#include <memory>

// The drop button laid over a picker's own: the skin's ComboxArrow cell
// (hot while the mouse is over it) filling a window of ours. A press is
// handed to the picker at the same point, so the picker opens its calendar
// itself; releasing gives the picker the focus.
class TArrowButton {
public:
    TArrowButton(TSkinControl& owner, HWND picker);
    ~TArrowButton();
    TArrowButton(const TArrowButton&) = delete;
    TArrowButton& operator=(const TArrowButton&) = delete;

    // Follows the picker's size: the button fills the right end of its
    // client (the left end with a left-hand layout).
    void Place();
    void Repaint();
    HWND Handle() const noexcept { return FWindow; }
    bool MouseOver() const noexcept { return FMouseOver; }

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    void PressPicker(LPARAM at);
    void SetMouseOver(bool over);

    TSkinControl& FOwner;
    HWND FPicker;
    HWND FWindow = nullptr;
    bool FMouseOver = false;
};

class TSkinDateTime : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinDateTime(TComponent* AOwner);
    ~TSkinDateTime() override;

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;
    void Deactivate() override;

    // The drop button over the picker's own, or nullptr for a spinning picker.
    const TArrowButton* ArrowButton() const noexcept { return FArrow.get(); }

protected:
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
    void Switched(bool on) override;

private:
    void Complete();

    std::unique_ptr<TArrowButton> FArrow;
    bool FClipChildrenAdded = false;
};
