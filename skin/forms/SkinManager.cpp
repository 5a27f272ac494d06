#include "SkinManager.h"

#include "base/WindowClass.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "framework/Timer.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"

#include <algorithm>
#include <cwctype>
#include <utility>

TSkinManage* SkinManager = nullptr;

namespace {

constexpr int kSkinAll = 1;
constexpr int kUnskinAll = 2;
constexpr int kSkinChanged = 3;
constexpr int kClosing = 4;
// The fixed tag that keeps a form unskinned, whatever DisableTag says.
constexpr int kNeverSkinTag = 99;

bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

bool AnswersSkinQuery(HWND window)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) && answer == 1;
}

} // namespace

TSkinManage::TSkinManage() : FRequestTimer(std::make_unique<TTimer>(nullptr)), FMainInstance(GetModuleHandleW(nullptr))
{
    FRequestTimer->SetEnabled(false);
    FRequestTimer->SetInterval(100);
    FRequestTimer->OnTimer = TNotifyEvent::Bind<&TSkinManage::TimerTick>(this);
}

TSkinManage::~TSkinManage()
{
    Shutdown();
}

void TSkinManage::Shutdown() noexcept
{
    FRunState = kClosing;
    FActive = false;
    FRequestTimer.reset();
    ReleaseAll();
    FPopupMenus.clear();
    FSkinDatas.clear();
    FMainSkinData = nullptr;
    FPendingSkinData = nullptr;
    FHook.reset();
    if (SkinManager == this)
        SkinManager = nullptr;
}

// --- Skin data ---

void TSkinManage::RegisterSkinData(TSkinData* skinData)
{
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), skinData) != FSkinDatas.end())
        return;
    FSkinDatas.push_back(skinData);
    if (!FMainSkinData && skinData->SkinFormtype == sfMainform)
        FMainSkinData = skinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* skinData)
{
    std::erase(FSkinDatas, skinData);
    if (FMainSkinData == skinData)
        FMainSkinData = nullptr;
    if (FPendingSkinData == skinData) {
        FPendingSkinData = nullptr;
        if (FRequestTimer)
            FRequestTimer->SetEnabled(false);
    }
    // No frame may outlive the skin it paints with.
    for (TWinSkinForm* frame : SkinForms())
        if (frame->SkinData() == skinData)
            UnskinAndFree(frame);
}

void TSkinManage::ReleaseCaptionButtons(TSkinData* skinData)
{
    for (const auto& frame : FSkinForms)
        if (frame->SkinData() == skinData)
            frame->Caption().Release();
}

void TSkinManage::SetRunState(int runState)
{
    if (FRunState != kClosing)
        FRunState = runState;
}

// --- The hook ---

void TSkinManage::InstallHook()
{
    if (!FHook && FRunState != kClosing)
        FHook = std::make_unique<TThreadHook>(
            WH_CBT, [this](int code, WPARAM wParam, LPARAM lParam) { return CbtHook(code, wParam, lParam); });
}

LRESULT TSkinManage::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto window = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HCBT_CREATEWND:
        HookCreate(window, *AsPointer<CBT_CREATEWNDW>(lParam));
        break;
    case HCBT_DESTROYWND:
        DetachPopupMenu(window);
        break;
    case HCBT_ACTIVATE:
        if (FRunState == 0)
            FRunState = 1;
        AttachForm(window);
        break;
    case HCBT_SYSCOMMAND:
        // Only the system's own menu tracking is kept from a menu bar it
        // cannot see.
        return ForwardKeyMenu(wParam, lParam) ? 1 : 0;
    default:
        break;
    }
    return 0;
}

bool TSkinManage::ForwardKeyMenu(WPARAM command, LPARAM key)
{
    // Alt+letter in a focused control ends in the control's own
    // WM_SYSCOMMAND, and the system then tracks the top-level window's menu
    // itself: the skinned menu bar, which replaced that menu, would never
    // hear of it. The top-level window takes it instead. Alt+Space and
    // Alt+minus (an MDI child's window menu) stay where they are.
    if ((command & 0xFFF0) != SC_KEYMENU || key == L' ' || key == L'-')
        return false;
    HWND focus = GetFocus();
    if (!focus || !(GetWindowLongW(focus, GWL_STYLE) & WS_CHILD))
        return false;
    HWND root = GetAncestor(focus, GA_ROOT);
    TWinSkinForm* frame = FindSkinForm(root);
    if (!frame || !frame->SkinMenuBar())
        return false;
    // Posted: the menu loop must not run inside the hook.
    return PostMessageW(root, WM_SYSCOMMAND, command, key) != FALSE;
}

void TSkinManage::HookCreate(HWND window, const CBT_CREATEWNDW& create)
{
    const LONG style = create.lpcs->style;
    const DWORD exStyle = create.lpcs->dwExStyle;
    // A size grip made after its window was skinned gets its skin at once.
    if ((style & WS_CHILD) && (style & SBS_SIZEGRIP) && LowerCase(WindowClassName(window)) == L"scrollbar")
        if (TWinSkinForm* frame = FindSkinForm(create.lpcs->hwndParent))
            frame->Dispatch().DispatchWindow(window);
    if (!(style & WS_CHILD) && WindowClassName(window) == L"#32768")
        AttachPopupMenu(window);
    if (exStyle & WS_EX_MDICHILD)
        AttachForm(window);
}

// --- Attaching ---

TWinControl* TSkinManage::FindFormOfWindow(HWND window) const
{
    return ::FindFormOfWindow(window);
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND window) const
{
    for (const auto& frame : FSkinForms)
        if (frame->Handle() == window && frame->State() != fsDetached)
            return frame.get();
    return nullptr;
}

std::vector<TWinSkinForm*> TSkinManage::SkinForms() const
{
    std::vector<TWinSkinForm*> frames;
    for (const auto& frame : FSkinForms)
        if (frame->State() != fsDetached)
            frames.push_back(frame.get());
    return frames;
}

TAttachRefusal TSkinManage::AttachRefusal(HWND window)
{
    PurgeForms();
    if (!FActive)
        return arInactive;
    if (!IsWindow(window) || FindSkinForm(window) || AnswersSkinQuery(window))
        return arAlreadySkinned;
    TWinControl* form = FindFormOfWindow(window);
    const std::wstring className = WindowClassName(window);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
    if (!FScanning && (style & WS_CHILD) && !mdiChild
        && LowerCase(WindowClassName(GetParent(window))) == L"mdiclient")
        return arMdiClientChild;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (!form && instance != FMainInstance && className != L"#32770")
        return arForeign;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    if ((bounds.right - bounds.left) * (bounds.bottom - bounds.top) == 0 && !mdiChild)
        return arZeroSize;
    if (form && form->Tag == kNeverSkinTag)
        return arDisabledTag;
    if (Contains(className, L"TcxPopupEditPopupWindow") || Contains(className, L"TTERenderWindow")
        || className == L"TApplication")
        return arExcludedClass;
    if (!ShouldSkin(window, className))
        return arVetoed;
    const TSkinData* skin = FindSkinData(window, className);
    if (!skin || skin->SkinLoading())
        return arNoSkin;
    return arAccepted;
}

bool TSkinManage::AttachForm(HWND window)
{
    if (AttachRefusal(window) != arAccepted)
        return false;
    TWinControl* form = FindFormOfWindow(window);
    const std::wstring className = WindowClassName(window);
    auto frame = std::make_unique<TWinSkinForm>(window, className, FindSkinData(window, className));
    TWinSkinForm* attached = frame.get();
    FSkinForms.push_back(std::move(frame));
    if (form)
        attached->AttachToForm(form);
    else
        attached->AttachToWindow();
    PostMessageW(window, WM_SKININIT, 0, 1000);
    return true;
}

bool TSkinManage::AttachVisibleForm(TCustomForm* form)
{
    if (!form || !form->Visible() || !form->HandleAllocated())
        return false;
    if (GetWindowLongPtrW(form->HandleIfAllocated(), GWL_STYLE) & WS_CHILD)
        return false;
    return AttachForm(form->HandleIfAllocated());
}

bool TSkinManage::ShouldSkin(HWND window, const std::wstring& className)
{
    if (!FMainSkinData)
        return true;
    const std::wstring lower = LowerCase(className);
    bool skin = true;
    if (!InSet(FMainSkinData->Options, xoPreview) && Contains(lower, L"preview"))
        skin = false;
    if (className == L"#32770" && (GetWindowLongPtrW(window, GWL_STYLE) & DS_SETFOREGROUND))
        skin = false;
    if (lower == L"tpopupdbtreeview")
        skin = false;
    FMainSkinData->QueryFormSkin(window, className, skin);
    return skin;
}

TSkinData* TSkinManage::FindSkinData(HWND window, const std::wstring& className) const
{
    const auto lastOf = [this](auto matches) -> TSkinData* {
        for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
            if (matches(**it))
                return *it;
        return nullptr;
    };
    if (TSkinData* own = lastOf([window](const TSkinData& skin) {
            const auto* owner = dynamic_cast<const TWinControl*>(skin.Owner());
            return skin.SkinFormtype == sfOnlyThisForm && owner && owner->HandleIfAllocated() == window;
        }))
        return own;
    const std::wstring lower = LowerCase(className);
    if (lower == L"tmessageform" || lower == L"#32770")
        if (TSkinData* dialog = lastOf([](const TSkinData& skin) { return skin.SkinFormtype == sfDialog; }))
            return dialog;
    if (TSkinData* main = lastOf([](const TSkinData& skin) { return skin.SkinFormtype == sfMainform; }))
        return main;
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

// --- Requests ---

void TSkinManage::RequestAction(int action, int delayMs)
{
    FPendingAction = action;
    if (!FRequestTimer)
        return;
    FRequestTimer->SetEnabled(false);
    FRequestTimer->SetInterval(static_cast<unsigned>(std::max(1, delayMs)));
    if (FRunState != 0) {
        FRequestTimer->SetEnabled(true);
        return;
    }
    if (action == kSkinAll)
        FActive = true;
    else if (action == kUnskinAll)
        FActive = false;
}

void TSkinManage::TimerTick(TObject*)
{
    ExecuteRequest();
}

void TSkinManage::ScanOpenForms(TSkinData* onlyOwnerOf)
{
    FActive = true;
    FScanning = true;
    PurgeForms();
    for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = Screen->Forms(i);
        if (!onlyOwnerOf || onlyOwnerOf->Owner() == form)
            AttachVisibleForm(form);
    }
    FScanning = false;
}

void TSkinManage::UnskinAndFree(TWinSkinForm* frame)
{
    const HWND window = frame->Handle();
    frame->Unskin();
    // A frame inside one of its own window's calls is freed at the next purge.
    if (!frame->Busy())
        RemoveSkinForm(frame);
    if (IsWindow(window)) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
}

void TSkinManage::RemoveSkinForm(TWinSkinForm* frame)
{
    std::erase_if(FSkinForms, [frame](const auto& entry) { return entry.get() == frame; });
}

void TSkinManage::ExecuteRequest()
{
    if (!FRequestTimer)
        return;
    FRequestTimer->SetEnabled(false);
    TSkinData* skin = FPendingSkinData;
    if (!skin)
        return;
    const int action = FPendingAction;
    const bool onlyOwnForm = skin->SkinFormtype == sfOnlyThisForm;
    switch (action) {
    case kSkinAll:
        ScanOpenForms(onlyOwnForm ? skin : nullptr);
        break;
    case kUnskinAll:
        FActive = false;
        PurgeForms();
        for (TWinSkinForm* frame : SkinForms())
            if (!onlyOwnForm || frame->SkinData() == skin)
                UnskinAndFree(frame);
        break;
    case kSkinChanged: {
        PurgeForms();
        std::vector<TWinSkinForm*> changed;
        for (TWinSkinForm* frame : SkinForms())
            if (frame->SkinData() == skin && (!onlyOwnForm || changed.empty()))
                changed.push_back(frame);
        for (TWinSkinForm* frame : changed) {
            frame->Caption().Release();
            frame->Remeasure();
        }
        for (TWinSkinForm* frame : changed)
            frame->Refresh();
        for (const auto& popup : FPopupMenus)
            popup->SkinChanged();
        break;
    }
    default:
        break;
    }
    if (skin->OnSkinChanged)
        skin->OnSkinChanged(skin);
    FPendingSkinData = nullptr;
}

// --- Popup menus ---

bool TSkinManage::AttachPopupMenu(HWND window)
{
    if (!FActive || AnswersSkinQuery(window) || IsPopupMenuSkinned(window))
        return false;
    TSkinData* skin = FindSkinData(window, L"#32768");
    if (!skin || skin->SkinLoading())
        return false;
    bool allowed = true;
    switch (PopupKind) {
    case 0: allowed = InSet(skin->SkinControls, xcPopupMenu); break;
    case 1: allowed = InSet(skin->SkinControls, xcMainMenu) || InSet(skin->SkinControls, xcMenuItem); break;
    case 2: allowed = InSet(skin->SkinControls, xcSystemMenu); break;
    default: break;
    }
    if (!allowed)
        return false;
    FPopupMenus.push_back(std::make_unique<TWinSkinPopMenu>(window, skin));
    return true;
}

bool TSkinManage::DetachPopupMenu(HWND window)
{
    // The object gives the window its procedure back as it goes.
    const size_t removed =
        std::erase_if(FPopupMenus, [window](const auto& popup) { return popup->Handle() == window; });
    if (FPopupMenus.empty())
        PopupKind = 0;
    return removed > 0;
}

// --- MDI ---

HWND TSkinManage::MDIClient() const noexcept
{
    for (const auto& frame : FSkinForms)
        if (HWND client = frame->MdiClientHook().Window())
            return client;
    return nullptr;
}

TWinControl* TSkinManage::MDIFrameForm() const noexcept
{
    for (const auto& frame : FSkinForms)
        if (frame->MdiClientHook().Window())
            return frame->Form();
    return nullptr;
}

bool TSkinManage::IsPopupMenuSkinned(HWND window) const
{
    return std::any_of(FPopupMenus.begin(), FPopupMenus.end(),
                       [window](const auto& popup) { return popup->Handle() == window; });
}

std::vector<HWND> TSkinManage::PopupMenus() const
{
    std::vector<HWND> windows;
    for (const auto& popup : FPopupMenus)
        windows.push_back(popup->Handle());
    return windows;
}

void TSkinManage::SetPopupOwner(HMENU menu)
{
    if (std::any_of(FPopupMenus.begin(), FPopupMenus.end(),
                    [menu](const auto& popup) { return popup->OwnerMenu == menu; }))
        return;
    for (auto popup = FPopupMenus.rbegin(); popup != FPopupMenus.rend(); ++popup)
        if (!(*popup)->OwnerMenu) {
            (*popup)->OwnerMenu = menu;
            return;
        }
}

const TBitmap* TSkinManage::PopupBitmapOf(HMENU menu) const
{
    for (const auto& popup : FPopupMenus)
        if (popup->OwnerMenu == menu)
            return popup->Background();
    return nullptr;
}

// --- Lists ---

void TSkinManage::PurgeForms()
{
    if (FRunState == kClosing)
        return;
    // A detached frame still running a call of its window (whose handling
    // destroyed the window) waits for the next purge.
    std::erase_if(FSkinForms, [](const auto& frame) { return frame->State() == fsDetached && !frame->Busy(); });
}

void TSkinManage::ReleaseAll()
{
    FActive = false;
    while (!FSkinForms.empty()) {
        std::unique_ptr<TWinSkinForm> frame = std::move(FSkinForms.back());
        FSkinForms.pop_back();
        frame->Release();
    }
}

// --- The one manager ---

void UseSkinManager()
{
    // Installing the factory again would end the manager it made.
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    SetSkinManagerFactory([]() -> std::unique_ptr<ISkinManagerLink> {
        auto manager = std::make_unique<TSkinManage>();
        SkinManager = manager.get();
        return manager;
    });
}
