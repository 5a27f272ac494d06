#include "LineList.h"

#include <stdexcept>

void TLineList::Add(std::string Line)
{
    std::lock_guard guard(FLock);
    FLines.push_back(std::move(Line));
}

void TLineList::ReplaceLast(std::string Line)
{
    std::lock_guard guard(FLock);
    if (FLines.empty())
        FLines.push_back(std::move(Line));
    else
        FLines.back() = std::move(Line);
}

void TLineList::Clear()
{
    std::lock_guard guard(FLock);
    FLines.clear();
}

std::size_t TLineList::Count() const
{
    std::lock_guard guard(FLock);
    return FLines.size();
}

std::string TLineList::Line(std::size_t Index) const
{
    std::lock_guard guard(FLock);
    if (Index >= FLines.size())
        throw std::out_of_range("line index out of range");
    return FLines[Index];
}

std::vector<std::string> TLineList::Lines() const
{
    std::lock_guard guard(FLock);
    return FLines;
}

std::string TLineList::Text() const
{
    std::lock_guard guard(FLock);
    std::string text;
    for (const std::string& line : FLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}
