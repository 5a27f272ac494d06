#include "ExtCtrls.h"

#include <algorithm>

// ------------------------------------------------------------------ TImage

const TClassInfo& TImage::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TImage>("TImage", TGraphicControl::StaticClass())
        .Object("Picture", TBitmap::StaticClass(), &TImage::Picture)
        .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch)
        .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent)
        .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
        .Bool("Center", &TImage::Center, &TImage::SetCenter)
        .Build());
    return Info;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TBitmap>())
{
    FWidth = 105;
    FHeight = 105;
}

void TImage::LoadFromFile(const std::wstring& FileName)
{
    FPicture->LoadFromFile(FileName);
    PictureChanged();
}

void TImage::PictureChanged()
{
    FShownPicture.reset();
    if (FAutoSize && !FPicture->Empty()) {
        const SIZE Size = NaturalSize();
        SetBounds(Left(), Top(), Size.cx, Size.cy);
    }
    Invalidate();
}

void TImage::ChangeScale(int M, int D)
{
    TGraphicControl::ChangeScale(M, D);
    PictureChanged();
}

void TImage::SetStretch(bool Value)
{
    FStretch = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value)
{
    FTransparent = Value;
    FShownPicture.reset();
    Invalidate();
}

void TImage::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    PictureChanged();
}

void TImage::SetCenter(bool Value)
{
    FCenter = Value;
    Invalidate();
}

SIZE TImage::NaturalSize() const
{
    return {std::max(1, ScaleValue(FPicture->Width(), CurrentPPI(), kDesignPixelsPerInch)),
            std::max(1, ScaleValue(FPicture->Height(), CurrentPPI(), kDesignPixelsPerInch))};
}

const TBitmap& TImage::ShownPicture() const
{
    if (CurrentPPI() == kDesignPixelsPerInch)
        return *FPicture;
    if (!FShownPicture) {
        const SIZE Size = NaturalSize();
        FShownPicture = ResampleBitmap(*FPicture, Size.cx, Size.cy,
                                       FTransparent ? TResampling::Nearest : TResampling::AreaAverage);
    }
    return *FShownPicture;
}

RECT TImage::DestRect() const
{
    if (FStretch)
        return {0, 0, Width(), Height()};
    const SIZE Size = NaturalSize();
    RECT R{0, 0, Size.cx, Size.cy};
    if (FCenter)
        OffsetRect(&R, (Width() - R.right) / 2, (Height() - R.bottom) / 2);
    return R;
}

void TImage::Paint()
{
    if (FPicture->Empty())
        return;
    // Stretched pictures are scaled to the bounds straight from the source.
    const TBitmap& Picture = FStretch ? *FPicture : ShownPicture();
    const RECT Dest = DestRect();
    const RECT Source{0, 0, Picture.Width(), Picture.Height()};
    const HDC Target = Canvas().Handle();
    const HDC From = Picture.Canvas().Handle();
    if (FTransparent) {
        TransparentBlt(Target, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, From, 0, 0,
                       Source.right, Source.bottom, ColorToRGB(Picture.TransparentColor()));
        return;
    }
    Canvas().StretchBlt(Dest, From, Source);
}

// ------------------------------------------------------------ TCustomPanel

const TClassInfo& TCustomPanel::StaticClass()
{
    static const std::vector<std::string> Cuts{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomPanel>("TCustomPanel", TCustomControl::StaticClass())
        .Enum("BevelOuter", Cuts, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Enum("BevelInner", Cuts, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
        .Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
        .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TCustomPanel::Alignment,
              &TCustomPanel::SetAlignment)
        .Bool("ParentBackground", &TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground)
        .Build());
    return Info;
}

const TClassInfo& TPanel::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TPanel", &TCustomPanel::StaticClass(), {});
    return Info;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 185;
    FHeight = 41;
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    FBevelOuter = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    FBevelInner = Value;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value)
{
    FBevelWidth = std::max(Value, 1);
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool Value)
{
    FParentBackground = Value;
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TCustomPanel::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND && FParentBackground && Parent()) {
        RECT Client;
        GetClientRect(HandleIfAllocated(), &Client);
        const gdi::Brush Brush(CreateSolidBrush(ColorToRGB(Parent()->Color())));
        FillRect(reinterpret_cast<HDC>(Message.WParam), &Client, Brush.Get());
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}

namespace {
void DrawBevel(HDC DC, RECT& R, TBevelCut Cut, int Width)
{
    if (Cut == bvNone)
        return;
    for (int I = 0; I < Width; ++I) {
        if (Cut != bvSpace)
            DrawEdge(DC, &R, Cut == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        InflateRect(&R, -1, -1);
    }
}
} // namespace

void TCustomPanel::Paint()
{
    RECT R{0, 0, Width(), Height()};
    DrawBevel(Canvas().Handle(), R, FBevelOuter, FBevelWidth);
    DrawBevel(Canvas().Handle(), R, FBevelInner, FBevelWidth);
    const std::wstring Text = Caption();
    if (Text.empty())
        return;
    UINT Flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    Flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    Canvas().Brush().SetStyle(bsClear);
    Canvas().DrawText(Text, R, Flags);
}

// ------------------------------------------------------------------- TBevel

const TClassInfo& TBevel::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TBevel>("TBevel", TGraphicControl::StaticClass())
        .Enum("Shape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"},
              &TBevel::Shape, &TBevel::SetShape)
        .Enum("Style", {"bsLowered", "bsRaised"}, &TBevel::Style, &TBevel::SetStyle)
        .Build());
    return Info;
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape Value)
{
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint()
{
    RECT R{0, 0, Width(), Height()};
    const UINT Edge = FStyle == bsLowered ? EDGE_SUNKEN : EDGE_RAISED;
    const UINT Thin = FStyle == bsLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
    const HDC DC = Canvas().Handle();
    switch (FShape) {
    case bsBox:
        DrawEdge(DC, &R, Thin, BF_RECT);
        break;
    case bsFrame:
        DrawEdge(DC, &R, FStyle == bsLowered ? EDGE_ETCHED : EDGE_BUMP, BF_RECT);
        break;
    case bsTopLine:
        DrawEdge(DC, &R, Edge, BF_TOP);
        break;
    case bsBottomLine:
        R.top = R.bottom - 2;
        DrawEdge(DC, &R, Edge, BF_TOP);
        break;
    case bsLeftLine:
        DrawEdge(DC, &R, Edge, BF_LEFT);
        break;
    case bsRightLine:
        R.left = R.right - 2;
        DrawEdge(DC, &R, Edge, BF_LEFT);
        break;
    case bsSpacer:
        break;
    }
}

// -------------------------------------------------------- TCustomRadioGroup

const TClassInfo& TCustomRadioGroup::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomRadioGroup>("TCustomRadioGroup", TCustomGroupBox::StaticClass())
        .Integer("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex)
        .Integer("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns)
        .Object("Items", TStrings::StaticClass(),
                [](const TCustomRadioGroup& G) -> TObject* { return &const_cast<TCustomRadioGroup&>(G).FItems; })
        .Build());
    return Info;
}

const TClassInfo& TRadioGroup::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TRadioGroup", &TCustomRadioGroup::StaticClass(), {});
    return Info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner)
{
    FItems.OnChange = TNotifyEvent::Bind<&TCustomRadioGroup::ItemsChanged>(this);
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    FItems.OnChange = TNotifyEvent();
}

TRadioButton* TCustomRadioGroup::Buttons(int Index) const noexcept
{
    return Index >= 0 && Index < static_cast<int>(FButtons.size()) ? FButtons[static_cast<size_t>(Index)] : nullptr;
}

void TCustomRadioGroup::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems.Count())
        Value = -1;
    FItemIndex = Value;
    for (size_t I = 0; I < FButtons.size(); ++I)
        FButtons[I]->SetChecked(static_cast<int>(I) == Value);
}

void TCustomRadioGroup::SetColumns(int Value)
{
    FColumns = std::clamp(Value, 1, 16);
    ArrangeButtons();
}

void TCustomRadioGroup::ItemsChanged(TObject*)
{
    while (static_cast<int>(FButtons.size()) > FItems.Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (static_cast<int>(FButtons.size()) < FItems.Count()) {
        auto* Button = new TRadioButton(this);
        Button->OnClick = TNotifyEvent::Bind<&TCustomRadioGroup::ButtonClick>(this);
        Button->SetParent(this);
        FButtons.push_back(Button);
    }
    for (int I = 0; I < FItems.Count(); ++I)
        FButtons[static_cast<size_t>(I)]->SetCaption(FItems[I]);
    SetItemIndex(FItemIndex);
    ArrangeButtons();
}

void TCustomRadioGroup::ButtonClick(TObject* Sender)
{
    const auto Found = std::find(FButtons.begin(), FButtons.end(), Sender);
    if (Found == FButtons.end())
        return;
    FItemIndex = static_cast<int>(Found - FButtons.begin());
    if (OnClick)
        OnClick(this);
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.empty())
        return;
    const int Rows = (static_cast<int>(FButtons.size()) + FColumns - 1) / FColumns;
    const int Top = std::abs(Font()->Height()) + 4;
    const int ColumnWidth = (Width() - 16) / FColumns;
    const int RowHeight = std::max(1, (Height() - Top - 4) / Rows);
    for (size_t I = 0; I < FButtons.size(); ++I) {
        const int Column = static_cast<int>(I) / Rows;
        const int Row = static_cast<int>(I) % Rows;
        FButtons[I]->SetBounds(8 + Column * ColumnWidth, Top + Row * RowHeight, ColumnWidth, std::min(RowHeight, 20));
    }
}

void TCustomRadioGroup::WndProc(TMessage& Message)
{
    TCustomGroupBox::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        ArrangeButtons();
}
