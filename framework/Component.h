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

protected:
    // Told when a component joins or leaves this owner.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Marks the object as being freed; derived destructors call it first,
    // so that what they free can ask Destroying().
    void BeginDestroy() noexcept { FDestroying = true; }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent) noexcept;

    TComponent* FOwner = nullptr;
    std::wstring FName;
    std::vector<TComponent*> FComponents;
    bool FDestroying = false;
};
