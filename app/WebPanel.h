// TWebBrowser: the guide panel beside the settings. It shows a local page in
// the system's web browser control when the browser engine is there; when it
// is not (Wine without its engine, a stripped system), it shows the same
// guide as plain text, so the user never sees a download prompt or an error.
#pragma once

#include "framework/Controls.h"

#include <memory>
#include <string>

class TBrowserSite;

class TWebBrowser : public TCustomControl {
    VK_CLASS_INFO
public:
    explicit TWebBrowser(TComponent* AOwner);
    ~TWebBrowser() override;

    // Shows the page at this file path.
    void Navigate(const std::wstring& Path);

    // True while the page is shown by the browser control, false while the
    // text stands in for it.
    bool ShowsBrowser() const noexcept { return FSite != nullptr; }
    // The text shown in place of the page, empty while the browser shows it.
    std::wstring PlainText() const;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void ShowContent();
    bool ShowInBrowser();
    void ShowAsText();
    void CloseBrowser() noexcept;
    void FitContent();

    std::wstring FPath;
    std::unique_ptr<TBrowserSite> FSite;
    HWND FTextWindow = nullptr;
};
