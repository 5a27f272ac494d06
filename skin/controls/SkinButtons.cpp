#include "SkinButtons.h"

#include "framework/ImgList.h"
#include "framework/Messages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

#include <algorithm>

namespace {

// A button's Tag that asks for its parent's background under the face.
constexpr int kParentBackgroundTag = 5555;

} // namespace

void DrawSkinObjectFrame(HDC dc, const RECT& rect, int frameCount, int frame, const TDataSkinObject& object)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top || !object.Bitmap || object.Bitmap->Empty())
        return;
    DrawNineSliceFrame(dc, rect, *object.Bitmap, false, object.Tile == 1, object.Trans == 1, frameCount, frame,
                       object.Margins());
}

const TClassInfo& TSkinButton::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinButton>("TSkinButton", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinButton::TSkinButton(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinButton::ReadTransparent()
{
    FTransparent = (FControl && FControl->Tag == kParentBackgroundTag) || InSet(FSkinData->Options, xoTransparent);
}

void TSkinButton::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    TSkinControl::AttachControl(form, skinData, setColour);
    FReportsPressItself = false;
    if (FControl) {
        std::string name = FControl->ClassName();
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        FReportsPressItself = name.starts_with("trz") || name.starts_with("tel");
    }
    ReadTransparent();
}

void TSkinButton::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    TSkinControl::AttachWindow(window, skinData, form);
    ReadTransparent();
}

// --- Messages ---

bool TSkinButton::BeforeMessage(TMessage& message)
{
    // The button never paints itself while skinned.
    if (AnswerPaint(message))
        return false;
    switch (message.Msg) {
    case WM_TIMER:
        KillTimer(FHandle, 1);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The press stays ours: the control would paint its own pushed face.
        if (GetFocus() != FHandle)
            SetFocus(FHandle);
        FStateBits |= kPressed;
        PaintWindow(nullptr);
        if (!FReportsPressItself)
            ForwardMouseDown(message);
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        PaintWindow(nullptr);
        return;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FStateBits |= kPressed;
            Redraw();
        }
        return;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            FStateBits &= ~kPressed;
            Redraw();
        }
        return;
    case WM_MOUSEMOVE:
        if (IsWindowEnabled(FHandle) && !(FStateBits & kMouseOver)) {
            FStateBits |= kMouseOver;
            Redraw();
        }
        TrackMouseLeave(FHandle);
        return;
    case WM_LBUTTONUP:
        if (FStateBits & kPressed) {
            FStateBits &= ~kPressed;
            Redraw();
            Click();
        }
        return;
    case WM_MOUSELEAVE:
        FStateBits &= ~(kMouseOver | kPressed);
        Redraw();
        return;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        // The system draws its own face for a new state or default style.
        Redraw();
        return;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
}

void TSkinButton::Click()
{
    if (FControl) {
        FControl->Click();
        return;
    }
    // The parent learns of the click the way the button itself would tell
    // it: its identifier and BN_CLICKED, so a dialog can tell its buttons apart.
    const auto id = static_cast<WORD>(GetDlgCtrlID(FHandle));
    PostMessageW(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), AsLParam(FHandle));
}

// --- Painting ---

TColor TSkinButton::TextColour(int frame) const
{
    const TDataSkinButton& buttons = *FSkinData->Buttons();
    TColor colour = FSkinData->SkinColor(scButtonText);
    if (FControl && FControl->Font())
        colour = FControl->Font()->Color();
    if (buttons.HasNormalColour2)
        colour = buttons.NormalColour2;
    if (frame == bfMouseOver && buttons.HasMouseOverColour2)
        colour = buttons.MouseOverColour2;
    if (frame == bfPressed && buttons.HasPressedColour2)
        colour = buttons.PressedColour2;
    if (!FEnabled)
        colour = SystemColour(COLOR_BTNSHADOW);
    return colour;
}

HFONT TSkinButton::TextFont() const
{
    if (FControl && FControl->Font())
        return FControl->Font()->Handle();
    return reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
}

int TSkinButton::ComposeFace(const RECT& rect, bool isDefault)
{
    if (!ReadFaceState())
        return 0;
    const int frame = PushButtonFrame((FStateBits & kPressed) != 0, (FStateBits & kMouseOver) != 0,
                                      FFocused || isDefault, FEnabled);
    DrawFaceFrame(rect, frame);
    return frame;
}

bool TSkinButton::ReadFaceState()
{
    const TDataSkinButton* buttons = FSkinData->Buttons();
    if (!buttons || !buttons->Bitmap || buttons->Bitmap->Empty())
        return false;
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    FCaption = FControl ? GetTextPropByName(FControl, "Caption") : GetWindowTextWide(FHandle);
    return true;
}

void TSkinButton::DrawFaceFrame(const RECT& rect, int frame)
{
    const TDataSkinButton& buttons = *FSkinData->Buttons();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    FWork.SetSize(width, height);
    HDC work = FWork.Canvas().Handle();
    const RECT local{0, 0, width, height};
    if (FForm && !FTransparent) {
        // Over the plain face colour the face depends only on size and
        // frame: the window's buttons share it.
        const TBitmap& face = FForm->Faces().Face(*FSkinData, buttons, kButtonFrames, frame, width, height);
        BitBlt(work, 0, 0, width, height, face.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    if (FTransparent)
        PaintParentBackground(FHandle, work);
    else
        FillSkinColor(work, local);
    DrawSkinObjectFrame(work, local, kButtonFrames, frame, buttons);
}

void TSkinButton::DrawControl(HDC dc, const RECT& rect)
{
    // A bare window has no Default property: its style says it.
    const bool isDefault = FControl ? PropIsTrue(FControl, "Default")
                                    : (GetWindowLongPtrW(FHandle, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const int frame = ComposeFace(rect, isDefault);
    if (!frame)
        return;
    HDC work = FWork.Canvas().Handle();
    const gdi::Selection font(work, TextFont());
    SetTextColor(work, ColorToRGB(TextColour(frame)));
    DrawCaption(work, {0, 0, FWork.Width(), FWork.Height()}, DT_CENTER, FCaption);
    BitBlt(dc, rect.left, rect.top, FWork.Width(), FWork.Height(), work, 0, 0, SRCCOPY);
}

void TSkinButton::DrawCaption(HDC dc, const RECT& rect, UINT alignment, const std::wstring& text)
{
    std::wstring shown = text;
    if (const size_t bar = shown.find(L"||"); bar != std::wstring::npos)
        shown.replace(bar, 2, L"\r\n");
    RECT box = rect;
    InflateRect(&box, -2, -2);
    DrawTextWide(dc, shown, box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP);
    OffsetRect(&box, -box.left, -box.top);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (alignment & DT_CENTER) {
        OffsetRect(&box, rect.left + (width - box.right) / 2, 0);
    } else {
        box.left = rect.left;
        box.right = rect.right;
    }
    OffsetRect(&box, 0, rect.top + (height - box.bottom) / 2 - 1);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT textBox = box;
    DrawTextWide(dc, shown, textBox, TextFormatFor(DT_WORDBREAK | DT_EXPANDTABS | alignment));
    SetBkMode(dc, oldMode);
    if (FFocused && !InSet(FSkinData->Options, xoNoFocusRect)) {
        InflateRect(&box, 2, 2);
        DrawFocusRect(dc, &box);
    }
}

// --- Check boxes and radio buttons ---

namespace {

std::string LowerText(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

int StateOfButtonWindow(HWND window)
{
    switch (SendMessageW(window, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return kCheckChecked;
    case BST_INDETERMINATE: return kCheckGrayed;
    default: return kCheckUnchecked;
    }
}

} // namespace

const TClassInfo& TSkinCheckBox::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinCheckBox>("TSkinCheckBox", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinCheckBox::TSkinCheckBox(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinCheckBox::ReadSwitches()
{
    const TBitmap* strip = Strip();
    FHasStrip = strip && !strip->Empty();
    FTransparent = (FControl && FControl->Tag == kParentBackgroundTag) || InSet(FSkinData->Options, xoTransparent);
}

void TSkinCheckBox::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    TSkinControl::AttachControl(form, skinData, setColour);
    ReadSwitches();
}

void TSkinCheckBox::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    TSkinControl::AttachWindow(window, skinData, form);
    ReadSwitches();
}

const TBitmap* TSkinCheckBox::Strip() const
{
    return FSkinData->Buttons() ? FSkinData->Buttons()->CheckButton.get() : nullptr;
}

int TSkinCheckBox::StripFrames() const
{
    return FSkinData->Buttons()->CheckButtonFrame;
}

int TSkinCheckBox::CheckState() const
{
    if (!FControl)
        return StateOfButtonWindow(FHandle);
    if (GetPropInfo(FControl, "DataBinding"))
        return kCheckUnchecked;
    if (GetPropInfo(FControl, "DataField"))
        return FLastCheck == BST_CHECKED ? kCheckChecked : FLastCheck == BST_INDETERMINATE ? kCheckGrayed
                                                                                           : kCheckUnchecked;
    if (GetPropInfo(FControl, "State")) {
        const std::string state = LowerText(GetEnumPropByName(FControl, "State"));
        if (state.find("uncheck") != std::string::npos)
            return kCheckUnchecked;
        if (state.find("check") != std::string::npos)
            return kCheckChecked;
        if (state.find("gray") != std::string::npos)
            return kCheckGrayed;
    }
    return PropIsTrue(FControl, "Checked") ? kCheckChecked : kCheckUnchecked;
}

bool TSkinCheckBox::BeforeMessage(TMessage& message)
{
    if (FHasStrip) {
        switch (message.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            PaintByMessage(message);
            return false;
        case WM_ERASEBKGND:
            if (FTransparent)
                EraseByMessage(message);
            else
                message.Result = 1;
            return false;
        default:
            break;
        }
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinCheckBox::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case BM_SETCHECK:
        FLastCheck = static_cast<int>(message.WParam);
        Redraw();
        return;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
    case CM_EXIT:
        // The system draws its own box for each of these.
        if (FHasStrip)
            Redraw();
        return;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
}

void TSkinCheckBox::DrawControl(HDC dc, const RECT& rect)
{
    if (!FHasStrip)
        return;
    const TBitmap& strip = *Strip();
    const int frames = std::max(StripFrames(), 1);
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    FFocused = GetFocus() == FHandle;
    FEnabled = (style & WS_DISABLED) == 0;
    FCaption = FControl ? GetTextPropByName(FControl, "Caption") : GetWindowTextWide(FHandle);
    const int frame = CheckBoxFrame(CheckState(), FEnabled, frames);

    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    FWork.SetSize(width, height);
    HDC work = FWork.Canvas().Handle();
    const RECT local{0, 0, width, height};
    if (FTransparent)
        PaintParentBackground(FHandle, work);
    else
        FillSkinColor(work, local);

    const bool right = (style & BS_RIGHTBUTTON) != 0;
    const TCheckLayout layout = LayoutCheckBox({width, height}, strip.Width() / frames, FSkinData->Scaled(2), right);
    DrawCentredFrame(work, AsRect(layout.Mark), strip, true, frames, frame);

    const gdi::Selection font(work, FControl && FControl->Font() ? FControl->Font()->Handle()
                                                                  : reinterpret_cast<HFONT>(
                                                                        SendMessageW(FHandle, WM_GETFONT, 0, 0)));
    TColor colour = FControl && FControl->Font() ? FControl->Font()->Color() : FSkinData->SkinColor(scButtonText);
    if (!FEnabled)
        colour = SystemColour(COLOR_BTNSHADOW);
    SetTextColor(work, ColorToRGB(colour));
    const int oldMode = SetBkMode(work, TRANSPARENT);
    const RECT text = AsRect(layout.Text);
    const UINT align = right ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    RECT drawn = text;
    DrawTextWide(work, FCaption, drawn, TextFormatFor(DT_SINGLELINE | DT_VCENTER | align));
    SetBkMode(work, oldMode);
    // The focus stays visible for keyboard users whatever the system's version.
    if (FFocused && !FCaption.empty())
        DrawFocusAroundText(work, DT_SINGLELINE | DT_VCENTER | align, text);
    BitBlt(dc, rect.left, rect.top, width, height, work, 0, 0, SRCCOPY);
}

const TClassInfo& TSkinRadioButton::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinRadioButton>("TSkinRadioButton", TSkinCheckBox::StaticClass()).Build());
    return Info;
}

TSkinRadioButton::TSkinRadioButton(TComponent* AOwner) : TSkinCheckBox(AOwner) {}

const TBitmap* TSkinRadioButton::Strip() const
{
    return FSkinData->Buttons() ? FSkinData->Buttons()->RadioButton.get() : nullptr;
}

int TSkinRadioButton::StripFrames() const
{
    return FSkinData->Buttons()->RadioButtonFrame;
}

int TSkinRadioButton::CheckState() const
{
    if (!FControl)
        return SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED ? kCheckChecked : kCheckUnchecked;
    return PropIsTrue(FControl, "Checked") ? kCheckChecked : kCheckUnchecked;
}

// --- Bit buttons ---

std::unique_ptr<TBitmap> MakeDisabledGlyph(const TBitmap& glyph)
{
    const int w = glyph.Width();
    const int h = glyph.Height();
    auto result = std::make_unique<TBitmap>(w, h, pf24bit);
    HDC target = result->Canvas().Handle();
    const RECT all{0, 0, w, h};
    TSkinControl::FillColor(target, all, clBtnFace);
    // The glyph's shape as one bit a pixel: 1 where it is not see-through.
    const gdi::Bitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    const gdi::MemoryDC maskDC(target);
    const gdi::Selection maskSelection(maskDC.Get(), mask.Get());
    HDC source = glyph.Canvas().Handle();
    const COLORREF oldBack = SetBkColor(source, ColorToRGB(glyph.TransparentColor()));
    BitBlt(maskDC.Get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
    BitBlt(maskDC.Get(), 0, 0, w, h, nullptr, 0, 0, DSTINVERT);
    // Where the mask is set the brush is painted, elsewhere the face stays.
    constexpr DWORD kBrushWhereSourceSet = 0xE20746;
    const COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(target, RGB(255, 255, 255));
    for (const auto& [colour, offset] : {std::pair{COLOR_BTNHIGHLIGHT, 1}, std::pair{COLOR_BTNSHADOW, 0}}) {
        const gdi::Brush brush(CreateSolidBrush(GetSysColor(colour)));
        const gdi::Selection selected(target, brush.Get());
        BitBlt(target, offset, offset, w - offset, h - offset, maskDC.Get(), 0, 0, kBrushWhereSourceSet);
    }
    SetTextColor(target, oldText);
    SetBkColor(target, oldBk);
    return result;
}

const TClassInfo& TSkinBitButton::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinBitButton>("TSkinBitButton", TSkinButton::StaticClass()).Build());
    return Info;
}

TSkinBitButton::TSkinBitButton(TComponent* AOwner) : TSkinButton(AOwner) {}

namespace {

const TBitmap* GlyphOf(const TControl* control)
{
    const auto* glyph = static_cast<const TBitmap*>(GetObjectPropByName(control, "Glyph", &TBitmap::StaticClass()));
    return glyph && !glyph->Empty() ? glyph : nullptr;
}

int NumGlyphsOf(const TControl* control)
{
    return std::max(GetOrdPropByName(control, "NumGlyphs"), 1);
}

const TCustomImageList* ImagesOf(const TControl* control)
{
    return static_cast<const TCustomImageList*>(
        GetObjectPropByName(control, "Images", &TCustomImageList::StaticClass()));
}

TGlyphSide SideOf(const TControl* control)
{
    const std::string layout = LowerText(GetEnumPropByName(control, "Layout"));
    if (layout == "blglyphright")
        return gsRight;
    if (layout == "blglyphtop")
        return gsTop;
    if (layout == "blglyphbottom")
        return gsBottom;
    return gsLeft;
}

} // namespace

TSizeI TSkinBitButton::GlyphSize() const
{
    if (const TBitmap* glyph = GlyphOf(FControl))
        return {glyph->Width() / NumGlyphsOf(FControl), glyph->Height()};
    if (const TCustomImageList* images = ImagesOf(FControl))
        return {images->Width(), images->Height()};
    return {0, 0};
}

void TSkinBitButton::DrawGlyph(HDC dc, const RECT& at, int glyphFrame) const
{
    if (const TBitmap* glyph = GlyphOf(FControl)) {
        const int count = NumGlyphsOf(FControl);
        const int frame = glyphFrame > count ? 1 : glyphFrame;
        const int w = glyph->Width() / count;
        const int h = glyph->Height();
        if (glyphFrame == 2 && count == 1) {
            const auto embossed = MakeDisabledGlyph(*glyph);
            BitBlt(dc, at.left, at.top, w, h, embossed->Canvas().Handle(), 0, 0, SRCCOPY);
            return;
        }
        TBitmap piece(w, h, pf24bit);
        BitBlt(piece.Canvas().Handle(), 0, 0, w, h, glyph->Canvas().Handle(), (frame - 1) * w, 0, SRCCOPY);
        DrawTransparent(dc, at, piece, glyph->TransparentColor());
        return;
    }
    if (const TCustomImageList* images = ImagesOf(FControl)) {
        const int index = GetOrdPropByName(FControl, "ImageIndex");
        const int disabled = GetOrdPropByName(FControl, "DisabledIndex");
        images->Draw(dc, at.left, at.top, FEnabled || disabled == -1 ? index : disabled, true);
    }
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rect)
{
    if (!FControl)
        return;
    const int frame = ComposeFace(rect, PropIsTrue(FControl, "Default"));
    if (!frame)
        return;
    TContentRules rules;
    rules.GlyphFrame = ButtonGlyphFrame((FStateBits & kPressed) != 0, FEnabled, false);
    rules.TextFrame = frame;
    rules.Centred = LowerText(GetEnumPropByName(FControl, "Alignment")) == "tacenter";
    rules.FocusRect = FFocused && !InSet(FSkinData->Options, xoNoFocusRect);
    DrawContent(FWork.Canvas().Handle(), {FWork.Width(), FWork.Height()}, rules);
    BitBlt(dc, rect.left, rect.top, FWork.Width(), FWork.Height(), FWork.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TSkinBitButton::DrawContent(HDC work, TSizeI size, const TContentRules& rules)
{
    const gdi::Selection font(work, TextFont());
    const TSizeI glyph = GlyphSize();
    const TGlyphSide side = SideOf(FControl);
    TSizeI text{0, 0};
    if (!FCaption.empty()) {
        RECT box = AsRect(GlyphCaptionBox(size, glyph, side));
        DrawTextWide(work, FCaption, box, DT_CALCRECT | DT_WORDBREAK);
        text = {box.right - box.left, box.bottom - box.top};
    }
    const TGlyphLayout layout = LayoutGlyph(size, glyph, text, side, GetOrdPropByName(FControl, "Margin"),
                                            GetOrdPropByName(FControl, "Spacing"), rules.Centred, rules.ExtraMargin);
    if (glyph.Width > 0)
        DrawGlyph(work, AsRect(layout.Glyph), rules.GlyphFrame);
    if (FCaption.empty())
        return;
    SetTextColor(work, ColorToRGB(TextColour(rules.TextFrame)));
    const int oldMode = SetBkMode(work, TRANSPARENT);
    const UINT align = side == gsRight ? DT_RIGHT : side == gsLeft ? DT_LEFT : DT_CENTER;
    RECT box = AsRect(layout.Text);
    DrawTextWide(work, FCaption, box, TextFormatFor(DT_WORDBREAK | align));
    SetBkMode(work, oldMode);
    if (rules.FocusRect) {
        RECT focus = AsRect(Inflated(layout.Text, 2, 2));
        DrawFocusRect(work, &focus);
    }
}

// --- Menu buttons ---

const TClassInfo& TSkinMenuButton::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinMenuButton>("TSkinMenuButton", TSkinButton::StaticClass()).Build());
    return Info;
}

TSkinMenuButton::TSkinMenuButton(TComponent* AOwner) : TSkinButton(AOwner) {}

TColor TSkinMenuButton::MenuTextColour(int frame) const
{
    const TDataSkinButton& buttons = *FSkinData->Buttons();
    if (!FEnabled)
        return SystemColour(COLOR_BTNSHADOW);
    if (frame == bfNormal && buttons.HasNormalColour2)
        return buttons.NormalColour2;
    if (frame == bfMouseOver && buttons.HasMouseOverColour2)
        return buttons.MouseOverColour2;
    if (frame == bfPressed && buttons.HasPressedColour2)
        return buttons.PressedColour2;
    return FControl && FControl->Font() ? FControl->Font()->Color() : FSkinData->SkinColor(scButtonText);
}

void TSkinMenuButton::DrawControl(HDC dc, const RECT& rect)
{
    if (!ReadFaceState())
        return;
    const int frame = MenuButtonFrame((FStateBits & kPressed) != 0, FFocused || (FStateBits & kMouseOver), FEnabled);
    DrawFaceFrame(rect, frame);
    const TSizeI face{FWork.Width(), FWork.Height()};
    HDC work = FWork.Canvas().Handle();
    const gdi::Selection font(work, TextFont());
    const TBitmap* glyph = FControl ? GlyphOf(FControl) : nullptr;
    const TSizeI glyphSize = glyph ? TSizeI{glyph->Width(), glyph->Height()} : TSizeI{};
    std::wstring caption = FCaption;
    if (const size_t bar = caption.find(L"||"); bar != std::wstring::npos)
        caption.replace(bar, 2, L"\r\n");
    TSizeI textSize{};
    if (!caption.empty()) {
        RECT box = AsRect(MenuCaptionBox(face, glyphSize.Width));
        DrawTextWide(work, caption, box, DT_CALCRECT | DT_WORDBREAK);
        textSize = {box.right - box.left, box.bottom - box.top};
    }
    const TMenuButtonLayout layout =
        LayoutMenuButton(face, glyphSize, textSize, FControl ? GetOrdPropByName(FControl, "Margin") : -1,
                         FControl ? GetOrdPropByName(FControl, "Spacing") : -1);
    if (glyph)
        DrawTransparent(work, AsRect(layout.Glyph), *glyph, glyph->TransparentColor());
    if (!caption.empty()) {
        SetTextColor(work, ColorToRGB(MenuTextColour(frame)));
        const int oldMode = SetBkMode(work, TRANSPARENT);
        RECT text = AsRect(layout.Text);
        DrawTextWide(work, caption, text, TextFormatFor(DT_WORDBREAK | DT_LEFT));
        SetBkMode(work, oldMode);
        if (FFocused && !InSet(FSkinData->Options, xoNoFocusRect)) {
            RECT focus = AsRect(Inflated(layout.Text, 2, 2));
            DrawFocusRect(work, &focus);
        }
    }
    POINT arrow[3];
    for (size_t i = 0; i < layout.Arrow.size(); ++i)
        arrow[i] = {layout.Arrow[i].X, layout.Arrow[i].Y};
    const COLORREF ink = ColorToRGB(SystemColour(FEnabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
    const gdi::Brush brush(CreateSolidBrush(ink));
    const gdi::Pen pen(CreatePen(PS_SOLID, 1, ink));
    const gdi::Selection brushIn(work, brush.Get());
    const gdi::Selection penIn(work, pen.Get());
    Polygon(work, arrow, 3);
    BitBlt(dc, rect.left, rect.top, face.Width, face.Height, work, 0, 0, SRCCOPY);
}

// --- Speed buttons ---

const TClassInfo& TSkinSpeedButton::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinSpeedButton>("TSkinSpeedButton", TSkinBitButton::StaticClass()).Build());
    return Info;
}

TSkinSpeedButton::TSkinSpeedButton(TComponent* AOwner) : TSkinBitButton(AOwner) {}

bool TSkinSpeedButton::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        if (!message.WParam)
            return true;
        DrawControl(reinterpret_cast<HDC>(message.WParam), {0, 0, FControl->Width(), FControl->Height()});
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The control keeps its own press (groups, Down, the click); the
        // face follows it.
        CallOldWndProc(message);
        if (PropIsTrue(FControl, "Enabled")) {
            FStateBits |= kPressed;
            Redraw();
        }
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONUP:
        if (FStateBits & kPressed) {
            FStateBits &= ~kPressed;
            Redraw();
        }
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (AsPointer<TControl>(message.LParam) != FControl && message.LParam != 0)
            return;
        if (message.Msg == CM_MOUSEENTER)
            FStateBits |= kMouseOver;
        else
            FStateBits &= ~(kMouseOver | kPressed);
        if (message.Msg == CM_MOUSEENTER || FControl->Visible())
            Redraw();
        return;
    default:
        // Enabling and focus changes repaint through the control itself.
        return;
    }
}

void TSkinSpeedButton::DrawControl(HDC dc, const RECT& rect)
{
    const TDataSkinButton* buttons = FSkinData->Buttons();
    if (FPainting || !FControl->Visible() || !buttons || !buttons->Bitmap || buttons->Bitmap->Empty())
        return;
    FPainting = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } done{FPainting};
    FEnabled = FControl->Enabled();
    FCaption = GetTextPropByName(FControl, "Caption");
    const bool down = PropIsTrue(FControl, "Down");
    const bool pressed = (FStateBits & kPressed) != 0;
    const int frame = SpeedButtonFrame(pressed, (FStateBits & kMouseOver) != 0, FEnabled, down);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    FWork.SetSize(width, height);
    HDC work = FWork.Canvas().Handle();
    DrawFace(work, {0, 0, width, height}, frame);
    TContentRules rules;
    rules.GlyphFrame = ButtonGlyphFrame(pressed, FEnabled, down);
    rules.TextFrame = frame;
    rules.ExtraMargin = 1;
    if (GlyphSize().Width > 0) {
        DrawContent(work, {width, height}, rules);
    } else {
        const gdi::Selection font(work, TextFont());
        SetTextColor(work, ColorToRGB(TextColour(frame)));
        DrawCaption(work, {0, 0, width, height}, DT_CENTER, FCaption);
    }
    BitBlt(dc, rect.left, rect.top, width, height, work, 0, 0, SRCCOPY);
}

void TSkinSpeedButton::DrawFace(HDC work, const RECT& local, int frame)
{
    const TDataSkinButton& buttons = *FSkinData->Buttons();
    // A flat button shows its face only while pressed or hot.
    const bool face = !PropIsTrue(FControl, "Flat") || frame == bfPressed || frame == bfMouseOver;
    const int width = local.right - local.left;
    const int height = local.bottom - local.top;
    if (face && FForm && !FTransparent) {
        const TBitmap& cached = FForm->Faces().Face(*FSkinData, buttons, kButtonFrames, frame, width, height);
        BitBlt(work, 0, 0, width, height, cached.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    if (FTransparent)
        FillParentColor(work, local);
    else
        FillSkinColor(work, local);
    if (face)
        DrawSkinObjectFrame(work, local, kButtonFrames, frame, buttons);
}
