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
    if (FAutoSize && !FPicture->Empty())
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    Invalidate();
}

void TImage::SetStretch(bool Value)
{
    FStretch = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value)
{
    FTransparent = Value;
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

RECT TImage::DestRect() const
{
    if (FStretch)
        return {0, 0, Width(), Height()};
    RECT R{0, 0, FPicture->Width(), FPicture->Height()};
    if (FCenter)
        OffsetRect(&R, (Width() - R.right) / 2, (Height() - R.bottom) / 2);
    return R;
}

void TImage::Paint()
{
    if (FPicture->Empty())
        return;
    const RECT Dest = DestRect();
    const RECT Source{0, 0, FPicture->Width(), FPicture->Height()};
    const HDC Target = Canvas().Handle();
    const HDC From = FPicture->Canvas().Handle();
    if (FTransparent) {
        TransparentBlt(Target, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, From, 0, 0,
                       Source.right, Source.bottom, ColorToRGB(FPicture->TransparentColor()));
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
