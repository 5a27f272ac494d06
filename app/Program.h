// The program's life from start to end, in the order docs/architecture.md
// writes down: COM for the GUI thread; the forms; the message loop; then
// the shutdown order (the skin manager's unload while the windows still
// exist; then the forms and everything the application owns, main form
// first), all before COM ends and before static destruction, so no window
// and no COM object outlives RunProgram.
#pragma once

#include <functional>

// MakeForms creates the forms through Application->CreateForm, the main
// form first. Returns the program's exit code: 1 when starting failed.
int RunProgram(const std::function<void()>& MakeForms);
