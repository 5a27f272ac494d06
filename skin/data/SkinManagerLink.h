// What the skin data needs from the skin manager. The manager lives in
// skin/forms and comes later; TSkinData reaches it only through this
// interface, and the manager's unit installs the factory that makes it.
//
// The one manager is made on first need through the factory and owned here.
// It ends only through ShutdownSkinManager (the program's shutdown order
// calls it once the forms are gone) or when another factory replaces the
// one that made it; either way its Shutdown runs, then it is freed.
#pragma once

#include <windows.h>

#include <memory>

class TSkinData;

class ISkinManagerLink {
public:
    virtual ~ISkinManagerLink() = default;

    virtual void RegisterSkinData(TSkinData* skinData) = 0;
    virtual void UnregisterSkinData(TSkinData* skinData) = 0;
    // The thread-local window-creation hook of the GUI thread.
    virtual void InstallHook() = 0;
    // Action 1 skin all, 2 unskin all, 3 skin changed; carried out delayMs later.
    virtual void RequestAction(int action, int delayMs) = 0;
    virtual void SetPendingSkinData(TSkinData* skinData) = 0;
    // Every skinned form using skinData drops its caption-button objects,
    // which point into the caption-button list just replaced.
    virtual void ReleaseCaptionButtons(TSkinData* skinData) = 0;
    virtual void SetActive(bool active) = 0;
    // 0 idle, 1 running, 4 closing.
    virtual int RunState() const = 0;
    virtual void SetRunState(int runState) = 0;
    virtual bool AttachForm(HWND window) = 0;
    // The unload: releases every skinned frame from its window and removes
    // the hooks, while the windows and the GUI thread still exist. Runs once,
    // just before the manager is freed.
    virtual void Shutdown() noexcept = 0;
};

// Makes the one process-wide manager; the manager's unit installs it.
using TSkinManagerFactory = std::unique_ptr<ISkinManagerLink> (*)();

// Installs the factory (nullptr: no manager can be made) and returns the
// previous one. A manager the previous factory made is shut down and freed
// first.
TSkinManagerFactory SetSkinManagerFactory(TSkinManagerFactory factory);
// Shuts the current manager down and frees it; nothing when there is none.
// A later EnsureSkinManager makes a new one if a factory is installed.
void ShutdownSkinManager() noexcept;

// The manager, or nullptr when none has been made yet.
ISkinManagerLink* CurrentSkinManager();
// The manager, made through the factory when there is none yet; nullptr
// when no factory is installed.
ISkinManagerLink* EnsureSkinManager();
