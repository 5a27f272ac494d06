#include "Program.h"

#include "framework/Forms.h"
#include "skin/data/SkinManagerLink.h"

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

int RunProgram(const std::function<void()>& MakeForms)
{
    const TOleSession ole;
    int result = 0;
    try {
        MakeForms();
        Application->Run();
    } catch (...) {
        Application->HandleException(nullptr);
        result = 1;
    }
    // The skin manager goes first, while every window it skinned still
    // exists: its frames give the windows their own procedures back and its
    // hook goes. Then the forms, then COM when the session ends.
    ShutdownSkinManager();
    Application->Shutdown();
    return result;
}
