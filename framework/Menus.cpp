#include "Menus.h"

#include "ImgList.h"
#include "SysUtils.h"
#include "UtilWindow.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

// Every live item by its command. Made once and never freed: items owned by
// forms the application frees during exit still leave this list.
std::map<UINT, TMenuItem*>& ItemsByCommand()
{
    static auto& Items = *new std::map<UINT, TMenuItem*>();
    return Items;
}

// Commands stay below the window menu's (SC_SIZE = 0xF000 and up).
constexpr UINT LastCommand = 0xEFFF;

UINT AllocateCommand(TMenuItem* Item)
{
    auto& Items = ItemsByCommand();
    UINT Command = 1;
    for (const auto& [Used, _] : Items) {
        if (Used != Command)
            break;
        ++Command;
    }
    if (Command > LastCommand)
        throw Exception(L"Too many menu items");
    Items.emplace(Command, Item);
    return Command;
}

std::wstring KeyName(WORD Key)
{
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(Key));
    if (Key >= VK_F1 && Key <= VK_F24)
        return L"F" + std::to_wstring(Key - VK_F1 + 1);
    static const std::map<WORD, const wchar_t*> Names{
        {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"},   {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
        {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"},
        {VK_HOME, L"Home"}, {VK_LEFT, L"Left"},  {VK_UP, L"Up"},       {VK_RIGHT, L"Right"},
        {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"}};
    const auto Found = Names.find(Key);
    return Found != Names.end() ? Found->second : std::wstring();
}

// Accelerator position: index of the character after a single '&', or npos.
size_t HotkeyPosition(const std::wstring& Caption)
{
    for (size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != L'&')
            continue;
        if (Caption[I + 1] != L'&')
            return I + 1;
        ++I;
    }
    return std::wstring::npos;
}

} // namespace

std::wstring ShortCutToText(TShortCut ShortCut)
{
    const std::wstring Name = KeyName(static_cast<WORD>(ShortCut & 0xFF));
    if (Name.empty())
        return {};
    std::wstring Text;
    if (ShortCut & scCtrl)
        Text += L"Ctrl+";
    if (ShortCut & scShift)
        Text += L"Shift+";
    if (ShortCut & scAlt)
        Text += L"Alt+";
    return Text + Name;
}

wchar_t GetHotkey(const std::wstring& Caption)
{
    const size_t At = HotkeyPosition(Caption);
    if (At == std::wstring::npos)
        return 0;
    wchar_t Key = Caption[At];
    CharUpperBuffW(&Key, 1);
    return Key;
}

std::wstring StripHotkey(const std::wstring& Caption)
{
    std::wstring Text;
    for (size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == L'&' && I + 1 < Caption.size())
            ++I;
        else if (Caption[I] == L'&')
            continue;
        Text += Caption[I];
    }
    return Text;
}

// ---------------------------------------------------------------- TMenuItem

const TClassInfo& TMenuItem::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TMenuItem>("TMenuItem", TComponent::StaticClass())
        .WideText("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Integer("Command", &TMenuItem::Command)
        .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
        .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
        .Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
        .Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
        .Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .Integer("Handle", [](const TMenuItem& I) { return reinterpret_cast<intptr_t>(I.Handle()); })
        .Integer("Count", &TMenuItem::Count)
        .Build());
    return Info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(AllocateCommand(this)) {}

TMenuItem::~TMenuItem()
{
    BeginDestroy();
    // The entries go first, so no sub-menu is destroyed twice.
    if (FHandle)
        while (GetMenuItemCount(FHandle) > 0)
            RemoveMenu(FHandle, 0, MF_BYPOSITION);
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
    if (FHandle)
        DestroyMenu(FHandle);
    ItemsByCommand().erase(FCommand);
}

void TMenuItem::MakeRoot(TMenu* AMenu, HMENU AHandle)
{
    FMenu = AMenu;
    FHandle = AHandle;
}

void TMenuItem::SetCaption(const std::wstring& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        TurnOffSiblings();
    Changed();
}

void TMenuItem::TurnOffSiblings()
{
    if (!FParent)
        return;
    for (TMenuItem* Sibling : FParent->FItems)
        if (Sibling != this && Sibling->FRadioItem && Sibling->FGroupIndex == FGroupIndex && Sibling->FChecked) {
            Sibling->FChecked = false;
            Sibling->Changed();
        }
}

void TMenuItem::SetDefault(bool Value)
{
    if (Value == FDefault)
        return;
    if (Value && FParent)
        for (TMenuItem* Sibling : FParent->FItems)
            if (Sibling != this && Sibling->FDefault) {
                Sibling->FDefault = false;
                Sibling->Changed();
            }
    FDefault = Value;
    Changed();
}

void TMenuItem::SetRadioItem(bool Value)
{
    if (Value == FRadioItem)
        return;
    FRadioItem = Value;
    if (Value && FChecked)
        TurnOffSiblings();
    Changed();
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (Value == FShortCut)
        return;
    FShortCut = Value;
    Changed();
}

void TMenuItem::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    Changed();
}

int TMenuItem::MenuIndex() const noexcept
{
    if (!FParent)
        return -1;
    const auto& Siblings = FParent->FItems;
    return static_cast<int>(std::find(Siblings.begin(), Siblings.end(), this) - Siblings.begin());
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item || Item == this)
        throw Exception(L"Cannot insert this menu item");
    for (const TMenuItem* Up = this; Up; Up = Up->FParent)
        if (Up == Item)
            throw Exception(L"A menu item cannot hold its own parent");
    if (Item->FParent)
        Item->FParent->Remove(Item);
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    ChildrenChanged();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const auto Found = std::find(FItems.begin(), FItems.end(), Item);
    if (Found == FItems.end())
        return;
    FItems.erase(Found);
    Item->FParent = nullptr;
    ChildrenChanged();
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const noexcept
{
    const TMenuItem* Root = this;
    while (Root->FParent)
        Root = Root->FParent;
    return Root->FMenu;
}

TCustomImageList* TMenuItem::GetImageList() const noexcept
{
    const TMenu* Menu = GetParentMenu();
    return Menu ? Menu->Images() : nullptr;
}

// The sub-menu exists exactly while there are sub-items; a change of that
// changes the parent's entry for this item too.
void TMenuItem::ChildrenChanged()
{
    if (FMenu) {
        RebuildHandle();
    } else if (!FItems.empty() && !FHandle) {
        FHandle = CreatePopupMenu();
        if (!FHandle)
            throw Exception(L"Cannot create a menu");
        RebuildHandle();
    } else if (FItems.empty() && FHandle) {
        const HMENU Old = std::exchange(FHandle, nullptr);
        while (GetMenuItemCount(Old) > 0)
            RemoveMenu(Old, 0, MF_BYPOSITION);
        if (FParent)
            FParent->RebuildHandle();
        DestroyMenu(Old);
    } else {
        RebuildHandle();
    }
    Changed();
}

void TMenuItem::Changed()
{
    if (Destroying())
        return;
    if (FParent)
        FParent->RebuildHandle();
    if (TMenu* Menu = GetParentMenu(); Menu && !Menu->Destroying())
        Menu->MenuChanged();
}

void TMenuItem::UpdateItemInfo(MENUITEMINFOW& Info, std::wstring& Text) const
{
    const TMenu* Menu = GetParentMenu();
    Info.cbSize = sizeof Info;
    Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    Info.fType = 0;
    if (IsLine())
        Info.fType |= MFT_SEPARATOR;
    if (Menu && Menu->OwnerDraw())
        Info.fType |= MFT_OWNERDRAW;
    if (FRadioItem)
        Info.fType |= MFT_RADIOCHECK;
    if (Menu && Menu->IsRightToLeft())
        Info.fType |= MFT_RIGHTORDER;
    Info.fState = (FEnabled ? 0 : MFS_DISABLED) | (FChecked ? MFS_CHECKED : 0) | (FDefault ? MFS_DEFAULT : 0);
    Info.wID = FCommand;
    Info.hSubMenu = FHandle;
    Text = FCaption;
    if (FShortCut != scNone)
        Text += L"\t" + ShortCutToText(FShortCut);
    Info.dwTypeData = Text.data();
    Info.cch = static_cast<UINT>(Text.size());
}

void TMenuItem::RebuildHandle()
{
    if (!FHandle || Destroying())
        return;
    // Removing keeps the sub-menus; they belong to the sub-items.
    while (GetMenuItemCount(FHandle) > 0)
        RemoveMenu(FHandle, 0, MF_BYPOSITION);
    UINT Position = 0;
    for (const TMenuItem* Item : FItems) {
        if (!Item->FVisible)
            continue;
        MENUITEMINFOW Info{};
        std::wstring Text;
        Item->UpdateItemInfo(Info, Text);
        if (!InsertMenuItemW(FHandle, Position++, TRUE, &Info))
            throw Exception(L"Cannot insert the menu item " + Item->FCaption);
    }
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FRadioItem && !FChecked)
        SetChecked(true);
    if (OnClick)
        OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& ACanvas, int& Width, int& Height) const
{
    if (IsLine()) {
        Width = 10;
        Height = GetSystemMetrics(SM_CYMENU) / 2;
        return;
    }
    const TCustomImageList* Images = GetImageList();
    const int GlyphWidth = Images ? Images->Width() : 16;
    const int GlyphHeight = Images ? Images->Height() : 16;
    const SIZE Text = ACanvas.TextExtent(StripHotkey(FCaption));
    Width = GlyphWidth + 3 + Text.cx + 8;
    if (FShortCut != scNone)
        Width += 10 + ACanvas.TextExtent(ShortCutToText(FShortCut)).cx;
    Height = std::max<int>(Text.cy + 4, GlyphHeight + 3);
}

void TMenuItem::DrawItem(TCanvas& ACanvas, const RECT& ARect, bool Selected) const
{
    const HDC DC = ACanvas.Handle();
    ACanvas.Brush().SetStyle(bsSolid);
    ACanvas.Brush().SetColor(Selected ? clHighlight : SystemColour(COLOR_MENU));
    ACanvas.FillRect(ARect);
    if (IsLine()) {
        RECT Line{ARect.left, ARect.top + (ARect.bottom - ARect.top) / 2 - 1, ARect.right, ARect.bottom};
        DrawEdge(DC, &Line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TCustomImageList* Images = GetImageList();
    const int GlyphWidth = Images ? Images->Width() : 16;
    const int GlyphHeight = Images ? Images->Height() : 16;
    const RECT Glyph{ARect.left + 1, ARect.top + (ARect.bottom - ARect.top - GlyphHeight) / 2,
                     ARect.left + 1 + GlyphWidth, ARect.top + (ARect.bottom - ARect.top + GlyphHeight) / 2};
    if (Images && FImageIndex >= 0 && FImageIndex < Images->Count()) {
        if (FChecked)
            DrawEdge(DC, const_cast<RECT*>(&Glyph), BDR_SUNKENOUTER, BF_RECT);
        Images->Draw(DC, Glyph.left, Glyph.top, FImageIndex, FEnabled);
    } else if (FChecked) {
        RECT Mark = Glyph;
        DrawFrameControl(DC, &Mark, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    TColor TextColour = Selected ? clHighlightText : SystemColour(COLOR_MENUTEXT);
    if (!FEnabled)
        TextColour = SystemColour(COLOR_GRAYTEXT);
    ACanvas.Font().SetColor(TextColour);
    ACanvas.Font().SetStyle(FDefault ? TFontStyles{fsBold} : TFontStyles{0});
    ACanvas.Brush().SetStyle(bsClear);
    RECT Text{Glyph.right + 3, ARect.top, ARect.right - 1, ARect.bottom};
    ACanvas.DrawText(FCaption, Text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    if (FShortCut != scNone) {
        RECT Keys{Glyph.right + 3, ARect.top, ARect.right - 10, ARect.bottom};
        ACanvas.DrawText(ShortCutToText(FShortCut), Keys, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

void TMenuItem::DoMeasureItem(TCanvas& ACanvas, int& Width, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, ACanvas, Width, Height);
    else
        MeasureItem(ACanvas, Width, Height);
}

void TMenuItem::DoDrawItem(TCanvas& ACanvas, const RECT& ARect, bool Selected)
{
    if (OnDrawItem)
        OnDrawItem(this, ACanvas, ARect, Selected);
    else
        DrawItem(ACanvas, ARect, Selected);
}

// -------------------------------------------------------------------- TMenu

const TClassInfo& TMenu::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TMenu>("TMenu", TComponent::StaticClass())
        .Object("Items", TMenuItem::StaticClass(), &TMenu::Items)
        .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
        .Object("Images", TCustomImageList::StaticClass(), &TMenu::Images,
                [](TMenu& M, TObject* V) { M.SetImages(static_cast<TCustomImageList*>(V)); })
        .Enum("BiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
              &TMenu::BiDiMode, &TMenu::SetBiDiMode)
        .Integer("Handle", [](const TMenu& M) { return reinterpret_cast<intptr_t>(M.Handle()); })
        .Build());
    return Info;
}

TMenu::TMenu(TComponent* AOwner, HMENU Handle) : TComponent(AOwner)
{
    if (!Handle)
        throw Exception(L"Cannot create a menu");
    FItems = new TMenuItem(this);
    FItems->MakeRoot(this, Handle);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

TMenu::~TMenu()
{
    BeginDestroy();
    delete FItems;
}

// Re-inserting the entries takes the menu's settings into every one.
void TMenu::RebuildTree(TMenuItem* Item)
{
    Item->RebuildHandle();
    for (TMenuItem* Child : Item->FItems)
        RebuildTree(Child);
}

void TMenu::SetOwnerDraw(bool Value)
{
    if (Value == FOwnerDraw)
        return;
    FOwnerDraw = Value;
    RebuildTree(FItems);
    MenuChanged();
}

void TMenu::SetImages(TCustomImageList* Value)
{
    if (Value == FImages)
        return;
    LinkImageList(this, FImages, Value);
    MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode Value)
{
    if (Value == FBiDiMode)
        return;
    FBiDiMode = Value;
    RebuildTree(FItems);
    MenuChanged();
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const
{
    if (Kind == TFindItemKind::fkCommand) {
        const auto Found = ItemsByCommand().find(static_cast<UINT>(Value));
        if (Found == ItemsByCommand().end() || Found->second == FItems || Found->second->GetParentMenu() != this)
            return nullptr;
        return Found->second;
    }
    std::vector<TMenuItem*> Pending{FItems};
    while (!Pending.empty()) {
        TMenuItem* Item = Pending.back();
        Pending.pop_back();
        for (int I = 0; I < Item->Count(); ++I) {
            TMenuItem* Child = Item->Items(I);
            const bool Match = Kind == TFindItemKind::fkHandle
                                   ? Child->Handle() && reinterpret_cast<UINT_PTR>(Child->Handle()) == Value
                                   : Child->ShortCut() != scNone && Child->ShortCut() == Value;
            if (Match)
                return Child;
            Pending.push_back(Child);
        }
    }
    return nullptr;
}

bool TMenu::DispatchCommand(UINT Command)
{
    TMenuItem* Item = FindItem(Command, TFindItemKind::fkCommand);
    if (!Item)
        return false;
    Item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU SubMenu)
{
    if (SubMenu == Handle())
        return true;
    TMenuItem* Item = FindItem(reinterpret_cast<UINT_PTR>(SubMenu), TFindItemKind::fkHandle);
    if (!Item)
        return false;
    Item->Click();
    return true;
}

bool TMenu::IsShortCut(TShortCut Key)
{
    TMenuItem* Item = FindItem(Key, TFindItemKind::fkShortCut);
    if (!Item || !Item->Enabled())
        return false;
    Item->Click();
    return true;
}

// ---------------------------------------------------------------- TMainMenu

const TClassInfo& TMainMenu::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TMainMenu", &TMenu::StaticClass(), {});
    return Info;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner, CreateMenu()) {}

void TMainMenu::MenuChanged()
{
    if (!FWindowHandle || !IsWindow(FWindowHandle))
        return;
    DrawMenuBar(FWindowHandle);
    SendMessageW(FWindowHandle, CM_MENUCHANGED, 0, AsLParam(this));
}

// --------------------------------------------------------------- TPopupMenu

namespace {

// The owner of one open popup menu. It has to be a real (hidden) top-level
// window: the platform's menu loop needs one to own the menu, and sends it
// the items' measuring and drawing messages.
class TPopupOwner {
public:
    explicit TPopupOwner(TPopupMenu* Menu)
    {
        static const ATOM Class = [] {
            WNDCLASSEXW Info{};
            Info.cbSize = sizeof Info;
            Info.lpfnWndProc = &WndProc;
            Info.hInstance = GetModuleHandleW(nullptr);
            Info.lpszClassName = L"TPopupList";
            return RegisterClassExW(&Info);
        }();
        FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(Class)), L"",
                                  WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!FHandle)
            throw Exception(L"Cannot create the popup menu window");
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Menu));
    }
    ~TPopupOwner() { DestroyWindow(FHandle); }
    TPopupOwner(const TPopupOwner&) = delete;
    TPopupOwner& operator=(const TPopupOwner&) = delete;
    HWND Handle() const noexcept { return FHandle; }

private:
    static LRESULT CALLBACK WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        const auto* Menu = reinterpret_cast<const TPopupMenu*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
        TMessage Message{Msg, WParam, LParam, 0};
        try {
            if (Menu && HandleMenuDrawMessage(Menu, Message))
                return Message.Result;
        } catch (...) {
            HandleCallbackException(nullptr);
            return 0;
        }
        return DefWindowProcW(Window, Msg, WParam, LParam);
    }

    HWND FHandle;
};

} // namespace

const TClassInfo& TPopupMenu::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TPopupMenu>("TPopupMenu", TMenu::StaticClass())
        .Enum("Alignment", {"paLeft", "paRight", "paCenter"}, &TPopupMenu::Alignment, &TPopupMenu::SetAlignment)
        .Build());
    return Info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner, CreatePopupMenu()) {}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    UINT Flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    const TPopupAlignment Side = IsRightToLeft() && FAlignment == paLeft ? paRight : FAlignment;
    Flags |= Side == paRight ? TPM_RIGHTALIGN : Side == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    if (IsRightToLeft())
        Flags |= TPM_LAYOUTRTL;
    UINT Command = 0;
    {
        const TPopupOwner Owner(this);
        FWindow = Owner.Handle();
        struct TClear {
            HWND& Window;
            ~TClear() { Window = nullptr; }
        } Clear{FWindow};
        // The platform closes a popup only when its owner is in front.
        SetForegroundWindow(Owner.Handle());
        Command = static_cast<UINT>(TrackPopupMenuEx(Handle(), Flags, X, Y, Owner.Handle(), nullptr));
    }
    if (Command)
        DispatchCommand(Command);
}

// ------------------------------------------------------ owner-drawn items

TMenuItem* MenuItemOfDrawMessage(const TMenu* Menu, const TMessage& Message)
{
    if (!Menu)
        return nullptr;
    if (Message.Msg == WM_MEASUREITEM) {
        const auto* Measure = AsPointer<MEASUREITEMSTRUCT>(Message.LParam);
        if (Measure && Measure->CtlType == ODT_MENU)
            return Menu->FindItem(Measure->itemID, TFindItemKind::fkCommand);
    } else if (Message.Msg == WM_DRAWITEM) {
        const auto* Draw = AsPointer<DRAWITEMSTRUCT>(Message.LParam);
        if (Draw && Draw->CtlType == ODT_MENU)
            return Menu->FindItem(Draw->itemID, TFindItemKind::fkCommand);
    }
    return nullptr;
}

namespace {
// A canvas on a DC it does not own, with the menu font chosen.
class TMenuCanvas {
public:
    explicit TMenuCanvas(HDC DC)
    {
        NONCLIENTMETRICSW Metrics{};
        Metrics.cbSize = sizeof Metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0))
            FCanvas.Font().SetLogFont(Metrics.lfMenuFont);
        FCanvas.SetHandle(DC);
    }
    ~TMenuCanvas() { FCanvas.SetHandle(nullptr); }
    TMenuCanvas(const TMenuCanvas&) = delete;
    TMenuCanvas& operator=(const TMenuCanvas&) = delete;
    TCanvas& Canvas() noexcept { return FCanvas; }

private:
    TCanvas FCanvas;
};
} // namespace

bool HandleMenuDrawMessage(const TMenu* Menu, TMessage& Message)
{
    TMenuItem* Item = MenuItemOfDrawMessage(Menu, Message);
    if (!Item)
        return false;
    if (Message.Msg == WM_MEASUREITEM) {
        auto* Measure = AsPointer<MEASUREITEMSTRUCT>(Message.LParam);
        const HDC Screen = GetDC(nullptr);
        struct TRelease {
            HDC DC;
            ~TRelease() { ReleaseDC(nullptr, DC); }
        } Release{Screen};
        TMenuCanvas Canvas(Screen);
        if (Item->Default())
            Canvas.Canvas().Font().SetStyle(fsBold);
        int Width = 0;
        int Height = 0;
        Item->DoMeasureItem(Canvas.Canvas(), Width, Height);
        Measure->itemWidth = static_cast<UINT>(std::max(0, Width));
        Measure->itemHeight = static_cast<UINT>(std::max(0, Height));
    } else {
        const auto* Draw = AsPointer<DRAWITEMSTRUCT>(Message.LParam);
        const int Saved = SaveDC(Draw->hDC);
        {
            TMenuCanvas Canvas(Draw->hDC);
            Item->DoDrawItem(Canvas.Canvas(), Draw->rcItem, (Draw->itemState & ODS_SELECTED) != 0);
        }
        RestoreDC(Draw->hDC, Saved);
    }
    Message.Result = TRUE;
    return true;
}
