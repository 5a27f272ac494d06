#include "SkinControl.h"

#include "base/PaintScope.h"
#include "framework/Messages.h"
#include "framework/SysUtils.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/SkinMessages.h"

#include <algorithm>

const TClassInfo& TSkinControl::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinControl>("TSkinControl", TComponent::StaticClass()).Build());
    return Info;
}

// --- The list ---

void TSkinControlList::Adopt(TSkinControl* object)
{
    if (!Contains(object))
        FItems.emplace_back(object);
}

std::vector<std::unique_ptr<TSkinControl>>::iterator TSkinControlList::Find(const TSkinControl* object) noexcept
{
    return std::find_if(FItems.begin(), FItems.end(), [object](const auto& item) { return item.get() == object; });
}

void TSkinControlList::Free(TSkinControl* object) noexcept
{
    const auto found = Find(object);
    if (found == FItems.end())
        return;
    // Out of the list before it is freed: its destructor and whatever it
    // frees in turn find the list without it.
    std::unique_ptr<TSkinControl> freed = std::move(*found);
    FItems.erase(found);
}

void TSkinControlList::Forget(TSkinControl* object) noexcept
{
    const auto found = Find(object);
    if (found == FItems.end())
        return;
    found->release();
    FItems.erase(found);
}

bool TSkinControlList::Contains(const TSkinControl* object) const noexcept
{
    return std::any_of(FItems.begin(), FItems.end(), [object](const auto& item) { return item.get() == object; });
}

TSkinControl* TSkinControlList::FindByWindow(HWND window) const noexcept
{
    for (const auto& object : FItems)
        if (object->Handle() == window && object->Life() != slDestroyed)
            return object.get();
    return nullptr;
}

TSkinControl* TSkinControlList::FindByControl(const TControl* control) const noexcept
{
    for (const auto& object : FItems)
        if (object->Control() == control)
            return object.get();
    return nullptr;
}

std::vector<TSkinControl*> TSkinControlList::Snapshot() const
{
    std::vector<TSkinControl*> objects;
    objects.reserve(FItems.size());
    for (const auto& object : FItems)
        objects.push_back(object.get());
    return objects;
}

void TSkinControlList::Purge()
{
    for (TSkinControl* object : Snapshot())
        if (Contains(object) && object->Life() == slDestroyed)
            Free(object);
}

void TSkinControlList::DeactivateAndFreeAll()
{
    // Deactivating or freeing one object may free others (a container's
    // children): each object is taken from the list again, never from a copy.
    while (!FItems.empty()) {
        TSkinControl* object = FItems.back().get();
        object->Deactivate();
        Free(object);
    }
}

void TSkinControlList::FreeAll() noexcept
{
    while (!FItems.empty())
        Free(FItems.back().get());
}

void TSkinControlList::SkinChangedAll()
{
    FFaces.Clear();
    for (TSkinControl* object : Snapshot())
        if (Contains(object) && object->Life() == slAttached)
            object->SkinChanged();
}

// --- Life cycle ---

TSkinControl::TSkinControl(TComponent* AOwner) : TComponent(AOwner) {}

TSkinControl::~TSkinControl()
{
    // Teardown order: stop taking messages and give the control its hook or
    // the window its procedure back, then leave the frame's list.
    BeginDestroy();
    FHook.Remove();
    FSubclass.Remove();
    if (FForm)
        FForm->Forget(this);
}

void TSkinControl::Register(TSkinControlList* form)
{
    FForm = form;
    if (!FForm)
        return;
    FForm->Adopt(this);
    // The control's end reaches the list before the control frees its
    // components (Notification).
    if (FControl)
        FControl->FreeNotification(this);
}

void TSkinControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FControl && FForm)
        FForm->Free(this); // this object is gone now
}

void TSkinControl::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    if (FAttached)
        return;
    FSetColour = setColour;
    FSkinData = skinData;
    FControl = dynamic_cast<TControl*>(Owner());
    auto* windowed = dynamic_cast<TWinControl*>(FControl);
    if (!FControl || (!windowed && !AttachesWindowless()))
        return;
    FHandle = windowed ? windowed->Handle() : nullptr;
    FUnicode = !windowed || IsWindowUnicode(FHandle) != FALSE;
    FHook.Install(FControl, TWndMethod::Bind<&TSkinControl::HandleMessage>(this));
    Register(form);
    if (FSetColour) {
        SuspendParentBackground(true);
        FSavedColour = FControl->Color();
        FControl->SetColor(FSkinData->SkinColor(scButtonFace));
    }
    FControl->Invalidate();
    FAttached = true;
    FLife = slAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    if (FAttached)
        return;
    FSkinData = skinData;
    FHandle = window;
    FEnabled = true;
    Register(form);
    FUnicode = IsWindowUnicode(window) != FALSE;
    FCaption = GetWindowTextWide(window);
    InstallMessageHandler<&TSkinControl::HandleMessage>(FSubclass, window, this);
    InvalidateRect(window, nullptr, TRUE);
    FAttached = true;
    FLife = slAttached;
}

void TSkinControl::SuspendParentBackground(bool on)
{
    if (InSet(FSkinData->Options, xoParentBackGround) || !GetPropInfo(FControl, "ParentBackground"))
        return;
    if (on) {
        if (PropIsTrue(FControl, "ParentBackground")) {
            FParentBackgroundSwitched = true;
            SetPropByName(FControl, "ParentBackground", L"False");
        }
    } else if (FParentBackgroundSwitched) {
        FParentBackgroundSwitched = false;
        SetPropByName(FControl, "ParentBackground", L"True");
    }
}

void TSkinControl::Deactivate()
{
    if (!FActive)
        return;
    FActive = false;
    if (FLife != slDestroyed && FSetColour && FControl) {
        SuspendParentBackground(false);
        FControl->SetColor(FSavedColour);
    }
}

void TSkinControl::SkinChanged()
{
    if (FSetColour && FControl)
        FControl->SetColor(FSkinData->SkinColor(scButtonFace));
    // A new skin repaints the whole form once, children included; painting
    // each control at once as well would paint every control twice.
    if (FHandle && IsWindow(FHandle))
        InvalidateRect(FHandle, nullptr, TRUE);
    else
        Redraw();
}

void TSkinControl::Redraw()
{
    if (FHandle && IsWindow(FHandle)) {
        InvalidateRect(FHandle, nullptr, TRUE);
        UpdateWindow(FHandle);
    } else if (!FHandle && FControl) {
        FControl->Repaint();
    }
}

// --- Messages ---

void TSkinControl::CallOldWndProc(TMessage& message)
{
    if (FControl)
        FHook.CallPrevious(message);
    else
        message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TSkinControl::HandleMessage(TMessage& message)
{
    try {
        if (message.Msg == WM_SKINSWITCH) {
            // Never reaches the control: the switch is ours alone.
            const bool wasActive = FActive;
            FActive = static_cast<LONG_PTR>(message.WParam) > 0;
            if (FActive != wasActive && FLife == slAttached)
                Switched(FActive);
            if (FActive && FLife == slAttached && FSkinData)
                Redraw();
            else if (wasActive && !FActive && FHandle)
                RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            else if (wasActive && !FActive)
                Redraw();
            message.Result = 0;
            return;
        }
        if (!FActive || FLife == slDestroyed) {
            CallOldWndProc(message);
            return;
        }
        if (BeforeMessage(message)) {
            CallOldWndProc(message);
            AfterMessage(message);
        }
    } catch (...) {
        // A failure of the skin ends this message quietly; the control keeps working.
    }
}

bool TSkinControl::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCDESTROY:
        FLife = slDestroyed;
        CallOldWndProc(message);
        if (FActive)
            Deactivate();
        return false;
    case WM_SKINQUERY:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Redraw();
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
        break;
    default:
        break;
    }
}

// --- Painting ---

void TSkinControl::PaintWindow(HDC dc)
{
    if (dc) {
        PaintInto(dc);
        return;
    }
    const gdi::WindowDC windowDC(FHandle);
    PaintInto(windowDC.Get());
}

void TSkinControl::PaintByMessage(TMessage& message)
{
    message.Result = 0;
    if (auto* dc = reinterpret_cast<HDC>(message.WParam)) {
        PaintInto(dc);
        return;
    }
    const TPaintScope paint(FHandle);
    PaintInto(paint.DC());
}

void TSkinControl::PaintInto(HDC dc) noexcept
{
    RECT rect{};
    if (!dc || !GetWindowRect(FHandle, &rect))
        return;
    FWindowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    try {
        DrawControl(dc, rect);
    } catch (...) {
        // Painting failures leave the window as it was.
    }
}

bool TSkinControl::AnswerPaint(TMessage& message)
{
    if (message.Msg == WM_PAINT) {
        PaintByMessage(message);
        return true;
    }
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return true;
    }
    return false;
}

void TSkinControl::EraseByMessage(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (FControl) {
        PaintParentBackground(FHandle, dc);
    } else {
        RECT client{};
        GetClientRect(FHandle, &client);
        FillParentColor(dc, client);
    }
    message.Result = 1;
}

void TSkinControl::FillColor(HDC dc, const RECT& rect, TColor colour)
{
    const gdi::Brush brush(CreateSolidBrush(ColorToRGB(colour)));
    FillRect(dc, &rect, brush.Get());
}

void TSkinControl::FillSkinColor(HDC dc, const RECT& rect) const
{
    FillColor(dc, rect, FSkinData->SkinColor(scButtonFace));
}

void TSkinControl::FillParentColor(HDC dc, const RECT& rect) const
{
    const TControl* parent = FControl ? FControl->Parent() : nullptr;
    const std::optional<int64_t> colour = GetOrdProp(parent, "Color");
    const TPropInfo* info = GetPropInfo(parent, "Color");
    if (colour && info && info->Kind == TTypeKind::tkInteger)
        FillColor(dc, rect, static_cast<TColor>(*colour));
    else
        FillSkinColor(dc, rect);
}

void TSkinControl::DrawFocusAroundText(HDC dc, UINT alignment, const RECT& rect) const
{
    RECT box = rect;
    DrawTextWide(dc, FCaption, box, DT_CALCRECT | DT_NOCLIP | alignment);
    const int dx = (rect.right - rect.left) - (box.right - box.left);
    const int dy = (rect.bottom - rect.top) - (box.bottom - box.top);
    if (alignment & DT_CENTER)
        OffsetRect(&box, dx / 2, dy / 2 - 1);
    else if (alignment & DT_RIGHT)
        OffsetRect(&box, dx, 0);
    InflateRect(&box, 2, 1);
    IntersectRect(&box, &box, &rect);
    DrawFocusRect(dc, &box);
}

POINT TSkinControl::MessagePoint(const TMessage& message) const
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    // Mouse messages carry 16-bit coordinates: beyond 32767 they wrap, so
    // a very large control asks where the cursor is instead.
    if (window.right - window.left > 32768 || window.bottom - window.top > 32768) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(FHandle, &cursor);
        return cursor;
    }
    return {LoWordSigned(message.LParam), HiWordSigned(message.LParam)};
}

void TSkinControl::ForwardMouseDown(const TMessage& message)
{
    if (!FControl || !FControl->OnMouseDown)
        return;
    const POINT point = MessagePoint(message);
    TShiftState shift = MouseShiftState(message.WParam);
    if (message.Msg == WM_LBUTTONDBLCLK)
        shift |= ssDouble;
    FControl->OnMouseDown(FControl, mbLeft, shift, point.x, point.y);
}

UINT TSkinControl::TextFormatFor(UINT format) const
{
    if (FControl && FControl->BiDiMode() != bdLeftToRight)
        return format | DT_RTLREADING;
    return format;
}

// --- Properties by name ---

int GetOrdPropByName(const TObject* object, std::string_view name)
{
    const TPropInfo* info = GetPropInfo(object, name);
    if (!info || info->Kind != TTypeKind::tkInteger)
        return -1;
    const std::optional<int64_t> value = GetOrdProp(object, name);
    return value ? static_cast<int>(*value) : -1;
}

std::string GetEnumPropByName(const TObject* object, std::string_view name)
{
    return GetEnumProp(object, name).value_or(std::string());
}

std::wstring GetTextPropByName(const TObject* object, std::string_view name)
{
    return GetStrProp(object, name).value_or(std::wstring());
}

TObject* GetObjectPropByName(const TObject* object, std::string_view name, const TClassInfo* objectClass)
{
    return GetObjectProp(object, name, objectClass);
}

bool SetPropByName(TObject* object, std::string_view name, std::wstring_view text)
{
    try {
        return SetPropValue(object, name, text);
    } catch (const ERangeError&) {
        return false;
    }
}

bool PropIsTrue(const TObject* object, std::string_view name)
{
    std::string value = GetEnumPropByName(object, name);
    std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
    return value == "true";
}

std::wstring GetWindowTextWide(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

bool HasImage(const TDataSkinObject* object) noexcept
{
    return object && object->Bitmap && !object->Bitmap->Empty();
}
