// TSkinControl: the object that sits beside one standard control of a
// skinned window and paints it from the skin. It never replaces the control:
// it filters the control's messages (BeforeMessage may answer one itself,
// AfterMessage runs after the control handled it) and paints the whole
// window again from the skin. A framework control is reached through its
// WindowProc hook (TWindowProcHook), a bare window (a dialog item) through a
// subclass of its window procedure (TWindowSubclass), which passes on in the
// window's own character set so wide texts are never squeezed through the
// ANSI code page.
//
// skin/controls sits below skin/forms: the skinned frame (TWinSkinForm)
// makes these objects and keeps them in a TSkinControlList; nothing here
// knows the frame.
#pragma once

#include "skin/controls/ControlTypes.h"
#include "skin/controls/FaceCache.h"

#include "base/WindowSubclass.h"
#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TSkinControl;
class TSkinData;
class TDataSkinObject;

// The skinned control objects of one skinned window, in the order they were
// attached, and their one owner. An object joins the list at its attach
// (HandOver holds a new one until then) and from then on only the list
// frees it: when its window was destroyed (Purge), when it is replaced
// (Free), when the skin stops (DeactivateAndFreeAll, FreeAll), and when the
// framework control it skins is freed (the object hears of it and asks the
// list). An object of a framework control stays one of the control's
// components, as the control's published shape has it, but the control
// never gets to free it.
class TSkinControlList {
public:
    TSkinControlList() = default;
    ~TSkinControlList() { FreeAll(); }
    TSkinControlList(const TSkinControlList&) = delete;
    TSkinControlList& operator=(const TSkinControlList&) = delete;

    // Takes object, which is attaching; nothing when it is listed already.
    void Adopt(TSkinControl* object);
    // Frees object now, when it is listed.
    void Free(TSkinControl* object) noexcept;
    // Object is being destroyed: the list lets go of it without freeing it.
    void Forget(TSkinControl* object) noexcept;
    bool Contains(const TSkinControl* object) const noexcept;
    TSkinControl* FindByWindow(HWND window) const noexcept;
    TSkinControl* FindByControl(const TControl* control) const noexcept;
    int Count() const noexcept { return static_cast<int>(FItems.size()); }

    // Frees the objects whose window was destroyed.
    void Purge();
    // Every object stops drawing and gives back colour and parent
    // background, then is freed: the window stays, unskinned.
    void DeactivateAndFreeAll();
    // Frees every object (the window is going away).
    void FreeAll() noexcept;
    void SkinChangedAll();
    // The rendered faces the objects of this list share.
    TFaceCache& Faces() noexcept { return FFaces; }

private:
    // The objects as they are now, for a walk during which some may leave.
    std::vector<TSkinControl*> Snapshot() const;
    std::vector<std::unique_ptr<TSkinControl>>::iterator Find(const TSkinControl* object) noexcept;

    std::vector<std::unique_ptr<TSkinControl>> FItems;
    TFaceCache FFaces;
};

// Where a skin object is in its life: made, attached to its control or
// window, or its window has received WM_NCDESTROY.
enum class TSkinLife { slCreated = 0, slAttached = 1, slDestroyed = 6 };
using enum TSkinLife;

// State bits kept by the descendants.
constexpr unsigned kMouseOver = 1;
constexpr unsigned kPressed = 2;

class TSkinControl : public TComponent {
    VK_CLASS_INFO
public:
    // Owner: the framework control to skin (it frees this object with
    // itself), or nullptr for a bare window.
    explicit TSkinControl(TComponent* AOwner);
    // Gives the hook or the window procedure back, then leaves the list.
    ~TSkinControl() override;

    // Attaches to the owner framework control; a second attach is ignored.
    virtual void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour);
    // Attaches to a bare window; a second attach is ignored.
    virtual void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form);
    // Stops drawing and gives back colour and parent background (not after
    // the window was destroyed).
    virtual void Deactivate();
    // The skin was reloaded: its colour, then a repaint.
    virtual void SkinChanged();

    // Containers take the skin's face colour while attached.
    virtual bool Container() const noexcept { return false; }

    // Repaints now: invalidated with erasing and updated at once.
    void Redraw();

    HWND Handle() const noexcept { return FHandle; }
    TControl* Control() const noexcept { return FControl; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    bool Active() const noexcept { return FActive; }
    TSkinLife Life() const noexcept { return FLife; }
    bool Unicode() const noexcept { return FUnicode; }

    // Fills with a solid brush of colour (a system colour resolved).
    static void FillColor(HDC dc, const RECT& rect, TColor colour);
    bool ParentBackgroundSwitched() const noexcept { return FParentBackgroundSwitched; }
    unsigned StateBits() const noexcept { return FStateBits; }

protected:
    // True lets the message go on to the control and then to AfterMessage.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    // Paints the whole window; dc 0 takes the window DC. Failures are swallowed.
    virtual void PaintWindow(HDC dc);
    // Draws the control into dc within rect (window coordinates, origin 0,0).
    virtual void DrawControl(HDC /*dc*/, const RECT& /*rect*/) {}
    // True for the objects of windowless (graphic) controls, which are
    // reached through the control's hook alone and have no window handle.
    virtual bool AttachesWindowless() const noexcept { return false; }
    // WM_SKINSWITCH turned the object on or off (objects with windows of
    // their own show or hide them).
    virtual void Switched(bool /*on*/) {}
    // The control this object skins is being freed: the list frees the
    // object first.
    void Notification(TComponent* component, TOperation operation) override;

    void CallOldWndProc(TMessage& message);

    // --- Drawing helpers ---
    void FillSkinColor(HDC dc, const RECT& rect) const;
    void FillParentColor(HDC dc, const RECT& rect) const;
    void DrawFocusAroundText(HDC dc, UINT alignment, const RECT& rect) const;
    // The control's OnMouseDown for a press the skin object swallowed.
    void ForwardMouseDown(const TMessage& message);
    UINT TextFormatFor(UINT format) const;
    void PaintByMessage(TMessage& message);
    // For objects that draw the whole control: WM_PAINT drawn from the skin,
    // WM_ERASEBKGND answered 1 (the drawing covers it); true when the
    // message was one of them and is answered.
    bool AnswerPaint(TMessage& message);
    void EraseByMessage(TMessage& message);
    // A window point of the message in client coordinates, right also for
    // controls wider or higher than 16-bit coordinates can say.
    POINT MessagePoint(const TMessage& message) const;

    unsigned FStateBits = 0;
    bool FEnabled = true;
    bool FFocused = false;
    std::wstring FCaption;
    bool FActive = true;
    bool FUnicode = true;
    TSkinData* FSkinData = nullptr;
    HWND FHandle = nullptr;
    TControl* FControl = nullptr;
    RECT FWindowRect{};
    bool FSetColour = false;
    TColor FSavedColour = 0;
    bool FAttached = false;
    TSkinLife FLife = slCreated;
    TSkinControlList* FForm = nullptr;
    bool FParentBackgroundSwitched = false;

private:
    void HandleMessage(TMessage& message);
    // Draws the whole window into dc (none: nothing); failures are swallowed.
    void PaintInto(HDC dc) noexcept;
    void SuspendParentBackground(bool on);
    void Register(TSkinControlList* form);

    TWindowProcHook FHook;
    TWindowSubclass FSubclass;
};

// --- Published properties read by name ---
// Any control class that publishes a property of that name is served; a nil
// object, a missing property or one of another kind reads as -1, empty or nil.
int GetOrdPropByName(const TObject* object, std::string_view name);
std::string GetEnumPropByName(const TObject* object, std::string_view name);
std::wstring GetTextPropByName(const TObject* object, std::string_view name);
TObject* GetObjectPropByName(const TObject* object, std::string_view name, const TClassInfo* objectClass);
// From text; false when nothing was written (absent, read-only, another kind,
// or a number the property cannot hold).
bool SetPropByName(TObject* object, std::string_view name, std::wstring_view text);
// The property reads "True".
bool PropIsTrue(const TObject* object, std::string_view name);

// The window's text in UTF-16, whatever its character set.
std::wstring GetWindowTextWide(HWND window);

// The skin has this object and its image is not empty.
bool HasImage(const TDataSkinObject* object) noexcept;

// Holds a new skin object until the list takes it: attach registers the
// object with list, which frees it from then on; an attach that leaves it
// out frees it here, and one that throws has it freed by whichever holds it.
// The object, or nullptr when the list did not take it.
template <class T, class TAttach>
T* HandOver(std::unique_ptr<T> object, TSkinControlList& list, TAttach&& attach)
{
    T* const taken = object.get();
    try {
        attach(*taken);
    } catch (...) {
        if (list.Contains(taken)) {
            object.release();
            list.Free(taken);
        }
        throw;
    }
    if (!list.Contains(taken))
        return nullptr;
    object.release();
    return taken;
}

// The layout functions' types at the GDI edge.
inline RECT AsRect(const TRectI& rect) noexcept { return {rect.Left, rect.Top, rect.Right, rect.Bottom}; }
inline TRectI AsRectI(const RECT& rect) noexcept { return {rect.left, rect.top, rect.right, rect.bottom}; }
inline TPointI AsPointI(POINT point) noexcept { return {point.x, point.y}; }
