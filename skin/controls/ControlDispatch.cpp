#include "ControlDispatch.h"

#include "base/WindowClass.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/controls/SkinBars.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinMediaPlayer.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinMessages.h"

#include <algorithm>
#include <cwctype>

namespace {

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::wstring WindowClassOf(HWND window)
{
    return LowerCase(WindowClassName(window));
}

bool AnswersSkinQuery(HWND window)
{
    return window && SendMessageW(window, WM_SKINQUERY, 0, 0) == 1;
}

HWND HandleOf(TControl* control)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    return windowed ? windowed->HandleIfAllocated() : nullptr;
}

template <size_t N>
bool NameIn(const char* const (&names)[N], const std::string& name)
{
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return n && name == n; });
}

bool RowTestHolds(const TDispatchRow& row, TControl* control, const std::string& name)
{
    switch (row.Test) {
    case rtName:
        return NameIn(row.Names, name);
    case rtClass:
        return control->InheritsFrom(std::string_view(row.Names[0])) && !NameIn(row.Except, name);
    case rtScrollStyle: {
        HWND window = HandleOf(control);
        return window && (GetWindowLongPtrW(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
    }
    case rtNumButtons1:
        return NameIn(row.Names, name) && GetOrdPropByName(control, "NumButtons") == 1;
    case rtNumButtons0:
        return NameIn(row.Names, name) && GetOrdPropByName(control, "NumButtons") == 0;
    }
    return false;
}

// In the order they are tried; the first row whose test and switch hold wins.
// Foreign control libraries keep their rows: any class of that name is served.
const TDispatchRow kRows[] = {
    {rtName, {"TTABSET"}, kTabsSwitch, skTab31, thAttach},
    {rtName, {"TTABBEDNOTEBOOK"}, kTabsSwitch, skTab, thAttach},
    // The framework's own tab and page controls and the pages' sheets.
    {rtClass, {"TCustomTabControl"}, kTabsSwitch, skTab, thAttach},
    {rtClass, {"TTabSheet"}, kTabsSwitch, skTabSheet, thAttach},
    {rtName, {"TMVCPANEL"}, kNoSwitch, skNone, thChildrenOnly},
    {rtName, {"TUPDOWN", "TSPINBUTTON"}, xcSpin, skUpDown, thAttach},
    {rtName, {"TMEDIAPLAYER"}, xcButton, skMediaPlayer, thAttach},
    {rtName, {"TDBNAVIGATOR"}, xcPanel, skBox, thThenChildren},
    {rtName, {"TRZDBCHECKBOX", "TRZCHECKBOX"}, xcCheckBox, skObjImageCheck, thAttach},
    {rtName, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}, xcRadioButton, skObjImageRadio, thAttach},
    {rtName, {"TCXDBCHECKBOX", "TCXCHECKBOX"}, xcCheckBox, skObjImageCx, thAttach},
    {rtClass, {"TCustomGroupBox"}, xcPanel, skGroupBox, thChildrenFirst},
    {rtClass, {"TCustomStatusBar"}, xcStatusBar, skStatusBar, thAttach},
    {rtClass, {"TProgressBar"}, xcProgress, skProgress, thAttach},
    {rtClass, {"TTrackBar"}, xcTrackBar, skTrackBar, thAttach},
    {rtClass, {"TDateTimePicker"}, xcCombo, skDateTime, thAttach},
    {rtName, {"TTNTCOMBOBOX"}, xcCombo, skComBox, thAttach},
    {rtClass, {"TCustomComboBox"}, xcCombo, skComBox, thAttach},
    {rtName, {"TRICHEDIT"}, xcScrollbar, skScrollbar, thAttach},
    {rtName, {"TWWDBRICHEDIT", "TDXDBMEMO"}, xcScrollbar, skScrollbar, thAttach},
    {rtClass, {"TCustomPanel"}, xcPanel, skBox, thChildrenFirst},
    {rtName, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}, xcScrollbar, skScrollbar, thAttach},
    {rtClass, {"TCustomListView"}, xcScrollbar, skListView, thAttach},
    // A list box hides its bar, and loses the scroll style, while its items fit.
    {rtClass, {"TCustomListBox"}, xcScrollbar, skScrollbar, thAttach},
    {rtScrollStyle, {}, xcScrollbar, skScrollbar, thAttach},
    // The framework's scroll-bar control: its bar is the whole window.
    {rtClass, {"TScrollBar"}, xcScrollbar, skScrollBarControl, thAttach},
    // The framework's own check boxes, radio buttons, bit and speed buttons.
    {rtClass, {"TBitBtn"}, xcBitBtn, skBitButton, thAttach},
    {rtClass, {"TSpeedButton"}, xcSpeedButton, skSpeedButton, thAttach},
    {rtClass, {"TCustomCheckBox"}, xcCheckBox, skCheckBox, thAttach},
    {rtClass, {"TRadioButton"}, xcRadioButton, skRadioButton, thAttach},
    {rtClass, {"TButton"}, xcButton, skButton, thAttach},
    {rtClass, {"TCustomEdit"}, xcEdit, skEdit, thAttach},
    {rtClass, {"TCustomForm"}, kNoSwitch, skBox, thThenComponents, {"TDCEDIT", "TDCDBEDIT"}},
    {rtNumButtons1, {"TDCEDIT", "TDCDBEDIT"}, xcCombo, skComBox, thAttach},
    {rtNumButtons0, {"TDCEDIT", "TDCDBEDIT"}, xcEdit, skEdit, thAttachWindow},
};

const TKindRow kKindRows[] = {
    {L"nil", kNoSwitch, skNone, ktNothing},
    {L"combobox", xcCombo, skComBox, ktAttach},
    {L"comboboxex", xcCombo, skComBoxEx, ktAttach},
    {L"edit", xcEdit, skEdit, ktEditWithBorder},
    {L"radiobutton", xcRadioButton, skRadioButton, ktAttach},
    {L"panel", xcPanel, skBox, ktTransparent},
    {L"trackbar", xcButton, skTrackBar, ktTransparent},
    {L"button", xcButton, skButton, ktAttach},
    {L"datetimepicker", xcCombo, skDateTime, ktAttach},
    {L"mediaplayer", xcButton, skMediaPlayer, ktAttach},
    {L"bitbtn", xcButton, skBitButton, ktBitButton},
    {L"pngbitbtn", xcButton, skPngBitButton, ktAttach},
    {L"pngspeedbutton", xcButton, skPngSpeedButton, ktAttach},
    {L"menubtn", xcButton, skMenuButton, ktAttach},
    {L"speedbutton", xcSpeedButton, skSpeedButton, ktAttach},
    {L"tab", kTabsSwitch, skTab, ktAttach},
    {L"progress", xcProgress, skProgress, ktAttach},
    {L"scrollbar", xcScrollbar, skScrollbar, ktThenChildren},
    {L"singlescrollbar", xcScrollbar, skSingleScrollbar, ktAttach},
    {L"embedscrollbar", xcScrollbar, skScrollbar, ktScrollableChildren},
    {L"container", kNoSwitch, skNone, ktChildrenOnly},
    {L"groupbox", xcGroupBox, skGroupBox, ktAttach},
    {L"advpagecontrol", xcTab, skAdvPage, ktAttach},
    {L"radiogroup", xcGroupBox, skGroupBox, ktRadioGroup},
    {L"checkgroup", xcPanel, skGroupBox, ktCheckGroup},
    {L"checkbox", xcCheckBox, skCheckBox, ktAttach},
};

} // namespace

// --- Kinds ---

namespace {

// Tab controls in button style show buttons, not the Tabs image.
bool ButtonStyleTabs(const TComponent* owner)
{
    const std::string style = GetEnumPropByName(owner, "Style");
    return style == "tsButtons" || style == "tsFlatButtons";
}

} // namespace

std::unique_ptr<TSkinControl> MakeSkinObject(TSkinKind kind, TComponent* owner)
{
    switch (kind) {
    case skButton: return std::make_unique<TSkinButton>(owner);
    case skBitButton: return std::make_unique<TSkinBitButton>(owner);
    case skSpeedButton: return std::make_unique<TSkinSpeedButton>(owner);
    case skMenuButton: return std::make_unique<TSkinMenuButton>(owner);
    case skMediaPlayer: return std::make_unique<TSkinMP>(owner);
    case skTab:
        if (ButtonStyleTabs(owner))
            return std::make_unique<TSkinTabBtn>(owner);
        return std::make_unique<TSkinTab>(owner);
    case skTabBtn: return std::make_unique<TSkinTabBtn>(owner);
    case skTabSheet: return std::make_unique<TSkinTabSheet>(owner);
    case skSizer: return std::make_unique<TSkinSizer>(owner);
    case skProgress: return std::make_unique<TSkinProgress>(owner);
    case skComBox: return std::make_unique<TSkinComBox>(owner);
    case skComBoxEx: {
        auto object = std::make_unique<TSkinComBox>(owner);
        object->SetExtended();
        return object;
    }
    case skEdit: return std::make_unique<TSkinEdit>(owner);
    case skDateTime: return std::make_unique<TSkinDateTime>(owner);
    case skUpDown: return std::make_unique<TSkinUpDown>(owner);
    case skTrackBar: return std::make_unique<TSkinTrackBar>(owner);
    case skStatusBar: return std::make_unique<TSkinStatusBar>(owner);
    case skGroupBox: return std::make_unique<TSkinGroupBox>(owner);
    case skBox: return std::make_unique<TSkinBox>(owner);
    case skBoxH: return std::make_unique<TSkinBoxH>(owner);
    case skCheckBox: return std::make_unique<TSkinCheckBox>(owner);
    case skRadioButton: return std::make_unique<TSkinRadioButton>(owner);
    case skScrollbar: return std::make_unique<TSkinScrollbar>(owner);
    case skSingleScrollbar: {
        auto object = std::make_unique<TSkinScrollbar>(owner);
        object->SetSingleBar();
        return object;
    }
    case skListView: return std::make_unique<TSkinListView>(owner);
    case skScrollBarControl: return std::make_unique<TSkinScrollBarControl>(owner);
    default: return nullptr;
    }
}

bool KindSetsColour(TSkinKind kind) noexcept
{
    switch (kind) {
    // A sheet's colour is what its labels and the tabs on it show around them.
    case skTabSheet:
    case skBox: case skGroupBox: case skAdvPage: case skObjImageCheck: case skObjImageRadio: case skObjImageCx:
        return true;
    default:
        return false;
    }
}

bool SwitchHolds(int switchValue, const TSkinData& skinData) noexcept
{
    if (switchValue == kNoSwitch)
        return true;
    if (switchValue == kTabsSwitch)
        return InSet(skinData.SkinControls, xcTab) && skinData.Tabs() != nullptr;
    return InSet(skinData.SkinControls, switchValue);
}

std::span<const TDispatchRow> DispatchRows() noexcept
{
    return kRows;
}

const TDispatchRow* MatchDispatchRow(TControl* control, const std::string& upperClassName, const TSkinData& skinData)
{
    for (const TDispatchRow& row : kRows)
        if (RowTestHolds(row, control, upperClassName) && SwitchHolds(row.Switch, skinData))
            return &row;
    return nullptr;
}

std::span<const TKindRow> KindRows() noexcept
{
    return kKindRows;
}

std::optional<std::wstring> Skin3rdKindOf(const std::vector<std::wstring>& lines, const std::wstring& className)
{
    const std::wstring prefix = LowerCase(className) + L"=";
    for (const std::wstring& line : lines) {
        if (line.size() >= prefix.size() && LowerCase(line.substr(0, prefix.size())) == prefix)
            return LowerCase(line.substr(prefix.size(), 50));
    }
    return std::nullopt;
}

const TKindRow* FindKindRow(const std::wstring& kind) noexcept
{
    for (const TKindRow& row : kKindRows)
        if (kind == row.Kind)
            return &row;
    return nullptr;
}

TWindowChoice ChooseForWindow(const std::wstring& name, LONG_PTR style, const TSkinData& skinData)
{
    const auto on = [&](TSkinControlType type) { return InSet(skinData.SkinControls, type); };
    const auto when = [](bool condition, TSkinKind kind) { return TWindowChoice{condition ? kind : skNone}; };
    if (name == L"button") {
        // By the button's type, not by single bits: the split buttons and
        // command links of newer systems share bits with check and radio boxes.
        switch (style & BS_TYPEMASK) {
        case BS_OWNERDRAW:
        case BS_GROUPBOX:
            return {};
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
            return when(on(xcCheckBox), skCheckBox);
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
            return when(on(xcRadioButton), skRadioButton);
        default:
            return when(!(style & BS_BITMAP) && on(xcButton), skButton);
        }
    }
    if (name == L"combobox")
        return when(on(xcCombo) && (style & 3) != CBS_SIMPLE, skComBox);
    if (name == L"comboboxex32")
        return {on(xcCombo) ? skComBox : skNone, false, false, true};
    if (name == L"scrollbar") {
        // A size box or grip is a grip whatever its tab stop; any other
        // scroll-bar window is a bar.
        if (style & (SBS_SIZEBOX | SBS_SIZEGRIP))
            return {skSizer};
        return when(on(xcScrollbar), skScrollBarControl);
    }
    if (name == L"#32770")
        return {(style & WS_TABSTOP) ? skNone : skBoxH, !(style & WS_TABSTOP)};
    if (name == L"tpanel" || name == L"ttntpanel.unicodeclass" || name == L"ttntsilentpaintpanel.unicodeclass")
        return {skNone, true, true};
    if (name == L"tsilentpaintpanel")
        return {skNone, false, true};
    if (name == L"tcheckbox")
        return when(on(xcCheckBox), skCheckBox);
    if (name == L"tcombobox")
        return when(on(xcCombo), skComBox);
    if (name == L"tbutton")
        return when(on(xcButton), skButton);
    if (name == L"tprogressbar")
        return {skProgress};
    if (name == L"systabcontrol32")
        return when(on(xcTab) && !(style & 0x2000), (style & TCS_BUTTONS) ? skTabBtn : skTab);
    if (name == L"toolbarwindow32")
        return {skBoxH};
    if (name == L"edit")
        return when(on(xcEdit), skEdit);
    if (name == L"sysdatetimepick32")
        return when(on(xcCombo), skDateTime);
    return {};
}

// --- The dispatch ---

TSkinControl* TControlDispatch::Attach(TSkinKind kind, TControl* control, bool setColour)
{
    // A combo box's list draws its bar with the skin whatever draws the box.
    if (kind == skComBox || kind == skComBoxEx)
        AttachComboListBar(HandleOf(control), FSkinData, &FControls);
    std::unique_ptr<TSkinControl> object = MakeSkinObject(kind, control);
    if (!object)
        return nullptr;
    // A control that cannot take it (no window) leaves nothing behind.
    return HandOver(std::move(object), FControls,
                    [&](TSkinControl& taken) { taken.AttachControl(&FControls, FSkinData, setColour); });
}

TSkinControl* TControlDispatch::AttachToWindow(TSkinKind kind, HWND window)
{
    if (!window || FControls.FindByWindow(window))
        return nullptr;
    if (kind == skComBox || kind == skComBoxEx)
        AttachComboListBar(window, FSkinData, &FControls);
    std::unique_ptr<TSkinControl> object = MakeSkinObject(kind, nullptr);
    if (!object)
        return nullptr;
    return HandOver(std::move(object), FControls,
                    [&](TSkinControl& taken) { taken.AttachWindow(window, FSkinData, &FControls); });
}

bool TControlDispatch::IsSkinned(TControl* control) const
{
    return AnswersSkinQuery(HandleOf(control)) || FControls.FindByControl(control) != nullptr;
}

void TControlDispatch::AttachFormControls(TWinControl* form)
{
    FSender = form;
    FControls.Purge();
    AttachComponents(form);
    for (TWinControl* control : form->GetTabOrderList()) {
        if (control->HandleAllocated() && control->Tag != FSkinData->DisableTag
            && !AnswersSkinQuery(control->HandleIfAllocated()))
            DispatchControl(control, control->Parent());
    }
}

void TControlDispatch::AttachComponents(TComponent* container)
{
    for (int i = 0; i < container->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(container->Components(i)))
            DispatchControl(control, control->Parent());
}

void TControlDispatch::AttachChildren(TWinControl* control)
{
    for (int i = 0; i < control->ControlCount(); ++i)
        DispatchControl(control->Controls(i), control);
}

void TControlDispatch::DispatchControl(TControl* control, TWinControl* parent)
{
    std::string name = control->ClassName();
    if (control->Tag == FSkinData->DisableTag) {
        // A group kept plain keeps its buttons plain too.
        const std::string upper = Upper(name);
        if (upper.find("RADIOGROUP") != std::string::npos || upper.find("CHECKGROUP") != std::string::npos)
            if (auto* group = dynamic_cast<TWinControl*>(control))
                for (int i = 0; i < group->ControlCount(); ++i)
                    group->Controls(i)->Tag = FSkinData->DisableTag;
        return;
    }
    if (!control->Parent() || IsSkinned(control))
        return;
    name = Upper(name);
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (const std::exception&) {
            return;
        }
    }
    if (FireOnSkinControl(control, parent, Widen(name)))
        return;
    if (DispatchByKind(Widen(control->ClassName()), control))
        return;
    if (name == "TDBCOMBOBOXEH" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX")
        return;
    if (const TDispatchRow* row = MatchDispatchRow(control, name, *FSkinData))
        CarryOut(*row, control);
}

bool TControlDispatch::FireOnSkinControl(TControl* control, TWinControl* parent, const std::wstring& upperName)
{
    if (!FSkinData->OnSkinControl)
        return false;
    TComponent* made = nullptr;
    FSkinData->OnSkinControl(FSender, FSkinData, parent, control, upperName, made);
    if (!made)
        return false;
    if (auto* object = dynamic_cast<TSkinControl*>(made); object && !FControls.Contains(object)) {
        object->AttachControl(&FControls, FSkinData, object->Container());
        if (auto* panel = dynamic_cast<TCustomPanel*>(control))
            AttachChildren(panel);
    }
    return true;
}

void TControlDispatch::CarryOut(const TDispatchRow& row, TControl* control)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    const bool colour = KindSetsColour(row.Kind);
    switch (row.Then) {
    case thAttach:
        Attach(row.Kind, control, colour);
        return;
    case thChildrenFirst:
        if (windowed)
            AttachChildren(windowed);
        Attach(row.Kind, control, colour);
        return;
    case thChildrenOnly:
        if (windowed)
            AttachChildren(windowed);
        return;
    case thThenChildren:
        Attach(row.Kind, control, colour);
        if (windowed)
            AttachChildren(windowed);
        return;
    case thThenComponents:
        Attach(row.Kind, control, colour);
        AttachComponents(control);
        return;
    case thAttachWindow:
        AttachToWindow(row.Kind, HandleOf(control));
        return;
    }
}

bool TControlDispatch::DispatchByKind(const std::wstring& className, TControl* control)
{
    const std::optional<std::wstring> kind = Skin3rdKindOf(FSkinData->Skin3rd(), className);
    if (!kind)
        return false;
    // Every kind named counts as handled, even one whose switch is off.
    if (const TKindRow* row = FindKindRow(*kind); row && SwitchHolds(row->Switch, *FSkinData))
        CarryOutKind(*row, LowerCase(className), control);
    return true;
}

void TControlDispatch::CarryOutKind(const TKindRow& row, const std::wstring& className, TControl* control)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    const bool colour = KindSetsColour(row.Object);
    const auto eachChild = [&](auto&& action) {
        if (windowed)
            for (int i = 0; i < windowed->ControlCount(); ++i)
                action(windowed->Controls(i));
    };
    const bool foreignGroup = Upper(std::string(className.begin(), className.end())).find("TRZ") != std::string::npos;
    switch (row.Then) {
    case ktNothing:
        return;
    case ktAttach:
        Attach(row.Object, control, colour);
        return;
    case ktEditWithBorder: {
        HWND window = HandleOf(control);
        RECT outer{};
        RECT client{};
        if (!window || !GetWindowRect(window, &outer) || !GetClientRect(window, &client))
            return;
        if (outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom)
            Attach(row.Object, control, colour);
        return;
    }
    case ktTransparent:
        SetPropByName(control, "Transparent", L"True");
        Attach(row.Object, control, colour);
        return;
    case ktBitButton:
        if (className == L"tcxbutton" && GetEnumPropByName(control, "Kind") == "cxbkDropDownButton")
            Attach(skMenuButton, control, false);
        else
            Attach(row.Object, control, colour);
        return;
    case ktThenChildren:
        Attach(row.Object, control, colour);
        if (windowed)
            AttachChildren(windowed);
        return;
    case ktScrollableChildren:
        eachChild([&](TControl* child) {
            HWND window = HandleOf(child);
            if (window && (GetWindowLongPtrW(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)))
                Attach(row.Object, child, false);
        });
        return;
    case ktChildrenOnly:
        if (windowed)
            AttachChildren(windowed);
        return;
    case ktRadioGroup:
        if (InSet(FSkinData->SkinControls, xcRadioButton))
            eachChild([&](TControl* child) {
                Attach(foreignGroup ? skObjImageRadio : skRadioButton, child, foreignGroup);
            });
        Attach(row.Object, control, colour);
        return;
    case ktCheckGroup:
        if (InSet(FSkinData->SkinControls, xcRadioButton))
            eachChild([&](TControl* child) {
                Attach(foreignGroup ? skObjImageCheck : skCheckBox, child, foreignGroup);
            });
        if (InSet(FSkinData->SkinControls, xcGroupBox))
            Attach(row.Object, control, colour);
        return;
    }
}

// --- Bare windows ---

void TControlDispatch::AttachChildWindows(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)
            DispatchWindow(child);
}

void TControlDispatch::DispatchWindow(HWND window)
{
    if (FControls.FindByWindow(window))
        return;
    const TWindowChoice choice = ChooseForWindow(WindowClassOf(window), GetWindowLongPtrW(window, GWL_STYLE),
                                                 *FSkinData);
    if (choice.ChildrenFirst)
        AttachChildWindows(window);
    if (choice.FaceColour)
        if (TWinControl* control = FindControl(window))
            control->SetColor(FSkinData->SkinColor(scButtonFace));
    if (choice.Kind != skNone)
        AttachToWindow(choice.Kind, choice.FirstChild ? GetWindow(window, GW_CHILD) : window);
}

void TControlDispatch::ReplaceScrollSkin(HWND window)
{
    TSkinControl* old = FControls.FindByWindow(window);
    if (!old)
        return;
    const bool listView = old->ClassType().Name() == "TSkinListView";
    TControl* control = old->Control();
    old->Deactivate();
    FControls.Free(old);
    const TSkinKind kind = listView ? skListView : skScrollbar;
    if (control)
        Attach(kind, control, false);
    else
        AttachToWindow(kind, window);
}
