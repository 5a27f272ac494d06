// What a Win32 callback of the base layer (window subclass, thread hook)
// does with an exception that must not cross back into the system: it hands
// it to the reporter the program installed. The GUI framework installs its
// application's reporter; until then the text goes to the debugger output.
#pragma once

// Called inside a catch block.
using TCallbackReporter = void (*)() noexcept;

// nullptr puts the debugger-output reporter back.
void SetCallbackReporter(TCallbackReporter Reporter) noexcept;
// Call only inside a catch block.
void ReportCallbackException() noexcept;
