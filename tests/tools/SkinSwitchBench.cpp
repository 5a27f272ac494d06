// Skin switching with every window of the gallery open: the time from a new
// skin file to every window restyled and painted, against a fresh start of
// the gallery with that skin (the same windows made, skinned and painted),
// in the same run; then 1000 switches between the two shipped skins with the
// GDI and USER object counts before and after.
#include "Gallery.h"
#include "skin/data/BenchTiming.h"
#include "skin/data/GdiCount.h"
#include "skin/forms/SkinManager.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::wstring kSkins[] = {L"" VIDKILN_DEFAULT_SKIN_FILE, L"" VIDKILN_LIGHT_SKIN_FILE};

using benchtiming::Now;

// Every window painted now, its frame and all its children.
void PaintAll(const std::vector<HWND>& Windows)
{
    for (HWND Window : Windows)
        RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// The skin manager's pending request carried out now rather than on its timer.
void RunRequest()
{
    if (SkinManager->PendingSkinData())
        SkinManager->ExecuteRequest();
}

struct TGallery {
    std::unique_ptr<TFrmGallery> Form;
    std::vector<HWND> Windows;
};

TGallery OpenGallery(const std::wstring& Skin)
{
    TGallery Gallery{std::make_unique<TFrmGallery>(nullptr, Skin), {}};
    Gallery.Form->Show();
    RunRequest();
    Gallery.Windows = Gallery.Form->OpenPreviewWindows();
    RunRequest();
    PaintAll(Gallery.Windows);
    return Gallery;
}

void CloseGallery(TGallery& Gallery)
{
    Gallery.Form->CloseEverything();
    Gallery.Form.reset();
    Application->ProcessMessages();
}

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int Switches = argc > 1 ? _wtoi(argv[1]) : 1000;
    UseSkinManager();
    // The fresh start: the gallery with all its windows, skinned and painted.
    std::vector<double> Fresh;
    for (int I = 0; I < 5; ++I) {
        const double Start = Now();
        TGallery Gallery = OpenGallery(kSkins[I % 2]);
        Fresh.push_back((Now() - Start) * 1e3);
        CloseGallery(Gallery);
    }
    TGallery Gallery = OpenGallery(kSkins[0]);
    // A switch: the file loaded, every window restyled and painted.
    std::vector<double> Load, Restyle;
    for (int I = 1; I <= 20; ++I) {
        const double Start = Now();
        Gallery.Form->SkinData1->SetSkinFile(kSkins[I % 2]);
        const double Loaded = Now();
        RunRequest();
        PaintAll(Gallery.Windows);
        Load.push_back((Loaded - Start) * 1e3);
        Restyle.push_back((Now() - Loaded) * 1e3);
        Application->ProcessMessages();
    }
    const double FreshMs = Median(Fresh);
    const double LoadMs = Median(Load);
    const double RestyleMs = Median(Restyle);
    std::printf("%-40s %8.1f ms  (%zu windows)\n", "gallery fresh start, painted", FreshMs, Gallery.Windows.size());
    std::printf("%-40s %8.1f ms  ratio %.2f\n", "skin switch, file loaded", LoadMs, LoadMs / FreshMs);
    std::printf("%-40s %8.1f ms  ratio %.2f\n", "skin switch, windows restyled", RestyleMs, RestyleMs / FreshMs);
    std::printf("%-40s %8.1f ms  ratio %.2f (budget 100 ms)\n", "skin switch, whole", LoadMs + RestyleMs,
                (LoadMs + RestyleMs) / FreshMs);

    const gditest::TCounter Gdi = gditest::ChooseCounter();
    const long GdiBefore = Gdi.Count();
    const long UserBefore = gditest::UserObjectCount();
    const double Start = Now();
    for (int I = 1; I <= Switches; ++I) {
        Gallery.Form->SkinData1->SetSkinFile(kSkins[I % 2]);
        RunRequest();
        Application->ProcessMessages();
    }
    // An even count ends on the skin the count started with.
    if (Switches % 2) {
        Gallery.Form->SkinData1->SetSkinFile(kSkins[0]);
        RunRequest();
    }
    Application->ProcessMessages();
    std::printf("%-40s %8.1f ms each; GDI %+ld, USER %+ld (%s)\n",
                (std::to_string(Switches) + " switches").c_str(), (Now() - Start) * 1e3 / Switches,
                Gdi.Count() - GdiBefore, gditest::UserObjectCount() - UserBefore, Gdi.Source);
    CloseGallery(Gallery);
    return 0;
}
