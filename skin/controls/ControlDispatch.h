// Which skin object each control of a skinned window gets. A framework form
// is walked through its components and its tab-order list and each control
// is decided by its Tag, the skin data's OnSkinControl event, the skin's
// class-name-to-kind lines (Skin3rd) and then the built-in table below, by
// exact class name or by class; a bare window (a system dialog) is walked
// through its child windows and each is decided by window class and style.
//
// Both tables are data. A row names a kind of skin object (TSkinKind);
// MakeSkinObject turns a kind into an object, and answers nullptr for the
// families not built yet, so their rows match and attach nothing. Adding a
// family is adding its case to MakeSkinObject.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/data/WinSkinData.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>

class TComponent;
class TControl;
class TWinControl;

enum TSkinKind {
    skNone, skTab31, skTab, skUpDown, skMediaPlayer, skBox, skBoxH, skObjImageCheck, skObjImageRadio,
    skObjImageCx, skGroupBox, skStatusBar, skProgress, skComBox, skComBoxEx, skScrollbar, skSingleScrollbar,
    skListView, skButton, skBitButton, skPngBitButton, skMenuButton, skSpeedButton, skPngSpeedButton, skEdit,
    skCheckBox, skRadioButton, skTrackBar, skDateTime, skAdvPage, skSizer, skScrollBarControl, skTabSheet,
    skTabBtn
};

// A new object for a kind, held by the caller until the list takes it at
// its attach (HandOver); from then on owned by owner (a framework control)
// or, with owner nullptr, by the list. nullptr while the family is not built.
std::unique_ptr<TSkinControl> MakeSkinObject(TSkinKind kind, TComponent* owner);
// Containers take the skin's face colour while skinned.
bool KindSetsColour(TSkinKind kind) noexcept;

// --- The built-in table ---
enum TRowTest {
    rtName,          // the exact upper-case class name is one of Names
    rtClass,         // the class Names[0] or a descendant (not Except)
    rtScrollStyle,   // any windowed control with WS_VSCROLL or WS_HSCROLL
    rtNumButtons1,   // one of Names, its NumButtons property is 1
    rtNumButtons0,   // one of Names, its NumButtons property is 0
};
enum TRowThen {
    thAttach,           // the object, attached to the control
    thChildrenFirst,    // the children dispatched, then the object
    thChildrenOnly,     // no object; the children dispatched
    thThenChildren,     // the object, then every child control dispatched
    thThenComponents,   // the object, then the components of the control (an embedded form)
    thAttachWindow,     // the object, attached to the control's window as a bare window
};
constexpr int kNoSwitch = -1;
// Row switch: a member of TSkinControlType, kNoSwitch, or this (xcTab and a Tabs object).
constexpr int kTabsSwitch = -2;

struct TDispatchRow {
    TRowTest Test;
    const char* Names[3];
    int Switch;
    TSkinKind Kind;
    TRowThen Then;
    const char* Except[2] = {};
};

std::span<const TDispatchRow> DispatchRows() noexcept;
// The first row whose test and switch hold for control, or nullptr.
const TDispatchRow* MatchDispatchRow(TControl* control, const std::string& upperClassName,
                                     const TSkinData& skinData);

// --- The Skin3rd kinds ---
enum TKindThen {
    ktAttach,              // the object
    ktNothing,             // "nil": handled, the control stays plain
    ktEditWithBorder,      // the object only when window and client differ in size
    ktTransparent,         // Transparent := True, then the object
    ktBitButton,           // bit button, or menu button for a drop-down "tcxbutton"
    ktThenChildren,        // the object, then the children dispatched
    ktScrollableChildren,  // each scrollable child control gets the object
    ktChildrenOnly,        // the children dispatched
    ktRadioGroup,          // with xcRadioButton each child a radio button, then the object
    ktCheckGroup,          // with xcRadioButton each child a check box, then with xcGroupBox the object
};
struct TKindRow {
    const wchar_t* Kind;
    int Switch;
    TSkinKind Object;
    TKindThen Then;
};
std::span<const TKindRow> KindRows() noexcept;
// The kind a Skin3rd line gives a class (lower case), or nothing: the first
// line that starts with the class name and "=", compared without case.
std::optional<std::wstring> Skin3rdKindOf(const std::vector<std::wstring>& lines, const std::wstring& className);
const TKindRow* FindKindRow(const std::wstring& kind) noexcept;
bool SwitchHolds(int switchValue, const TSkinData& skinData) noexcept;

// --- Bare windows ---
struct TWindowChoice {
    TSkinKind Kind = skNone;
    bool ChildrenFirst = false;      // the child windows are dispatched first
    bool FaceColour = false;         // the framework control behind takes ButtonFace
    bool FirstChild = false;         // the object goes on the first child window
};
// What a child window of a bare window gets, by its lower-case class name and style.
TWindowChoice ChooseForWindow(const std::wstring& lowerClassName, LONG_PTR style, const TSkinData& skinData);

// The skinned controls of one skinned window and the way they are chosen.
class TControlDispatch {
public:
    explicit TControlDispatch(TSkinData* skinData) : FSkinData(skinData) {}
    TControlDispatch(const TControlDispatch&) = delete;
    TControlDispatch& operator=(const TControlDispatch&) = delete;

    TSkinControlList& Controls() noexcept { return FControls; }

    void AttachFormControls(TWinControl* form);
    void AttachComponents(TComponent* container);
    void AttachChildren(TWinControl* control);
    void DispatchControl(TControl* control, TWinControl* parent);
    bool DispatchByKind(const std::wstring& className, TControl* control);
    void AttachChildWindows(HWND window);
    void DispatchWindow(HWND window);
    bool IsSkinned(TControl* control) const;
    // The scroll-bar skin of the window is made again.
    void ReplaceScrollSkin(HWND window);

private:
    TSkinControl* Attach(TSkinKind kind, TControl* control, bool setColour);
    TSkinControl* AttachToWindow(TSkinKind kind, HWND window);
    void CarryOut(const TDispatchRow& row, TControl* control);
    void CarryOutKind(const TKindRow& row, const std::wstring& className, TControl* control);
    bool FireOnSkinControl(TControl* control, TWinControl* parent, const std::wstring& upperName);

    TSkinData* FSkinData;
    // The form, as the sender of OnSkinControl.
    TComponent* FSender = nullptr;
    TSkinControlList FControls;
};
