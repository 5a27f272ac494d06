#include "framework/Component.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Records its name in a shared log when freed.
class TLogged : public TComponent {
public:
    TLogged(TComponent* AOwner, std::vector<std::wstring>& Log, const std::wstring& AName)
        : TComponent(AOwner), FLog(Log)
    {
        SetName(AName);
    }
    ~TLogged() override { FLog.push_back(Name()); }

private:
    std::vector<std::wstring>& FLog;
};

class TWatcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> Seen;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        Seen.emplace_back(AComponent, Operation);
    }
};

} // namespace

TEST(Ownership, OwnerFreesOwnedInReverseOrderOfCreation)
{
    std::vector<std::wstring> Log;
    auto* Owner = new TLogged(nullptr, Log, L"Owner");
    new TLogged(Owner, Log, L"A");
    auto* B = new TLogged(Owner, Log, L"B");
    new TLogged(B, Log, L"B1");
    new TLogged(Owner, Log, L"C");
    delete Owner;
    // Each destructor body logs before its base frees what it owns.
    EXPECT_EQ(Log, (std::vector<std::wstring>{L"Owner", L"C", L"B", L"B1", L"A"}));
}

TEST(Ownership, EarlyFreeLeavesTheOwnersList)
{
    TWatcher Owner(nullptr);
    auto* A = new TComponent(&Owner);
    auto* B = new TComponent(&Owner);
    A->SetName(L"A");
    delete A;
    ASSERT_EQ(Owner.ComponentCount(), 1);
    EXPECT_EQ(Owner.Components(0), B);
    EXPECT_EQ(Owner.FindComponent(L"A"), nullptr);
    ASSERT_EQ(Owner.Seen.size(), 3u);
    EXPECT_EQ(Owner.Seen[2], std::make_pair(static_cast<TComponent*>(A), TOperation::opRemove));
}

TEST(Ownership, FindComponentIgnoresCase)
{
    TComponent Owner(nullptr);
    auto* Files = new TComponent(&Owner);
    Files->SetName(L"lvwFiles");
    EXPECT_EQ(Owner.FindComponent(L"LVWFILES"), Files);
    EXPECT_EQ(Owner.FindComponent(L"lvw"), nullptr);
    EXPECT_EQ(Owner.FindComponent(L""), nullptr);
    EXPECT_EQ(Files->Owner(), &Owner);
}

TEST(Ownership, NamesAreUniqueIdentifiersPerOwner)
{
    TComponent Owner(nullptr);
    auto* A = new TComponent(&Owner);
    auto* B = new TComponent(&Owner);
    A->SetName(L"Label1");
    EXPECT_THROW(B->SetName(L"LABEL1"), EComponentError);
    EXPECT_THROW(B->SetName(L"1Label"), EComponentError);
    EXPECT_THROW(B->SetName(L"a b"), EComponentError);
    EXPECT_TRUE(B->Name().empty());
    A->SetName(L"label1");
    EXPECT_EQ(A->Name(), L"label1");
    B->SetName(L"Label2");
    TComponent Stray(nullptr);
    Stray.SetName(L"Label2");
    EXPECT_THROW(Owner.InsertComponent(&Stray), EComponentError);
}

TEST(Ownership, InsertMovesBetweenOwners)
{
    TComponent First(nullptr);
    TComponent Second(nullptr);
    auto* C = new TComponent(&First);
    Second.InsertComponent(C);
    EXPECT_EQ(First.ComponentCount(), 0);
    EXPECT_EQ(Second.ComponentCount(), 1);
    EXPECT_EQ(C->Owner(), &Second);
}

TEST(Ownership, DestroyComponentsHandlesDestructorsThatFreeSiblings)
{
    std::vector<std::wstring> Log;
    struct TKiller : TComponent {
        TKiller(TComponent* AOwner, TComponent* AVictim) : TComponent(AOwner), Victim(AVictim) {}
        ~TKiller() override { delete Victim; }
        TComponent* Victim;
    };
    TComponent Owner(nullptr);
    auto* Victim = new TLogged(&Owner, Log, L"Victim");
    new TLogged(&Owner, Log, L"Other");
    new TKiller(&Owner, Victim);
    Owner.DestroyComponents();
    EXPECT_EQ(Owner.ComponentCount(), 0);
    EXPECT_EQ(Log, (std::vector<std::wstring>{L"Victim", L"Other"}));
}

namespace {

// Keeps pointers to components it does not own, the way the skin manager
// keeps its lists, and drops each when told it was freed.
class TReferrer : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<TComponent*> Items;

    void Add(TComponent* AComponent)
    {
        Items.push_back(AComponent);
        AComponent->FreeNotification(this);
    }
    void Drop(TComponent* AComponent)
    {
        std::erase(Items, AComponent);
        AComponent->RemoveFreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove)
            std::erase(Items, AComponent);
    }
};

} // namespace

TEST(FreeNotification, AReferencedComponentFreedFirstLeavesTheReferrersList)
{
    TReferrer Referrer(nullptr);
    auto* First = new TComponent(nullptr);
    auto* Second = new TComponent(nullptr);
    Referrer.Add(First);
    Referrer.Add(Second);
    Referrer.Add(First);
    delete First;
    EXPECT_EQ(Referrer.Items, std::vector<TComponent*>{Second});
    delete Second;
    EXPECT_TRUE(Referrer.Items.empty());
}

namespace {
// Counts what it is told, in a count that outlives it.
class TCounting : public TReferrer {
public:
    using TReferrer::TReferrer;
    static inline int Told = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        ++Told;
        TReferrer::Notification(AComponent, Operation);
    }
};
} // namespace

TEST(FreeNotification, AReferrerFreedFirstIsNeverToldAnything)
{
    auto* Referenced = new TComponent(nullptr);
    auto* Referrer = new TCounting(nullptr);
    Referrer->Add(Referenced);
    delete Referrer;
    // A referrer still linked would be called here, after it was freed.
    delete Referenced;
    EXPECT_EQ(TCounting::Told, 0);
}

TEST(FreeNotification, ComponentsFreedTogetherByTheirOwnerStayExact)
{
    TReferrer Referrer(nullptr);
    auto* Owner = new TComponent(nullptr);
    for (int I = 0; I < 3; ++I)
        Referrer.Add(new TComponent(Owner));
    auto* Both = new TReferrer(Owner);
    Both->Add(&Referrer);
    Referrer.Add(Both);
    delete Owner;
    EXPECT_TRUE(Referrer.Items.empty());
}
