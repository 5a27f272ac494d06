#include "tools/encoder/EngineSearch.h"

#include <cwctype>

namespace vidkiln::tools {

namespace {

std::wstring WithoutTrailingSeparators(std::wstring dir)
{
    while (dir.size() > 1 && (dir.back() == L'\\' || dir.back() == L'/'))
        dir.pop_back();
    return dir;
}

std::wstring Joined(const std::wstring& dir, const std::wstring& file)
{
    return WithoutTrailingSeparators(dir) + L'\\' + file;
}

// Windows folder names compare without case and with either separator.
std::wstring FolderKey(const std::wstring& dir)
{
    std::wstring key = WithoutTrailingSeparators(dir);
    for (wchar_t& c : key)
        c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    return key;
}

std::vector<std::wstring> SplitPath(const std::wstring& variable)
{
    std::vector<std::wstring> dirs;
    size_t start = 0;
    while (start <= variable.size()) {
        size_t end = variable.find(L';', start);
        if (end == std::wstring::npos)
            end = variable.size();
        std::wstring dir = variable.substr(start, end - start);
        if (dir.size() >= 2 && dir.front() == L'"' && dir.back() == L'"')
            dir = dir.substr(1, dir.size() - 2);
        if (!dir.empty())
            dirs.push_back(dir);
        start = end + 1;
    }
    return dirs;
}

class TSearcher {
public:
    TSearcher(const std::wstring& name, const std::wstring& toolsDir,
              const std::function<bool(const std::wstring&)>& isFile)
        : FName(name), FToolsKey(FolderKey(toolsDir)), FIsFile(isFile)
    {
    }

    // The tools' own folder is never searched: its ffmpeg.exe is the tool
    // itself, which would start itself again and again.
    bool Try(const std::wstring& dir, bool linux)
    {
        if (FolderKey(dir) == FToolsKey)
            return false;
        const std::wstring path = Joined(dir, linux ? FName : FName + L".exe");
        FFound.Looked.push_back(path);
        if (!FIsFile(path))
            return false;
        FFound.Program = TEngineProgram{path, linux};
        return true;
    }

    // The Windows program first, then, under Wine, the Linux one.
    bool TryBoth(const std::wstring& dir, bool underWine)
    {
        return Try(dir, false) || (underWine && Try(dir, true));
    }

    TEngineFound Result() { return std::move(FFound); }

private:
    const std::wstring& FName;
    const std::wstring FToolsKey;
    const std::function<bool(const std::wstring&)>& FIsFile;
    TEngineFound FFound;
};

}  // namespace

TEngineFound FindEngineProgram(const TEngineSearch& search, const std::wstring& name,
                               const std::function<bool(const std::wstring&)>& isFile)
{
    TSearcher searcher(name, search.ToolsDir, isFile);
    if (search.EngineDir && !search.EngineDir->empty()) {
        searcher.TryBoth(*search.EngineDir, search.UnderWine);
        return searcher.Result();
    }
    if (searcher.TryBoth(Joined(search.ToolsDir, L"engine"), search.UnderWine))
        return searcher.Result();
    for (const std::wstring& dir : SplitPath(search.PathVariable))
        if (searcher.Try(dir, false))
            return searcher.Result();
    if (search.UnderWine)
        for (const std::wstring& dir : search.LinuxDirs)
            if (searcher.Try(dir, true))
                return searcher.Result();
    return searcher.Result();
}

std::wstring DescribeSearch(const std::wstring& name, const TEngineFound& found)
{
    std::wstring text = L"cannot find the real " + name + L"; looked for:";
    for (const std::wstring& path : found.Looked)
        text += L" " + path + L";";
    text += L" set ";
    text += kEngineDirVariable;
    text += L" to the folder that holds it";
    return text;
}

}  // namespace vidkiln::tools
