#include "Buttons.h"

#include "Forms.h"
#include "SysUtils.h"

#include "base/GlyphLayout.h"

#include <algorithm>

namespace {

const std::vector<std::string> LayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

} // namespace

TButtonLayoutResult LayoutGlyphAndCaption(const RECT& Client, SIZE Glyph, SIZE Text, TButtonLayout Layout,
                                          int Margin, int Spacing)
{
    using namespace glyphlayout;
    static constexpr TSide Sides[] = {TSide::Left, TSide::Right, TSide::Top, TSide::Bottom};
    const TPlaces Places = PlaceGlyphAndText({Client.right - Client.left, Client.bottom - Client.top},
                                             {Glyph.cx, Glyph.cy}, {Text.cx, Text.cy}, Sides[Layout], Margin, Spacing);
    const auto InClient = [&Client](const TBox& Box) {
        return RECT{Client.left + Box.Left, Client.top + Box.Top, Client.left + Box.Right, Client.top + Box.Bottom};
    };
    return {InClient(Places.Glyph), InClient(Places.Text)};
}

// ------------------------------------------------------------- TButtonGlyph

void TButtonGlyph::SetGlyph(const TBitmap* Value)
{
    FGlyph = Value && !Value->Empty() ? Value->Clone() : nullptr;
}

SIZE TButtonGlyph::PictureSize() const
{
    if (FGlyph)
        return {FGlyph->Width() / std::max(1, NumGlyphs), FGlyph->Height()};
    if (Images && ImageIndex >= 0)
        return {Images->Width(), Images->Height()};
    return {0, 0};
}

void TButtonGlyph::Draw(HDC DC, const RECT& Client, const std::wstring& Caption, TButtonState State,
                        UINT TextFlags) const
{
    const SIZE Picture = PictureSize();
    RECT Measure{0, 0, Client.right - Client.left, Client.bottom - Client.top};
    if (!Caption.empty())
        DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &Measure, DT_CALCRECT | TextFlags);
    else
        Measure = {0, 0, 0, 0};
    const TButtonLayoutResult Where = LayoutGlyphAndCaption(Client, Picture, {Measure.right, Measure.bottom},
                                                            Layout, Margin, Spacing);
    if (FGlyph) {
        // Frames: up, disabled, down, exclusively down; a missing one is up.
        int Frame = static_cast<int>(State);
        if (Frame >= NumGlyphs)
            Frame = 0;
        const HDC Source = FGlyph->Canvas().Handle();
        TransparentBlt(DC, Where.Glyph.left, Where.Glyph.top, Picture.cx, Picture.cy, Source, Frame * Picture.cx, 0,
                       Picture.cx, Picture.cy, ColorToRGB(FGlyph->TransparentColor()));
    } else if (Images && ImageIndex >= 0) {
        const bool Disabled = State == bsDisabled;
        const int Index = Disabled && DisabledIndex >= 0 ? DisabledIndex : ImageIndex;
        Images->Draw(DC, Where.Glyph.left, Where.Glyph.top, Index, !Disabled || DisabledIndex >= 0);
    }
    if (Caption.empty())
        return;
    RECT Text = Where.Text;
    SetBkMode(DC, TRANSPARENT);
    if (State == bsDisabled) {
        OffsetRect(&Text, 1, 1);
        SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &Text, TextFlags);
        OffsetRect(&Text, -1, -1);
        SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    }
    DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &Text, TextFlags);
}

// ------------------------------------------------------------------ TBitBtn

const TClassInfo& TBitBtn::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TBitBtn>("TBitBtn", TButton::StaticClass())
        .Object("Glyph", TBitmap::StaticClass(), &TBitBtn::Glyph,
                [](TBitBtn& B, TObject* V) { B.SetGlyph(static_cast<TBitmap*>(V)); })
        .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
        .Object("Images", TCustomImageList::StaticClass(), &TBitBtn::Images,
                [](TBitBtn& B, TObject* V) { B.SetImages(static_cast<TCustomImageList*>(V)); })
        .Integer("ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex)
        .Integer("DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex)
        .Enum("Layout", LayoutNames, &TBitBtn::Layout, &TBitBtn::SetLayout)
        .Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
        .Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
        .Enum("Kind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry",
                       "bkIgnore", "bkAll"},
              &TBitBtn::Kind, &TBitBtn::SetKind)
        .Build());
    return Info;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetGlyph(const TBitmap* Value)
{
    FButtonGlyph.SetGlyph(Value);
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int Value)
{
    FButtonGlyph.NumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TBitBtn::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FButtonGlyph.Images, Value);
    Invalidate();
}

void TBitBtn::Notification(TComponent* AComponent, TOperation Operation)
{
    TButton::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FButtonGlyph.Images)
        SetImages(nullptr);
}

void TBitBtn::SetImageIndex(int Value)
{
    FButtonGlyph.ImageIndex = Value;
    Invalidate();
}

void TBitBtn::SetDisabledIndex(int Value)
{
    FButtonGlyph.DisabledIndex = Value;
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value)
{
    FButtonGlyph.Layout = Value;
    Invalidate();
}

void TBitBtn::SetMargin(int Value)
{
    FButtonGlyph.Margin = std::max(-1, Value);
    Invalidate();
}

void TBitBtn::SetSpacing(int Value)
{
    FButtonGlyph.Spacing = std::max(-1, Value);
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind Value)
{
    struct TKindInfo {
        const wchar_t* Caption;
        TModalResult Result;
    };
    static const TKindInfo Kinds[] = {
        {L"", mrNone},         {L"OK", mrOk},       {L"Cancel", mrCancel}, {L"&Help", mrNone},
        {L"&Yes", mrYes},      {L"&No", mrNo},      {L"&Close", mrNone},   {L"Abort", mrAbort},
        {L"&Retry", mrRetry},  {L"&Ignore", mrIgnore}, {L"&All", mrYes}};
    FKind = Value;
    if (Value == bkCustom)
        return;
    SetCaption(Kinds[Value].Caption);
    ModalResult = Kinds[Value].Result;
    if (Value == bkOK || Value == bkYes)
        SetDefault(true);
    if (Value == bkCancel || Value == bkNo)
        SetCancel(true);
}

void TBitBtn::CreateParams(TCreateParams& Params)
{
    TButton::CreateParams(Params);
    Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_DRAWITEM:
        DrawItem(*AsPointer<DRAWITEMSTRUCT>(Message.LParam));
        Message.Result = TRUE;
        return;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports a quick second click as a double
        // click; for a push button it is another click.
        Message.Msg = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    TButton::WndProc(Message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Draw)
{
    const HDC DC = Draw.hDC;
    RECT Face = Draw.rcItem;
    const bool Pressed = (Draw.itemState & ODS_SELECTED) != 0;
    const bool Disabled = (Draw.itemState & ODS_DISABLED) != 0;
    if (Default() || (Draw.itemState & ODS_FOCUS)) {
        FrameRect(DC, &Face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&Face, -1, -1);
    }
    DrawFrameControl(DC, &Face, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed ? DFCS_PUSHED : 0));
    RECT Content = Face;
    InflateRect(&Content, -2, -2);
    if (Pressed)
        OffsetRect(&Content, 1, 1);
    const int Saved = SaveDC(DC);
    SelectObject(DC, Font()->Handle());
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    FButtonGlyph.Draw(DC, Content, Caption(), Disabled ? bsDisabled : Pressed ? bsDown : bsUp,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(DC, Saved);
    if (Draw.itemState & ODS_FOCUS) {
        RECT Focus = Face;
        InflateRect(&Focus, -3, -3);
        DrawFocusRect(DC, &Focus);
    }
}

// ------------------------------------------------------------- TSpeedButton

const TClassInfo& TSpeedButton::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TSpeedButton>("TSpeedButton", TGraphicControl::StaticClass())
        .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
        .Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
        .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
        .Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent)
        .Object("Glyph", TBitmap::StaticClass(), &TSpeedButton::Glyph,
                [](TSpeedButton& B, TObject* V) { B.SetGlyph(static_cast<TBitmap*>(V)); })
        .Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
        .Enum("Layout", LayoutNames, &TSpeedButton::Layout, &TSpeedButton::SetLayout)
        .Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
        .Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
        .Build());
    return Info;
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 23;
    FHeight = 22;
}

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    // The down button of a group comes up only through another one, unless
    // the group may be all up.
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    if (Value && Parent())
        for (int I = 0; I < Parent()->ControlCount(); ++I) {
            TControl* Sibling = Parent()->Controls(I);
            if (Sibling == this || !Sibling->Is<TSpeedButton>())
                continue;
            auto* Other = static_cast<TSpeedButton*>(Sibling);
            if (Other->FGroupIndex == FGroupIndex && Other->FDown) {
                Other->FDown = false;
                Other->Invalidate();
            }
        }
    Invalidate();
}

void TSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* Value)
{
    FButtonGlyph.SetGlyph(Value);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value)
{
    FButtonGlyph.NumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    FButtonGlyph.Layout = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value)
{
    FButtonGlyph.Margin = std::max(-1, Value);
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
    FButtonGlyph.Spacing = std::max(-1, Value);
    Invalidate();
}

void TSpeedButton::Click()
{
    if (FGroupIndex != 0)
        SetDown(!(FDown && FAllowAllUp));
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (AsPointer<TControl>(Message.LParam) == this || Message.LParam == 0) {
            FMouseInControl = Message.Msg == CM_MOUSEENTER;
            if (FFlat)
                Invalidate();
        }
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(Message);
}

void TSpeedButton::Paint()
{
    const HDC DC = Canvas().Handle();
    RECT Face{0, 0, Width(), Height()};
    const bool Sunken = FPressed || FDown;
    if (!FTransparent || FDown) {
        const gdi::Brush Brush(CreateSolidBrush(ColorToRGB(FDown && !FPressed ? SystemColour(COLOR_3DLIGHT) : Color())));
        FillRect(DC, &Face, Brush.Get());
    }
    if (!FFlat)
        DrawEdge(DC, &Face, Sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    else if (Sunken || (FMouseInControl && Enabled()))
        DrawEdge(DC, &Face, Sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    if (Sunken)
        OffsetRect(&Face, 1, 1);
    // The parent's paint DC: leave it as it was found.
    const int Saved = SaveDC(DC);
    SelectObject(DC, Font()->Handle());
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    const TButtonState State = !Enabled() ? bsDisabled : FDown && !FPressed ? bsExclusive : FPressed ? bsDown : bsUp;
    FButtonGlyph.Draw(DC, Face, Caption(), State, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(DC, Saved);
}
