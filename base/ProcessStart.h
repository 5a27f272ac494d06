// Child processes that inherit exactly the handles they are given.
//
// Inheritance on Windows is process-wide: every inheritable handle goes to
// every child created with bInheritHandles, so two children started at the
// same time from two threads would each hold the other's pipe ends. Here a
// child gets its standard handles and the handles listed, and nothing else
// (PROC_THREAD_ATTRIBUTE_HANDLE_LIST).
#pragma once

#include "KernelHandle.h"

#include <windows.h>

#include <string>
#include <vector>

// An anonymous pipe. The end meant for a child is made inheritable; the
// other end never is.
struct TPipe {
    TKernelHandle Read;
    TKernelHandle Write;
};
enum class TChildEnd { Read, Write };
// Throws std::system_error.
TPipe MakePipe(TChildEnd ChildEnd, DWORD Size = 0);

struct TProcessStart {
    // The program file; empty: the first word of CommandLine.
    std::wstring Program;
    std::wstring CommandLine;
    // Creation flags (priority class, CREATE_NEW_CONSOLE ...).
    DWORD Flags = 0;
    // Standard handles of the child, each inherited. When any is given,
    // the ones left nullptr are none; when none is given, the child keeps
    // the standard handles a new process gets anyway.
    HANDLE StdInput = nullptr;
    HANDLE StdOutput = nullptr;
    HANDLE StdError = nullptr;
    // Further handles the child inherits; they must be inheritable.
    std::vector<HANDLE> Inherit;
    // SW_HIDE hides the child's window; -1 leaves it to the child.
    int Show = -1;
};

struct TStartedProcess {
    TKernelHandle Process;
    TKernelHandle Thread;
    DWORD Id = 0;
};

// Throws std::system_error carrying the system's error code.
TStartedProcess StartProcess(const TProcessStart& Start);
