// One program's skinning behind the C API: the skin data the engine reads and
// the manager that hooks the thread, both made at start and given back at
// stop. A program built without the framework has no form to own the skin
// data, so the session owns it.
#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

class TSkinData;

// A failure the C boundary turns into its code and text.
class ESkinApiError : public std::runtime_error {
public:
    ESkinApiError(int code, const std::wstring& text);
    int Code() const noexcept { return FCode; }
    const std::wstring& Text() const noexcept { return FText; }

private:
    int FCode;
    std::wstring FText;
};

class TSkinSession {
public:
    // Loads the skin and skins the calling thread's visible top-level windows
    // now and the others as they are activated. Throws ESkinApiError, having
    // kept nothing.
    explicit TSkinSession(const std::wstring& skinFile);
    // Frames still on windows are let go (not given back) and the hook goes;
    // the skin data goes last, since the frames paint from it.
    ~TSkinSession();
    TSkinSession(const TSkinSession&) = delete;
    TSkinSession& operator=(const TSkinSession&) = delete;

    // Every skinned window gets back its style, region, menu, procedure and
    // client size, and is repainted by the system.
    void GiveWindowsBack();
    // The new skin reaches the windows at the manager's next request tick;
    // a file that fails leaves the skin as it was. Throws ESkinApiError.
    void SwitchFile(const std::wstring& skinFile);
    bool IsSkinned(HWND window) const;

private:
    void Start(const std::wstring& skinFile);

    std::unique_ptr<TSkinData> FSkin;
};
