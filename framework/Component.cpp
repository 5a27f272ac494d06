#include "Component.h"

#include "SysUtils.h"

#include <algorithm>

const TClassInfo& TPersistent::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TPersistent", &TObject::StaticClass(), {});
    return Info;
}

const TClassInfo& TComponent::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TComponent>("TComponent", TPersistent::StaticClass())
        .WideText("Name", &TComponent::Name, &TComponent::SetName)
        .Field("Tag", &TComponent::Tag)
        .Build());
    return Info;
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    BeginDestroy();
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

namespace {

bool IsIdentifier(std::wstring_view S)
{
    auto Letter = [](wchar_t C) { return (C >= L'A' && C <= L'Z') || (C >= L'a' && C <= L'z') || C == L'_'; };
    auto Digit = [](wchar_t C) { return C >= L'0' && C <= L'9'; };
    if (S.empty() || !Letter(S.front()))
        return false;
    return std::all_of(S.begin(), S.end(), [&](wchar_t C) { return Letter(C) || Digit(C); });
}

} // namespace

void TComponent::SetName(const std::wstring& NewName)
{
    if (NewName == FName)
        return;
    if (!NewName.empty() && !IsIdentifier(NewName))
        throw EComponentError(L"\"" + NewName + L"\" is not a valid component name");
    if (FOwner && !NewName.empty()) {
        const TComponent* Other = FOwner->FindComponent(NewName);
        if (Other && Other != this)
            throw EComponentError(L"A component named " + NewName + L" already exists");
    }
    FName = NewName;
}

TComponent* TComponent::FindComponent(std::wstring_view AName) const noexcept
{
    if (AName.empty())
        return nullptr;
    for (TComponent* C : FComponents)
        if (SameText(C->FName, AName))
            return C;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
        throw EComponentError(L"A component named " + AComponent->FName + L" already exists");
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    // Each destructor takes its component out of the list, so the loop ends
    // even when a destructor frees siblings of its own.
    while (!FComponents.empty())
        delete FComponents.back();
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::BeginDestroy() noexcept
{
    FDestroying = true;
    SendFreeNotifications();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) != FFreeNotifies.end())
        return;
    FFreeNotifies.push_back(AComponent);
    AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) noexcept
{
    if (!AComponent)
        return;
    std::erase(FFreeNotifies, AComponent);
    std::erase(AComponent->FFreeNotifies, this);
}

// Each partner leaves the list before it hears of this component's end, so a
// Notification that frees other linked components finds the list current.
void TComponent::SendFreeNotifications() noexcept
{
    while (!FFreeNotifies.empty()) {
        TComponent* Other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(Other->FFreeNotifies, this);
        Other->Notification(this, TOperation::opRemove);
    }
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) noexcept
{
    std::erase(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}
