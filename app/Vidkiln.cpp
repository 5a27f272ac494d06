// Program start: the application object makes the main window, whose
// OnCreate sets it up, and runs the message loop until it is closed; then
// everything ends in the order RunProgram writes down.
#include "Main.h"
#include "Program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return RunProgram([] { Application->CreateForm<TFrmMain>(); });
}
