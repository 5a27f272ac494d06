#include "ImgList.h"

#include "SysUtils.h"

#include <algorithm>

const TClassInfo& TCustomImageList::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomImageList>("TCustomImageList", TComponent::StaticClass())
        .Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
        .Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
        .Integer("Count", &TCustomImageList::Count)
        .Field("BkColor", &TCustomImageList::BkColor)
        .Build());
    return Info;
}

const TClassInfo& TImageList::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TImageList", &TCustomImageList::StaticClass(), {});
    return Info;
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner)
{
    CreateList();
}

TCustomImageList::~TCustomImageList()
{
    ImageList_Destroy(FHandle);
}

void LinkImageList(TComponent* User, TCustomImageList*& Field, TCustomImageList* List)
{
    if (List == Field)
        return;
    if (Field)
        Field->RemoveFreeNotification(User);
    Field = List;
    if (Field)
        Field->FreeNotification(User);
}

void TCustomImageList::CreateList()
{
    InitCommonControls();
    HIMAGELIST List = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4);
    if (!List)
        throw Exception(L"Cannot create an image list");
    if (FHandle)
        ImageList_Destroy(FHandle);
    FHandle = List;
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(1, AWidth);
    AHeight = std::max(1, AHeight);
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateList();
    FSources.clear();
}

int TCustomImageList::Count() const noexcept
{
    return ImageList_GetImageCount(FHandle);
}

int TCustomImageList::AddMasked(const TBitmap& Image, TColor Mask)
{
    if (Image.Empty())
        throw Exception(L"Cannot add an empty bitmap to an image list");
    const int First = Count();
    AddToList(Image, Mask);
    FSources.push_back({Image.Clone(), Mask, FWidth, FHeight});
    return First;
}

void TCustomImageList::AddToList(const TBitmap& Image, TColor Mask)
{
    // The list copies the pixels; a 24-bit copy keeps palettes out of it.
    const std::unique_ptr<TBitmap> Copy = Image.Clone();
    Copy->SetPixelFormat(pf24bit);
    const int Added = Mask == clNone ? ImageList_Add(FHandle, Copy->Handle(), nullptr)
                                     : ImageList_AddMasked(FHandle, Copy->Handle(), ColorToRGB(Mask));
    if (Added < 0)
        throw Exception(L"Cannot add the bitmap to the image list");
}

void TCustomImageList::ScaleForPPI(int NewPPI)
{
    if (NewPPI <= 0 || NewPPI == FCurrentPPI)
        return;
    FWidth = std::max(1, ScaleValue(FWidth, NewPPI, FCurrentPPI));
    FHeight = std::max(1, ScaleValue(FHeight, NewPPI, FCurrentPPI));
    FCurrentPPI = NewPPI;
    if (!ImageList_SetIconSize(FHandle, FWidth, FHeight))
        throw Exception(L"Cannot resize the image list");
    for (const TSource& Source : FSources) {
        // Whole pictures in, whole pictures out: each cell keeps to its own.
        const int Cells = std::max(1, Source.Image->Width() / Source.CellWidth);
        const int Rows = std::max(1, Source.Image->Height() / Source.CellHeight);
        const std::unique_ptr<TBitmap> Scaled =
            ResampleBitmap(*Source.Image, Cells * FWidth, Rows * FHeight,
                           Source.Mask == clNone ? TResampling::AreaAverage : TResampling::Nearest);
        AddToList(*Scaled, Source.Mask);
    }
}

void TCustomImageList::Clear()
{
    ImageList_Remove(FHandle, -1);
    FSources.clear();
}

void TCustomImageList::Draw(HDC DC, int X, int Y, int Index, bool Enabled) const
{
    if (Index < 0 || Index >= Count())
        return;
    IMAGELISTDRAWPARAMS Params{};
    Params.cbSize = sizeof Params;
    Params.himl = FHandle;
    Params.i = Index;
    Params.hdcDst = DC;
    Params.x = X;
    Params.y = Y;
    Params.rgbBk = CLR_NONE;
    Params.fStyle = ILD_TRANSPARENT | (Enabled ? 0u : static_cast<UINT>(ILD_BLEND50));
    Params.rgbFg = Enabled ? CLR_DEFAULT : GetSysColor(COLOR_BTNFACE);
    ImageList_DrawIndirect(&Params);
}
