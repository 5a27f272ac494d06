#include "ComCtrls.h"

#include "ComCtrlsShared.h"
#include "SysUtils.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>

// ------------------------------------------------------------ TProgressBar

const TClassInfo& TProgressBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TProgressBar>("TProgressBar", TWinControl::StaticClass())
        .Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin)
        .Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax)
        .Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
        .Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep)
        .Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
        .Enum("Orientation", {"pbHorizontal", "pbVertical"}, &TProgressBar::Orientation,
              &TProgressBar::SetOrientation)
        .Build());
    return Info;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 17;
    FClickEvents = false;
}

void TProgressBar::SetRange(int AMin, int AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (const HWND Window = HandleIfAllocated()) {
        SendMessageW(Window, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
        SendMessageW(Window, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
    }
}

void TProgressBar::SetPosition(int Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetSmooth(bool Value)
{
    SetCreationProperty(FSmooth, Value);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value)
{
    SetCreationProperty(FOrientation, Value);
}

void TProgressBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = PROGRESS_CLASSW;
    if (FSmooth)
        Params.Style |= PBS_SMOOTH;
    if (FOrientation == pbVertical)
        Params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SetRange(FMin, FMax);
}

// -------------------------------------------------------- TCustomStatusBar

const TClassInfo& TCustomStatusBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomStatusBar>("TCustomStatusBar", TWinControl::StaticClass())
        .Bool("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel)
        .WideText("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)
        .Bool("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip)
        .Build());
    return Info;
}

const TClassInfo& TStatusBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TStatusBar", &TCustomStatusBar::StaticClass(), {});
    return Info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 19;
    FClickEvents = false;
    SetAlign(alBottom);
}

void TCustomStatusBar::SetPanels(std::vector<TStatusPanel> Value)
{
    FPanels = std::move(Value);
    UpdatePanels();
}

void TCustomStatusBar::ChangeScale(int M, int D)
{
    TWinControl::ChangeScale(M, D);
    for (TStatusPanel& Panel : FPanels)
        Panel.Width = ScaleValue(Panel.Width, M, D);
    UpdatePanels();
}

void TCustomStatusBar::SetPanelText(int Index, const std::wstring& Text)
{
    if (Index < 0 || Index >= static_cast<int>(FPanels.size()))
        throw EListError(L"Status bar panel index out of bounds (" + std::to_wstring(Index) + L")");
    FPanels[static_cast<size_t>(Index)].Text = Text;
    UpdatePanels();
}

void TCustomStatusBar::SetSimplePanel(bool Value)
{
    FSimplePanel = Value;
    UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::wstring& Value)
{
    FSimpleText = Value;
    UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool Value)
{
    SetCreationProperty(FSizeGrip, Value);
}

void TCustomStatusBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = STATUSCLASSNAMEW;
    // The framework lays the bar out; the control must not move itself.
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (FSizeGrip)
        Params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdatePanels();
}

void TCustomStatusBar::UpdatePanels()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SendMessageW(Window, SB_SIMPLE, FSimplePanel || FPanels.empty(), 0);
    if (FSimplePanel || FPanels.empty()) {
        SendMessageW(Window, SB_SETTEXTW, SB_SIMPLEID, AsLParam(FSimpleText.c_str()));
        return;
    }
    std::vector<int> Edges;
    int Right = 0;
    for (const TStatusPanel& Panel : FPanels)
        Edges.push_back(Right += Panel.Width);
    Edges.back() = -1;
    SendMessageW(Window, SB_SETPARTS, Edges.size(), AsLParam(Edges.data()));
    for (size_t I = 0; I < FPanels.size(); ++I)
        SendMessageW(Window, SB_SETTEXTW, I, AsLParam(FPanels[I].Text.c_str()));
}

// ---------------------------------------------------------- TCustomRichEdit

namespace {
// The rich edit library stays loaded for the life of the process: windows
// of its class may exist until the very end.
void LoadRichEdit()
{
    static const HMODULE Library = LoadLibraryW(L"riched20.dll");
    if (!Library)
        throw Exception(L"Cannot load the rich edit control (riched20.dll)");
}
} // namespace

const TClassInfo& TCustomRichEdit::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomRichEdit>("TCustomRichEdit", TCustomMemo::StaticClass())
        .Bool("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText)
        .Build());
    return Info;
}

const TClassInfo& TRichEdit::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TRichEdit", &TCustomRichEdit::StaticClass(), {});
    return Info;
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {}

void TCustomRichEdit::SetPlainText(bool Value)
{
    FPlainText = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, EM_SETTEXTMODE, Value ? TM_PLAINTEXT : TM_RICHTEXT, 0);
}

void TCustomRichEdit::CreateParams(TCreateParams& Params)
{
    LoadRichEdit();
    TCustomMemo::CreateParams(Params);
    Params.BaseClass = RICHEDIT_CLASSW;
}

void TCustomRichEdit::CreateWnd()
{
    TCustomMemo::CreateWnd();
    // A rich edit reports changes only when asked to.
    SendMessageW(HandleIfAllocated(), EM_SETEVENTMASK, 0, ENM_CHANGE);
    if (FPlainText)
        SendMessageW(HandleIfAllocated(), EM_SETTEXTMODE, TM_PLAINTEXT, 0);
}

// ----------------------------------------------------------- THeaderControl

const TClassInfo& THeaderControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<THeaderControl>("THeaderControl", TWinControl::StaticClass())
        .Enum("Style", {"hsButtons", "hsFlat"}, &THeaderControl::Style, &THeaderControl::SetStyle)
        .Object("Images", TCustomImageList::StaticClass(), &THeaderControl::Images,
                [](THeaderControl& H, TObject* V) { H.SetImages(AsImageList(V)); })
        .Integer("SectionCount", [](const THeaderControl& H) { return static_cast<int>(H.Sections().size()); })
        .Build());
    return Info;
}

THeaderControl::THeaderControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 200;
    FHeight = 17;
    FClickEvents = false;
    SetAlign(alTop);
}

void THeaderControl::SetSections(std::vector<THeaderSection> Value)
{
    FSections = std::move(Value);
    FillSections();
}

void THeaderControl::SetStyle(THeaderStyle Value)
{
    SetCreationProperty(FStyle, Value);
}

void THeaderControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void THeaderControl::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Value ? Value->Handle() : nullptr));
}

int THeaderControl::SectionWidth(int Index) const
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return FSections.at(static_cast<size_t>(Index)).Width;
    HDITEMW Item{};
    Item.mask = HDI_WIDTH;
    SendMessageW(Window, HDM_GETITEMW, static_cast<WPARAM>(Index), AsLParam(&Item));
    return Item.cxy;
}

void THeaderControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = WC_HEADERW;
    Params.Style |= HDS_HORZ | HDS_FULLDRAG | (FStyle == hsButtons ? HDS_BUTTONS : 0);
}

void THeaderControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SetImages(FImages);
    FillSections();
}

void THeaderControl::DestroyWnd()
{
    for (size_t I = 0; I < FSections.size(); ++I)
        FSections[I].Width = SectionWidth(static_cast<int>(I));
    TWinControl::DestroyWnd();
}

void THeaderControl::FillSections()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    while (SendMessageW(Window, HDM_GETITEMCOUNT, 0, 0) > 0)
        SendMessageW(Window, HDM_DELETEITEM, 0, 0);
    int Index = 0;
    for (THeaderSection& Section : FSections) {
        HDITEMW Item{};
        Item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (Section.ImageIndex >= 0 ? HDI_IMAGE : 0);
        Item.pszText = Section.Text.data();
        Item.cxy = Section.Width;
        Item.iImage = Section.ImageIndex;
        Item.fmt = HDF_STRING | (Section.ImageIndex >= 0 ? HDF_IMAGE : 0) |
                   (Section.Alignment == taRightJustify ? HDF_RIGHT : Section.Alignment == taCenter ? HDF_CENTER : HDF_LEFT);
        SendMessageW(Window, HDM_INSERTITEMW, static_cast<WPARAM>(Index++), AsLParam(&Item));
    }
}

void THeaderControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        const auto* Notify = AsPointer<NMHEADERW>(Message.LParam);
        if (Notify->hdr.code == static_cast<UINT>(HDN_ITEMCLICKW) && OnSectionClick)
            OnSectionClick(this, Notify->iItem);
        return;
    }
    TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------- TTrackBar

const TClassInfo& TTrackBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTrackBar>("TTrackBar", TWinControl::StaticClass())
        .Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin)
        .Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax)
        .Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
        .Enum("Orientation", {"trHorizontal", "trVertical"}, &TTrackBar::Orientation, &TTrackBar::SetOrientation)
        .Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
        .Enum("TickStyle", {"tsNone", "tsAuto", "tsManual"}, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle)
        .Enum("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"}, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks)
        .Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize)
        .Field("Transparent", &TTrackBar::Transparent)
        .Build());
    return Info;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 45;
    FClickEvents = false;
    SetTabStop(true);
}

void TTrackBar::SetRange(int AMin, int AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    if (const HWND Window = HandleIfAllocated()) {
        SendMessageW(Window, TBM_SETRANGEMIN, FALSE, FMin);
        SendMessageW(Window, TBM_SETRANGEMAX, TRUE, FMax);
    }
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int Value)
{
    Value = std::clamp(Value, FMin, FMax);
    const bool Moved = Value != FPosition;
    FPosition = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TBM_SETPOS, TRUE, FPosition);
    if (Moved && OnChange)
        OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    if (Value == FOrientation)
        return;
    SetBounds(Left(), Top(), Height(), Width());
    SetCreationProperty(FOrientation, Value);
}

void TTrackBar::SetFrequency(int Value)
{
    FFrequency = std::max(1, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
}

void TTrackBar::SetTickStyle(TTickStyle Value)
{
    SetCreationProperty(FTickStyle, Value);
}

void TTrackBar::SetTickMarks(TTickMark Value)
{
    SetCreationProperty(FTickMarks, Value);
}

void TTrackBar::SetPageSize(int Value)
{
    FPageSize = std::max(1, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TBM_SETPAGESIZE, 0, FPageSize);
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = TRACKBAR_CLASSW;
    Params.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
    if (FTickStyle == tsNone)
        Params.Style |= TBS_NOTICKS;
    else if (FTickStyle == tsAuto)
        Params.Style |= TBS_AUTOTICKS;
    if (FTickMarks == tmBoth)
        Params.Style |= TBS_BOTH;
    else if (FTickMarks == tmTopLeft)
        Params.Style |= TBS_TOP;
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND Window = HandleIfAllocated();
    SendMessageW(Window, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(Window, TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageW(Window, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageW(Window, TBM_SETPAGESIZE, 0, FPageSize);
    SendMessageW(Window, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        SetPosition(static_cast<int>(SendMessageW(HandleIfAllocated(), TBM_GETPOS, 0, 0)));
        return;
    }
    TWinControl::WndProc(Message);
}

// ------------------------------------------------------------ TCustomUpDown

const TClassInfo& TCustomUpDown::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomUpDown>("TCustomUpDown", TWinControl::StaticClass())
        .Object("Associate", TWinControl::StaticClass(), &TCustomUpDown::Associate,
                [](TCustomUpDown& U, TObject* V) { U.SetAssociate(static_cast<TWinControl*>(V)); })
        .Integer("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin)
        .Integer("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax)
        .Integer("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition)
        .Integer("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement)
        .Enum("Orientation", {"udHorizontal", "udVertical"}, &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation)
        .Enum("AlignButton", {"udLeft", "udRight"}, &TCustomUpDown::AlignButton, &TCustomUpDown::SetAlignButton)
        .Bool("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap)
        .Bool("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys)
        .Bool("Thousands", &TCustomUpDown::Thousands, &TCustomUpDown::SetThousands)
        .Build());
    return Info;
}

const TClassInfo& TUpDown::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TUpDown", &TCustomUpDown::StaticClass(), {});
    return Info;
}

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 17;
    FHeight = 25;
    FClickEvents = false;
}

TWinControl* TCustomUpDown::Associate() const noexcept
{
    return FAssociate;
}

void TCustomUpDown::SetAssociate(TWinControl* Value)
{
    if (Value == this)
        return;
    // An associate freed first tells the up-down, whoever owns it.
    if (FAssociate)
        FAssociate->RemoveFreeNotification(this);
    FAssociate = Value;
    if (FAssociate)
        FAssociate->FreeNotification(this);
    RecreateWnd();
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FAssociate)
        FAssociate = nullptr;
}

void TCustomUpDown::SetMin(int Value)
{
    FMin = Value;
    UpdateRange();
}

void TCustomUpDown::SetMax(int Value)
{
    FMax = Value;
    UpdateRange();
}

void TCustomUpDown::UpdateRange()
{
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SetPosition(FPosition);
}

int TCustomUpDown::Position() const
{
    if (const HWND Window = HandleIfAllocated())
        return static_cast<int>(SendMessageW(Window, UDM_GETPOS32, 0, 0));
    return FPosition;
}

void TCustomUpDown::SetPosition(int Value)
{
    FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, UDM_SETPOS32, 0, FPosition);
}

void TCustomUpDown::SetIncrement(int Value)
{
    FIncrement = Value;
    if (const HWND Window = HandleIfAllocated()) {
        UDACCEL Accel{0, static_cast<UINT>(std::abs(FIncrement))};
        SendMessageW(Window, UDM_SETACCEL, 1, AsLParam(&Accel));
    }
}

void TCustomUpDown::SetOrientation(TUDOrientation Value)
{
    if (Value == FOrientation)
        return;
    SetBounds(Left(), Top(), Height(), Width());
    SetCreationProperty(FOrientation, Value);
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value)
{
    SetCreationProperty(FAlignButton, Value);
}

void TCustomUpDown::SetWrap(bool Value)
{
    SetCreationProperty(FWrap, Value);
}

void TCustomUpDown::SetArrowKeys(bool Value)
{
    SetCreationProperty(FArrowKeys, Value);
}

void TCustomUpDown::SetThousands(bool Value)
{
    SetCreationProperty(FThousands, Value);
}

void TCustomUpDown::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = UPDOWN_CLASSW;
    if (FOrientation == udHorizontal)
        Params.Style |= UDS_HORZ;
    if (FAssociate)
        Params.Style |= UDS_SETBUDDYINT | (FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT);
    if (FWrap)
        Params.Style |= UDS_WRAP;
    if (FArrowKeys)
        Params.Style |= UDS_ARROWKEYS;
    if (!FThousands)
        Params.Style |= UDS_NOTHOUSANDS;
}

void TCustomUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND Window = HandleIfAllocated();
    // The buddy first: setting the position then writes it into the buddy.
    if (FAssociate)
        SendMessageW(Window, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
    SendMessageW(Window, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(Window, UDM_SETPOS32, 0, FPosition);
    SetIncrement(FIncrement);
}

void TCustomUpDown::DestroyWnd()
{
    FPosition = Position();
    TWinControl::DestroyWnd();
}

void TCustomUpDown::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        const int Now = Position();
        const bool Moved = Now != FPosition;
        FPosition = Now;
        if (Moved && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(Message);
}

// ---------------------------------------------------------- TDateTimePicker

const TClassInfo& TDateTimePicker::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TDateTimePicker>("TDateTimePicker", TWinControl::StaticClass())
        .Enum("Kind", {"dtkDate", "dtkTime"}, &TDateTimePicker::Kind, &TDateTimePicker::SetKind)
        .Enum("DateFormat", {"dfShort", "dfLong"}, &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat)
        .Bool("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox)
        .WideText("DateTime", &TDateTimePicker::DateTimeText, &TDateTimePicker::SetDateTimeText)
        .Build());
    return Info;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 186;
    FHeight = 21;
    FClickEvents = false;
    SetTabStop(true);
    SetColor(clWindow);
    GetLocalTime(&FDateTime);
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    SetCreationProperty(FKind, Value);
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value)
{
    SetCreationProperty(FDateFormat, Value);
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
    SetCreationProperty(FShowCheckbox, Value);
}

SYSTEMTIME TDateTimePicker::DateTime() const
{
    SYSTEMTIME Value = FDateTime;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, DTM_GETSYSTEMTIME, 0, AsLParam(&Value));
    return Value;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& Value)
{
    FILETIME Check;
    if (!SystemTimeToFileTime(&Value, &Check))
        throw Exception(L"Not a valid date and time");
    FDateTime = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, DTM_SETSYSTEMTIME, GDT_VALID, AsLParam(&FDateTime));
}

std::wstring TDateTimePicker::DateTimeText() const
{
    const SYSTEMTIME T = DateTime();
    wchar_t Text[32];
    swprintf(Text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", T.wYear, T.wMonth, T.wDay, T.wHour, T.wMinute, T.wSecond);
    return Text;
}

void TDateTimePicker::SetDateTimeText(const std::wstring& Value)
{
    unsigned Y = 0, Mo = 0, D = 0, H = 0, Mi = 0, S = 0;
    const int Read = swscanf(Value.c_str(), L"%u-%u-%u %u:%u:%u", &Y, &Mo, &D, &H, &Mi, &S);
    if (Read != 3 && Read != 6)
        throw Exception(L"Not a date and time: " + Value);
    SYSTEMTIME T{};
    T.wYear = static_cast<WORD>(Y);
    T.wMonth = static_cast<WORD>(Mo);
    T.wDay = static_cast<WORD>(D);
    T.wHour = static_cast<WORD>(H);
    T.wMinute = static_cast<WORD>(Mi);
    T.wSecond = static_cast<WORD>(S);
    if (Mo < 1 || Mo > 12 || D < 1 || D > 31 || H > 23 || Mi > 59 || S > 59)
        throw Exception(L"Not a date and time: " + Value);
    SetDateTime(T);
}

void TDateTimePicker::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = DATETIMEPICK_CLASSW;
    Params.Style |= FKind == dtkTime ? DTS_TIMEFORMAT : FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
    if (FShowCheckbox)
        Params.Style |= DTS_SHOWNONE;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(HandleIfAllocated(), DTM_SETSYSTEMTIME, GDT_VALID, AsLParam(&FDateTime));
}

void TDateTimePicker::DestroyWnd()
{
    FDateTime = DateTime();
    TWinControl::DestroyWnd();
}

void TDateTimePicker::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        if (AsPointer<NMHDR>(Message.LParam)->code == static_cast<UINT>(DTN_DATETIMECHANGE) && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(Message);
}
