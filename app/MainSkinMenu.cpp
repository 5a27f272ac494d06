// The "皮肤" sub-menu of the main window's window menu: the stored skin and
// the skin files beside the program.
#include "MainConstants.h"

using namespace mainwindow;

namespace {

constexpr wchar_t kSkinMenu[] = L"皮肤";

} // namespace

UINT TFrmMain::SkinCommand(size_t Index) noexcept
{
    // The system keeps the low four bits of a window-menu command.
    return kSkinCommandBase + static_cast<UINT>(Index) * 0x10;
}

void TFrmMain::AddSkinMenu()
{
    FStoredSkin = SkinData1->WriteSkinStream();
    FSkinChoices = FindSkinChoices(AppPath);
    HMENU windowMenu = GetSystemMenu(Handle(), FALSE);
    FSkinMenu = CreatePopupMenu();
    if (!windowMenu || !FSkinMenu)
        return;
    for (size_t index = 0; index < FSkinChoices.size() && index < kSkinCommandLimit; ++index)
        AppendMenuW(FSkinMenu, MF_STRING, SkinCommand(index), FSkinChoices[index].Label.c_str());
    AppendMenuW(windowMenu, MF_SEPARATOR, 0, nullptr);
    if (!AppendMenuW(windowMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(FSkinMenu), kSkinMenu)) {
        DestroyMenu(FSkinMenu);
        FSkinMenu = nullptr;
        return;
    }
    CheckChosenSkin();
}

void TFrmMain::CheckChosenSkin()
{
    if (FSkinMenu && !FSkinChoices.empty())
        CheckMenuRadioItem(FSkinMenu, SkinCommand(0), SkinCommand(FSkinChoices.size() - 1),
                           SkinCommand(FChosenSkin), MF_BYCOMMAND);
}

bool TFrmMain::ChooseSkin(size_t Index)
{
    if (Index >= FSkinChoices.size())
        return false;
    const TSkinChoice& choice = FSkinChoices[Index];
    if (choice.Path.empty()) {
        SkinData1->ReadSkinStream(FStoredSkin);
        if (SkinData1->SkinLoading())
            return false;
        SkinData1->ApplySkin();
    } else {
        // Checked before the skin is touched: a damaged file leaves the
        // skin in use as it is.
        const std::optional<std::vector<std::uint8_t>> bytes = ReadSkinFileBytes(choice.Path);
        const std::optional<std::wstring> fault =
            bytes ? SkinFileFault(*bytes) : std::optional<std::wstring>(L"the file cannot be read");
        if (fault) {
            Application->MessageBox(L"“" + choice.Label + L"”不是可用的皮肤文件，仍使用当前皮肤。\n\n" +
                                        choice.Path + L"\n" + *fault,
                                    kMessageTitle, MB_OK | MB_ICONWARNING);
            return false;
        }
        // Loads the file and hands the skin to every window; a file that
        // changed since the check leaves the skin in use as it is.
        if (!SkinData1->LoadSkinFile(choice.Path))
            return false;
    }
    FChosenSkin = Index;
    CheckChosenSkin();
    return true;
}
