// Program start: the application object makes the main window, whose
// OnCreate sets it up, and runs the message loop until it is closed.
#include "Main.h"

#include "skin/forms/SkinManager.h"

#include <ole2.h>

namespace {

// The guide panel's browser control and the shell's folder dialog are COM
// objects of this thread.
class TOleSession {
public:
    TOleSession() : FInitialised(SUCCEEDED(OleInitialize(nullptr))) {}
    ~TOleSession()
    {
        if (FInitialised)
            OleUninitialize();
    }
    TOleSession(const TOleSession&) = delete;
    TOleSession& operator=(const TOleSession&) = delete;

private:
    bool FInitialised;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const TOleSession ole;
    int exitCode = 0;
    try {
        Application->CreateForm<TFrmMain>();
        Application->Run();
    } catch (...) {
        Application->HandleException(nullptr);
        exitCode = 1;
    }
    // The windows get their own procedures back and the hook goes before
    // the forms are freed.
    ShutdownSkinManager();
    return exitCode;
}
