// The tab control, and the page control with its tab sheets.
#include "ComCtrls.h"

#include "ComCtrlsShared.h"
#include "SysUtils.h"

#include <commctrl.h>

#include <algorithm>

namespace {
const std::vector<std::string> TabPositionNames{"tpTop", "tpBottom", "tpLeft", "tpRight"};
} // namespace

// -------------------------------------------------------- TCustomTabControl

const TClassInfo& TCustomTabControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomTabControl>("TCustomTabControl", TWinControl::StaticClass())
        .Enum("TabPosition", TabPositionNames, &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition)
        .Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine)
        .Enum("Style", {"tsTabs", "tsButtons", "tsFlatButtons"}, &TCustomTabControl::Style, &TCustomTabControl::SetStyle)
        .Object("Images", TCustomImageList::StaticClass(), &TCustomTabControl::Images,
                [](TCustomTabControl& T, TObject* V) { T.SetImages(AsImageList(V)); })
        .Build());
    return Info;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 289;
    FHeight = 193;
    FClickEvents = false;
    SetTabStop(true);
}

void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    SetCreationProperty(FTabPosition, Value);
}

void TCustomTabControl::SetMultiLine(bool Value)
{
    SetCreationProperty(FMultiLine, Value);
}

void TCustomTabControl::SetStyle(TTabStyle Value)
{
    SetCreationProperty(FStyle, Value);
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TCustomTabControl::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Value ? Value->Handle() : nullptr));
}

RECT TCustomTabControl::DisplayRect()
{
    RECT R{0, 0, ClientWidth(), ClientHeight()};
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, AsLParam(&R));
    return R;
}

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = WC_TABCONTROLW;
    Params.Style |= WS_CLIPCHILDREN | TCS_TABS;
    switch (FTabPosition) {
    case tpBottom:
        Params.Style |= TCS_BOTTOM;
        break;
    case tpLeft:
        Params.Style |= TCS_VERTICAL | TCS_MULTILINE;
        break;
    case tpRight:
        Params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
        break;
    default:
        break;
    }
    if (FMultiLine)
        Params.Style |= TCS_MULTILINE;
    if (FStyle == tsButtons)
        Params.Style |= TCS_BUTTONS;
    else if (FStyle == tsFlatButtons)
        Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SetImages(FImages);
    FillTabs();
}

void TCustomTabControl::FillTabs()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SendMessageW(Window, TCM_DELETEALLITEMS, 0, 0);
    int Index = 0;
    for (TTab& Tab : TabList()) {
        TCITEMW Item{};
        Item.mask = TCIF_TEXT | TCIF_IMAGE;
        Item.pszText = Tab.Caption.data();
        Item.iImage = Tab.ImageIndex;
        SendMessageW(Window, TCM_INSERTITEMW, static_cast<WPARAM>(Index++), AsLParam(&Item));
    }
}

int TCustomTabControl::WindowTabIndex() const
{
    const HWND Window = HandleIfAllocated();
    return Window ? static_cast<int>(SendMessageW(Window, TCM_GETCURSEL, 0, 0)) : -1;
}

void TCustomTabControl::SetWindowTabIndex(int Index)
{
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

void TCustomTabControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        if (AsPointer<NMHDR>(Message.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
            TabChanged(WindowTabIndex());
            if (OnChange)
                OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(Message);
}

// -------------------------------------------------------------- TTabControl

const TClassInfo& TTabControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTabControl>("TTabControl", TCustomTabControl::StaticClass())
        .Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
        .Object("Tabs", TStrings::StaticClass(),
                [](const TTabControl& T) -> TObject* { return &const_cast<TTabControl&>(T).FTabs; })
        .Build());
    return Info;
}

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner)
{
    FTabs.OnChange = TNotifyEvent::Bind<&TTabControl::TabsChanged>(this);
}

TTabControl::~TTabControl()
{
    FTabs.OnChange = TNotifyEvent();
}

int TTabControl::TabIndex() const
{
    return HandleAllocated() ? WindowTabIndex() : FTabIndex;
}

void TTabControl::SetTabIndex(int Value)
{
    FTabIndex = Value >= 0 && Value < FTabs.Count() ? Value : -1;
    SetWindowTabIndex(FTabIndex);
}

void TTabControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    SetWindowTabIndex(FTabIndex);
}

void TTabControl::DestroyWnd()
{
    FTabIndex = WindowTabIndex();
    TCustomTabControl::DestroyWnd();
}

std::vector<TCustomTabControl::TTab> TTabControl::TabList() const
{
    std::vector<TTab> Tabs;
    for (const std::wstring& Caption : FTabs.Lines())
        Tabs.push_back({Caption, -1});
    return Tabs;
}

void TTabControl::TabsChanged(TObject*)
{
    const int Index = TabIndex();
    FillTabs();
    SetTabIndex(Index < FTabs.Count() ? Index : FTabs.Count() - 1);
}

void TTabControl::TabChanged(int Index)
{
    FTabIndex = Index;
}

// ---------------------------------------------------------------- TTabSheet

const TClassInfo& TTabSheet::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTabSheet>("TTabSheet", TWinControl::StaticClass())
        // Declared by the base class: TPageControl's own class information
        // names TTabSheet's, and the two must not be made inside each other.
        .Object("PageControl", TCustomTabControl::StaticClass(), &TTabSheet::PageControl,
                [](TTabSheet& S, TObject* V) {
                    if (!V || V->Is<TPageControl>())
                        S.SetPageControl(static_cast<TPageControl*>(V));
                })
        .Integer("PageIndex", &TTabSheet::PageIndex)
        .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
        .Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
        .Bool("ParentBackground", &TTabSheet::ParentBackground, &TTabSheet::SetParentBackground)
        .Build());
    return Info;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    TControl::SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    BeginDestroy();
    SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (Value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = Value;
    if (Destroying())
        return;
    SetParent(Value);
    if (Value)
        Value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto& Pages = FPageControl->FPages;
    return static_cast<int>(std::find(Pages.begin(), Pages.end(), this) - Pages.begin());
}

void TTabSheet::SetTabVisible(bool Value)
{
    FTabVisible = Value;
    if (FPageControl)
        FPageControl->PagesChanged();
}

void TTabSheet::SetImageIndex(int Value)
{
    FImageIndex = Value;
    if (FPageControl)
        FPageControl->PagesChanged();
}

void TTabSheet::SetParentBackground(bool Value)
{
    FParentBackground = Value;
    Invalidate();
}

void TTabSheet::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::WndProc(TMessage& Message)
{
    TWinControl::WndProc(Message);
    if (Message.Msg == WM_SETTEXT && FPageControl)
        FPageControl->PagesChanged();
}

// ------------------------------------------------------------- TPageControl

const TClassInfo& TPageControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TPageControl>("TPageControl", TCustomTabControl::StaticClass())
        .Object("ActivePage", TTabSheet::StaticClass(), &TPageControl::ActivePage,
                [](TPageControl& P, TObject* V) { P.SetActivePage(static_cast<TTabSheet*>(V)); })
        .Integer("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
        .Integer("PageCount", &TPageControl::PageCount)
        .Build());
    return Info;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

// The sheets are freed with the other children after this object is gone;
// they must not call back into it then.
TPageControl::~TPageControl()
{
    for (TTabSheet* Page : FPages)
        Page->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    PagesChanged();
    if (!FActivePage)
        SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    std::erase(FPages, Page);
    if (FActivePage == Page) {
        FActivePage = nullptr;
        const std::vector<TTabSheet*> Tabs = VisibleTabs();
        if (!Tabs.empty() && !Destroying())
            SetActivePage(Tabs.front());
    }
    PagesChanged();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const
{
    std::vector<TTabSheet*> Tabs;
    for (TTabSheet* Page : FPages)
        if (Page->FTabVisible)
            Tabs.push_back(Page);
    return Tabs;
}

std::vector<TCustomTabControl::TTab> TPageControl::TabList() const
{
    std::vector<TTab> Tabs;
    for (const TTabSheet* Page : VisibleTabs())
        Tabs.push_back({Page->Caption(), Page->FImageIndex});
    return Tabs;
}

void TPageControl::PagesChanged()
{
    if (Destroying())
        return;
    FillTabs();
    SetActivePage(FActivePage);
}

int TPageControl::ActivePageIndex() const noexcept
{
    const auto Found = std::find(FPages.begin(), FPages.end(), FActivePage);
    return Found == FPages.end() ? -1 : static_cast<int>(Found - FPages.begin());
}

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<size_t>(Value)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Value)
{
    if (Value && Value->FPageControl != this)
        Value = nullptr;
    FActivePage = Value;
    for (TTabSheet* Page : FPages)
        if (Page != Value)
            Page->SetVisible(false);
    const std::vector<TTabSheet*> Tabs = VisibleTabs();
    const auto Tab = std::find(Tabs.begin(), Tabs.end(), Value);
    SetWindowTabIndex(Tab == Tabs.end() ? -1 : static_cast<int>(Tab - Tabs.begin()));
    if (Value) {
        PlaceSheets();
        Value->SetVisible(true);
        Value->BringToFront();
    }
}

void TPageControl::TabChanged(int Index)
{
    const std::vector<TTabSheet*> Tabs = VisibleTabs();
    if (Index >= 0 && Index < static_cast<int>(Tabs.size()))
        SetActivePage(Tabs[static_cast<size_t>(Index)]);
}

void TPageControl::PlaceSheets()
{
    if (!HandleAllocated())
        return;
    const RECT Display = DisplayRect();
    for (TTabSheet* Page : FPages)
        Page->SetBoundsRect(Display);
}

void TPageControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    SetActivePage(FActivePage);
}

void TPageControl::WndProc(TMessage& Message)
{
    TCustomTabControl::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        PlaceSheets();
}
