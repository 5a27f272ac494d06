#include "ProcessStart.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace {

[[noreturn]] void ThrowLastError(const char* What)
{
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), What);
}

// The attribute list that names the handles a child inherits.
class THandleList {
public:
    explicit THandleList(std::vector<HANDLE> Handles) : FHandles(std::move(Handles))
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        FBuffer.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(FBuffer.data());
        if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size))
            ThrowLastError("Cannot make a process attribute list");
        FList = list;
        if (!UpdateProcThreadAttribute(FList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, FHandles.data(),
                                       FHandles.size() * sizeof(HANDLE), nullptr, nullptr)) {
            const DWORD error = GetLastError();
            DeleteProcThreadAttributeList(FList);
            throw std::system_error(static_cast<int>(error), std::system_category(), "Cannot list inherited handles");
        }
    }
    ~THandleList() { DeleteProcThreadAttributeList(FList); }
    THandleList(const THandleList&) = delete;
    THandleList& operator=(const THandleList&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const noexcept { return FList; }

private:
    std::vector<HANDLE> FHandles;
    std::vector<char> FBuffer;
    LPPROC_THREAD_ATTRIBUTE_LIST FList = nullptr;
};

// Each handle once: the list refuses duplicates.
std::vector<HANDLE> InheritedHandles(const TProcessStart& Start)
{
    std::vector<HANDLE> handles;
    for (HANDLE handle : {Start.StdInput, Start.StdOutput, Start.StdError})
        if (handle)
            handles.push_back(handle);
    handles.insert(handles.end(), Start.Inherit.begin(), Start.Inherit.end());
    std::sort(handles.begin(), handles.end());
    handles.erase(std::unique(handles.begin(), handles.end()), handles.end());
    return handles;
}

} // namespace

TPipe MakePipe(TChildEnd ChildEnd, DWORD Size)
{
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, Size))
        ThrowLastError("Cannot make a pipe");
    TPipe pipe{TKernelHandle(read), TKernelHandle(write)};
    const HANDLE childs = ChildEnd == TChildEnd::Read ? read : write;
    if (!SetHandleInformation(childs, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT))
        ThrowLastError("Cannot make a pipe end inheritable");
    return pipe;
}

TStartedProcess StartProcess(const TProcessStart& Start)
{
    const std::vector<HANDLE> handles = InheritedHandles(Start);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    if (Start.StdInput || Start.StdOutput || Start.StdError) {
        startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = Start.StdInput;
        startup.StartupInfo.hStdOutput = Start.StdOutput;
        startup.StartupInfo.hStdError = Start.StdError;
    }
    if (Start.Show >= 0) {
        startup.StartupInfo.dwFlags |= STARTF_USESHOWWINDOW;
        startup.StartupInfo.wShowWindow = static_cast<WORD>(Start.Show);
    }
    // An empty list would mean "inherit nothing" to some systems and be
    // refused by others; no handles to give means no inheritance at all.
    std::optional<THandleList> list;
    if (!handles.empty()) {
        list.emplace(handles);
        startup.lpAttributeList = list->Get();
    }
    // CreateProcessW may write into the command line; it gets a copy.
    std::wstring commandLine = Start.CommandLine;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(Start.Program.empty() ? nullptr : Start.Program.c_str(), commandLine.data(), nullptr, nullptr,
                        list ? TRUE : FALSE, Start.Flags | CREATE_UNICODE_ENVIRONMENT | (list ? EXTENDED_STARTUPINFO_PRESENT : 0),
                        nullptr, nullptr, &startup.StartupInfo, &process))
        ThrowLastError("Cannot start the process");
    return {TKernelHandle(process.hProcess), TKernelHandle(process.hThread), process.dwProcessId};
}
