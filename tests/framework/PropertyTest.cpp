#include "framework/Component.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

namespace {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TSample : public TComponent {
    VK_CLASS_INFO
public:
    using TComponent::TComponent;
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    TAlignment Alignment = taLeftJustify;
    bool Checked = false;
    unsigned Anchors = 0;
    unsigned Interval = 1000;
    signed char Small = 0;
    std::string Hint;
    std::wstring Caption;
    TComponent* Linked = nullptr;
    int Fixed() const { return 42; }

private:
    int FWidth = 0;
};

class TSampleChild : public TSample {
    VK_CLASS_INFO
public:
    using TSample::TSample;
    std::wstring Caption2;
};

} // namespace

const TClassInfo& TSample::StaticClass()
{
    static const TClassInfo Info = TClassBuilder<TSample>("TSample", TComponent::StaticClass())
        .Integer("Width", &TSample::Width, &TSample::SetWidth)
        .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TSample::Alignment,
              [](TSample& S, TAlignment V) { S.Alignment = V; })
        .Field("Checked", &TSample::Checked)
        .Set("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TSample::Anchors,
             [](TSample& S, unsigned V) { S.Anchors = V; })
        .Field("Interval", &TSample::Interval)
        .Field("Small", &TSample::Small)
        .Field("Hint", &TSample::Hint)
        .Field("Caption", &TSample::Caption)
        .Object("Linked", TComponent::StaticClass(), &TSample::Linked)
        .Integer("Fixed", &TSample::Fixed)
        .Build();
    return Info;
}

const TClassInfo& TSampleChild::StaticClass()
{
    static const TClassInfo Info = TClassBuilder<TSampleChild>("TSampleChild", TSample::StaticClass())
        .Field("Caption", &TSampleChild::Caption2)
        .Build();
    return Info;
}

TEST(Properties, ReadsEveryKindByName)
{
    TSample S(nullptr);
    S.SetWidth(120);
    S.Alignment = taCenter;
    S.Checked = true;
    S.Anchors = 0b1010;
    S.Hint = "h\xC3\xA9";
    S.Caption = L"视频";
    TComponent Other(nullptr);
    S.Linked = &Other;

    EXPECT_EQ(GetOrdProp(&S, "Width"), 120);
    EXPECT_EQ(GetEnumProp(&S, "Alignment"), "taCenter");
    EXPECT_EQ(GetEnumProp(&S, "Checked"), "True");
    EXPECT_EQ(GetOrdProp(&S, "Anchors"), 0b1010);
    EXPECT_EQ(SetToString(*GetPropInfo(&S, "Anchors"), 0b1010), "[akTop,akBottom]");
    EXPECT_EQ(GetStrProp(&S, "Hint"), L"h\u00E9");
    EXPECT_EQ(GetStrProp(&S, "Caption"), L"视频");
    EXPECT_EQ(GetObjectProp(&S, "Linked"), &Other);
    EXPECT_EQ(GetObjectProp(&S, "Linked", &TComponent::StaticClass()), &Other);
    EXPECT_EQ(GetObjectProp(&S, "Linked", &TSample::StaticClass()), nullptr);
}

TEST(Properties, MissingOrMismatchedReadsAsAbsent)
{
    TSample S(nullptr);
    EXPECT_EQ(GetPropInfo(&S, "NoSuch"), nullptr);
    EXPECT_EQ(GetOrdProp(&S, "NoSuch"), std::nullopt);
    EXPECT_EQ(GetOrdProp(nullptr, "Width"), std::nullopt);
    EXPECT_EQ(GetOrdProp(&S, "Caption"), std::nullopt);
    EXPECT_EQ(GetEnumProp(&S, "Width"), std::nullopt);
    EXPECT_EQ(GetStrProp(&S, "Width"), std::nullopt);
    EXPECT_EQ(GetObjectProp(&S, "Width"), nullptr);
    EXPECT_EQ(GetObjectProp(&S, "Linked"), nullptr);
    EXPECT_FALSE(SetPropValue(&S, "NoSuch", L"1"));
    EXPECT_FALSE(SetPropValue(nullptr, "Width", L"1"));
}

TEST(Properties, LookupIgnoresCaseAndWalksTheClassChain)
{
    TSampleChild C(nullptr);
    C.SetWidth(7);
    C.Tag = 99;
    C.Caption = L"base";
    C.Caption2 = L"own";
    EXPECT_EQ(GetOrdProp(&C, "WIDTH"), 7);
    EXPECT_EQ(GetOrdProp(&C, "tag"), 99);
    EXPECT_EQ(GetStrProp(&C, "caption"), L"own");
    ASSERT_TRUE(SetPropValue(&C, "name", L"Child1"));
    EXPECT_EQ(C.Name(), L"Child1");
}

TEST(Properties, SetsFromText)
{
    struct TCase {
        const char* Name;
        const wchar_t* Text;
        bool Written;
        int64_t Ord;
    };
    const TCase Cases[] = {
        {"Width", L"250", true, 250},      {"Width", L" -3 ", true, -3},
        {"Width", L"$1F", true, 31},       {"Width", L"0x10", true, 16},
        {"Width", L"12abc", false, 0},     {"Width", L"", false, 0},
        {"Width", L"99999999999999999999", false, 0},
        {"Alignment", L"taRightJustify", true, 1}, {"Alignment", L"TACENTER", true, 2},
        {"Alignment", L"taNowhere", false, 0},
        {"Checked", L"true", true, 1},     {"Checked", L"yes", false, 0},
        {"Anchors", L"[akLeft, akRight]", true, 0b0101}, {"Anchors", L"[]", true, 0},
        {"Anchors", L"[akUp]", false, 0},  {"Anchors", L"akLeft", false, 0},
        {"Fixed", L"1", false, 42},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Name) + " = " + WideToUtf8(C.Text));
        TSample S(nullptr);
        EXPECT_EQ(SetPropValue(&S, C.Name, C.Text), C.Written);
        EXPECT_EQ(GetOrdProp(&S, C.Name), C.Ord);
    }
}

TEST(Properties, SetsTextAndRefusesObjects)
{
    TSample S(nullptr);
    EXPECT_TRUE(SetPropValue(&S, "Caption", L"转换完成"));
    EXPECT_EQ(S.Caption, L"转换完成");
    EXPECT_TRUE(SetPropValue(&S, "Hint", L"\u00E9"));
    EXPECT_EQ(S.Hint, "\xC3\xA9");
    EXPECT_FALSE(SetPropValue(&S, "Linked", L"x"));
}

TEST(Properties, ValuesTheTypeCannotHoldAreRefusedAndChangeNothing)
{
    struct TCase {
        const char* Name;
        int64_t Value;
    };
    const TCase Refused[] = {
        {"Alignment", 3}, {"Alignment", -1}, {"Anchors", 16}, {"Anchors", -1}, {"Checked", 2},
        {"Width", int64_t{1} << 40}, {"Width", -(int64_t{1} << 40)}, {"Interval", -1},
        {"Interval", int64_t{1} << 32}, {"Small", 128}, {"Small", -129},
    };
    for (const TCase& C : Refused) {
        SCOPED_TRACE(std::string(C.Name) + " = " + std::to_string(C.Value));
        TSample S(nullptr);
        const auto Before = GetOrdProp(&S, C.Name);
        EXPECT_THROW(SetOrdProp(&S, C.Name, C.Value), ERangeError);
        // Enumerations and sets are written by name; a number is no name.
        const std::wstring Text = Utf8ToWide(std::to_string(C.Value));
        if (GetPropInfo(&S, C.Name)->Kind == TTypeKind::tkInteger)
            EXPECT_THROW(SetPropValue(&S, C.Name, Text), ERangeError);
        else
            EXPECT_FALSE(SetPropValue(&S, C.Name, Text));
        EXPECT_EQ(GetOrdProp(&S, C.Name), Before);
    }
    try {
        TSample S(nullptr);
        SetPropValue(&S, "Interval", L"-1");
    } catch (const ERangeError& E) {
        EXPECT_NE(E.Message().find(L"Interval"), std::wstring::npos);
    }
    TSample S(nullptr);
    EXPECT_TRUE(SetOrdProp(&S, "Anchors", 15));
    EXPECT_TRUE(SetOrdProp(&S, "Width", -1));
    EXPECT_EQ(S.Width(), -1);
    EXPECT_TRUE(SetPropValue(&S, "Interval", L"4294967295"));
    EXPECT_EQ(S.Interval, 4294967295u);
    EXPECT_TRUE(SetOrdProp(&S, "Small", -128));
    EXPECT_EQ(S.Small, -128);
    EXPECT_FALSE(SetOrdProp(&S, "Missing", 1));
}

TEST(ClassInfo, NamesAndInheritance)
{
    TSampleChild C(nullptr);
    const TObject& O = C;
    EXPECT_EQ(O.ClassName(), "TSampleChild");
    EXPECT_TRUE(O.InheritsFrom(TSample::StaticClass()));
    EXPECT_TRUE(O.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(O.InheritsFrom("tsample"));
    EXPECT_TRUE(O.Is<TObject>());
    TSample S(nullptr);
    EXPECT_FALSE(S.InheritsFrom(TSampleChild::StaticClass()));
    EXPECT_FALSE(S.InheritsFrom("TSampleChildX"));
}

TEST(Text, Utf8RoundTripAndMalformedInput)
{
    EXPECT_EQ(WideToUtf8(L"a视\U0001F600"), "a\xE8\xA7\x86\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide("a\xE8\xA7\x86\xF0\x9F\x98\x80"), L"a视\U0001F600");
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD");
    EXPECT_EQ(Utf8ToWide("\xE8\xA7"), L"\uFFFD");
    EXPECT_EQ(Utf8ToWide("\xFF" "a"), L"\uFFFDa");
    EXPECT_TRUE(SameText(std::string_view("Caption"), std::string_view("CAPTION")));
    EXPECT_FALSE(SameText(std::string_view("Caption"), std::string_view("Captions")));
}
