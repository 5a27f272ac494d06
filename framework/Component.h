// Components: objects with an owner that frees them, a name unique among the
// owner's components and a Tag. Portable.
#pragma once

#include "Delegate.h"
#include "TypInfo.h"

#include <string>
#include <string_view>
#include <vector>

// Base of objects that publish properties (fonts, pictures, components).
class TPersistent : public TObject {
    VK_CLASS_INFO
};

using TNotifyEvent = TDelegate<void(TObject* Sender)>;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    VK_CLASS_INFO
public:
    // The owner, when given, frees this component with itself.
    explicit TComponent(TComponent* AOwner);
    // Frees the owned components in reverse order of creation, then leaves
    // the owner's list.
    ~TComponent() override;

    TComponent* Owner() const noexcept { return FOwner; }

    const std::wstring& Name() const noexcept { return FName; }
    // Throws EComponentError for a name that is not an identifier or that
    // another component of the same owner already has (case-insensitive).
    void SetName(const std::wstring& NewName);

    // Free for the program's use; the skin engine gives some values meaning.
    int Tag = 0;

    int ComponentCount() const noexcept { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<size_t>(Index)); }
    // Case-insensitive; nullptr when no owned component has that name.
    TComponent* FindComponent(std::wstring_view AName) const noexcept;

    // Moves ownership: a component is in at most one owner's list.
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees the owned components now; derived destructors call this when
    // their components must go before their own state (a form's controls
    // before its window).
    void DestroyComponents();

    bool Destroying() const noexcept { return FDestroying; }

    // AComponent, which keeps a pointer to this component without owning
    // it, is told (Notification(this, opRemove)) when this component is
    // freed, and clears its pointer then. The link goes both ways: when
    // AComponent is freed first it leaves this component's list, so a list
    // of components kept through these notifications is always exact.
    // Asking twice links once.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent) noexcept;

protected:
    // Told when a component joins or leaves this owner, and when a
    // component this one asked free notification of is freed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Marks the object as being freed and tells the components that asked
    // for free notification, while the derived parts are still whole;
    // derived destructors call it first, so that what they free can ask
    // Destroying().
    void BeginDestroy() noexcept;

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent) noexcept;
    void SendFreeNotifications() noexcept;

    TComponent* FOwner = nullptr;
    std::wstring FName;
    std::vector<TComponent*> FComponents;
    // Components linked by FreeNotification, in either direction.
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
};
