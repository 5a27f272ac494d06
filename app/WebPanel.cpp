#include "WebPanel.h"

#include "GuideText.h"

#include "framework/GdiObjects.h"
#include "framework/SysUtils.h"

#include <exdisp.h>
#include <ole2.h>

#include <filesystem>
#include <fstream>
#include <sstream>

// COM interfaces have no virtual destructors: objects behind them are freed
// through Release, never deleted through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The container side of an embedded browser control: the least a control
// needs to activate in place inside our window. Its lifetime is the panel's;
// the counts only satisfy COM, the browser is closed and released before the
// site goes.
class TBrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit TBrowserSite(HWND Window) : FWindow(Window) {}
    TBrowserSite(const TBrowserSite&) = delete;
    TBrowserSite& operator=(const TBrowserSite&) = delete;
    ~TBrowserSite() { Close(); }

    bool Open(const std::wstring& Url);
    void Close() noexcept;
    void Fit(const RECT& Client) const;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override
    {
        if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IOleClientSite))
            *Object = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(Iid, IID_IOleInPlaceSite) || IsEqualIID(Iid, IID_IOleWindow))
            *Object = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(Iid, IID_IOleInPlaceFrame) || IsEqualIID(Iid, IID_IOleInPlaceUIWindow))
            *Object = static_cast<IOleInPlaceFrame*>(this);
        else {
            *Object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** Container) override
    {
        *Container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, shared by the site and the frame
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* Window) override
    {
        *Window = FWindow;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** Frame, IOleInPlaceUIWindow** Doc,
                                               RECT* Position, RECT* Clip,
                                               OLEINPLACEFRAMEINFO* Info) override
    {
        *Frame = this;
        *Doc = nullptr;
        GetClientRect(FWindow, Position);
        *Clip = *Position;
        Info->fMDIApp = FALSE;
        Info->hwndFrame = GetAncestor(FWindow, GA_ROOT);
        Info->haccel = nullptr;
        Info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return E_NOTIMPL; }

private:
    HWND FWindow;
    IOleObject* FObject = nullptr;
    IWebBrowser2* FBrowser = nullptr;
};
#pragma GCC diagnostic pop

namespace {

// The browser control alone does not show pages: without the HTML engine
// (Wine without Gecko) it would ask to download one.
bool BrowserEngineAvailable()
{
    CLSID htmlDocument;
    IUnknown* document = nullptr;
    if (FAILED(CLSIDFromProgID(L"htmlfile", &htmlDocument)) ||
        FAILED(CoCreateInstance(htmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&document))))
        return false;
    document->Release();
    return true;
}

std::string ReadFileBytes(const std::wstring& Path)
{
    std::ifstream file(std::filesystem::path(Path), std::ios::binary);
    if (!file)
        return {};
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::wstring WithCrLf(const std::wstring& Text)
{
    std::wstring result;
    for (const wchar_t c : Text) {
        if (c == L'\n')
            result += L'\r';
        result += c;
    }
    return result;
}

int AverageCharWidth(HFONT Font)
{
    const gdi::ClientDC screen(nullptr);
    const gdi::Selection selected(screen.Get(), Font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    return metrics.tmAveCharWidth;
}

} // namespace

bool TBrowserSite::Open(const std::wstring& Url)
{
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&FObject))))
        return false;
    RECT client;
    GetClientRect(FWindow, &client);
    if (FAILED(FObject->SetClientSite(this)) ||
        FAILED(OleSetContainedObject(FObject, TRUE)) ||
        FAILED(FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, FWindow, &client)) ||
        FAILED(FObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&FBrowser)))) {
        Close();
        return false;
    }
    Fit(client);
    BSTR url = SysAllocString(Url.c_str());
    const HRESULT navigated = FBrowser->Navigate(url, nullptr, nullptr, nullptr, nullptr);
    SysFreeString(url);
    if (FAILED(navigated)) {
        Close();
        return false;
    }
    return true;
}

void TBrowserSite::Close() noexcept
{
    if (FBrowser) {
        FBrowser->Release();
        FBrowser = nullptr;
    }
    if (FObject) {
        FObject->Close(OLECLOSE_NOSAVE);
        FObject->SetClientSite(nullptr);
        FObject->Release();
        FObject = nullptr;
    }
}

void TBrowserSite::Fit(const RECT& Client) const
{
    if (!FBrowser)
        return;
    FBrowser->put_Left(Client.left);
    FBrowser->put_Top(Client.top);
    FBrowser->put_Width(Client.right - Client.left);
    FBrowser->put_Height(Client.bottom - Client.top);
}

const TClassInfo& TWebBrowser::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TWebBrowser", &TCustomControl::StaticClass(), {});
    return Info;
}

TWebBrowser::TWebBrowser(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clWindow);
}

TWebBrowser::~TWebBrowser()
{
    // The browser must let go of our window before the window goes.
    CloseBrowser();
}

void TWebBrowser::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TWebBrowser::Navigate(const std::wstring& Path)
{
    FPath = Path;
    // Without a window yet, CreateWnd shows the page once there is one.
    if (HandleAllocated())
        ShowContent();
}

void TWebBrowser::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (!FPath.empty())
        ShowContent();
}

void TWebBrowser::DestroyWnd()
{
    CloseBrowser();
    FTextWindow = nullptr;
    TCustomControl::DestroyWnd();
}

void TWebBrowser::ShowContent()
{
    CloseBrowser();
    if (FTextWindow) {
        DestroyWindow(FTextWindow);
        FTextWindow = nullptr;
    }
    if (!ShowInBrowser())
        ShowAsText();
}

bool TWebBrowser::ShowInBrowser()
{
    if (GetFileAttributesW(FPath.c_str()) == INVALID_FILE_ATTRIBUTES || !BrowserEngineAvailable())
        return false;
    auto site = std::make_unique<TBrowserSite>(Handle());
    if (!site->Open(L"file:///" + FPath))
        return false;
    FSite = std::move(site);
    return true;
}

void TWebBrowser::ShowAsText()
{
    const std::string page = ReadFileBytes(FPath);
    const std::wstring text = page.empty() ? L"找不到使用指南：" + FPath
                                           : WithCrLf(Utf8ToWide(vidkiln::PlainTextFromHtml(page)));
    RECT client;
    GetClientRect(Handle(), &client);
    FTextWindow = CreateWindowExW(0, L"EDIT", text.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                      ES_AUTOVSCROLL,
                                  0, 0, client.right, client.bottom, Handle(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!FTextWindow)
        return;
    SendMessageW(FTextWindow, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    // The edit box draws from its very edge; a character's width of margin
    // keeps the text off the panel's border at every font size.
    const int margin = AverageCharWidth(Font()->Handle());
    SendMessageW(FTextWindow, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
}

std::wstring TWebBrowser::PlainText() const
{
    if (!FTextWindow)
        return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(FTextWindow)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(FTextWindow, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TWebBrowser::CloseBrowser() noexcept
{
    FSite.reset();
}

void TWebBrowser::FitContent()
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (FSite)
        FSite->Fit(client);
    if (FTextWindow)
        MoveWindow(FTextWindow, 0, 0, client.right, client.bottom, TRUE);
}

void TWebBrowser::WndProc(TMessage& Message)
{
    TCustomControl::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        FitContent();
}
