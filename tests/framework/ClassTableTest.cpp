// Every control class by the names the skin engine uses: each is made on a
// form with its window, each published property it must offer is written by
// name and read back by name (after the window exists, so the value went
// through the platform control where it lives there), and the class tests
// by inheritance and by exact name hold.
#include "GuiTestUtil.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TPropCase {
    const char* Name;
    const wchar_t* Value; // written, then expected back
};

struct TClassCase {
    const char* ClassName;
    std::function<TComponent*(TForm& Form)> Make;
    std::vector<const char*> Ancestors;
    std::vector<TPropCase> Props;
};

template <class T>
std::function<TComponent*(TForm&)> On()
{
    return [](TForm& Form) -> TComponent* {
        T* Made = new T(&Form);
        if constexpr (std::is_base_of_v<TControl, T>)
            Made->SetParent(&Form);
        return Made;
    };
}

// A property's value as text, the way SetPropValue takes it.
std::wstring ReadAsText(TObject* Object, const char* Name)
{
    const TPropInfo* Prop = GetPropInfo(Object, Name);
    if (!Prop)
        return L"<absent>";
    switch (Prop->Kind) {
    case TTypeKind::tkEnumeration:
        return Utf8ToWide(GetEnumProp(Object, Name).value_or("?"));
    case TTypeKind::tkSet:
        return Utf8ToWide(SetToString(*Prop, GetOrdProp(Object, Name).value_or(0)));
    case TTypeKind::tkInteger:
        return std::to_wstring(GetOrdProp(Object, Name).value_or(-99999));
    case TTypeKind::tkString:
    case TTypeKind::tkWString:
        return GetStrProp(Object, Name).value_or(L"?");
    case TTypeKind::tkClass:
        return L"<object>";
    }
    return L"?";
}

const std::vector<TClassCase>& Classes()
{
    static const std::vector<TClassCase> Table{
        {"TButton", On<TButton>(), {"TButtonControl", "TWinControl"},
         {{"Caption", L"&OK"}, {"Default", L"True"}, {"Cancel", L"True"}, {"ModalResult", L"1"},
          {"Enabled", L"False"}, {"Tag", L"5555"}}},
        {"TBitBtn", On<TBitBtn>(), {"TButton", "TButtonControl"},
         {{"Caption", L"Open"}, {"NumGlyphs", L"2"}, {"Layout", L"blGlyphTop"}, {"Margin", L"3"},
          {"Spacing", L"-1"}, {"ImageIndex", L"1"}, {"DisabledIndex", L"2"}, {"Kind", L"bkCustom"},
          {"Default", L"True"}}},
        {"TSpeedButton", On<TSpeedButton>(), {"TGraphicControl", "TControl"},
         {{"Caption", L"B"}, {"GroupIndex", L"1"}, {"Down", L"True"}, {"AllowAllUp", L"True"}, {"Flat", L"True"},
          {"NumGlyphs", L"4"}, {"Layout", L"blGlyphRight"}, {"Margin", L"2"}, {"Spacing", L"1"},
          {"Transparent", L"False"}}},
        {"TCheckBox", On<TCheckBox>(), {"TCustomCheckBox", "TButtonControl"},
         {{"Caption", L"Check"}, {"AllowGrayed", L"True"}, {"State", L"cbGrayed"}, {"Checked", L"True"},
          {"State", L"cbChecked"}, {"Alignment", L"taLeftJustify"}}},
        {"TRadioButton", On<TRadioButton>(), {"TButtonControl"},
         {{"Caption", L"Radio"}, {"Checked", L"True"}, {"Alignment", L"taLeftJustify"}}},
        {"TGroupBox", On<TGroupBox>(), {"TCustomGroupBox", "TWinControl"},
         {{"Caption", L"Group"}, {"ParentBackground", L"True"}, {"Color", L"255"}}},
        {"TRadioGroup", On<TRadioGroup>(), {"TCustomRadioGroup", "TCustomGroupBox"},
         {{"Caption", L"Choose"}, {"Columns", L"2"}, {"ItemIndex", L"-1"}}},
        {"TEdit", On<TEdit>(), {"TCustomEdit", "TWinControl"},
         {{"Text", L"typed"}, {"ReadOnly", L"True"}, {"MaxLength", L"40"}, {"PasswordChar", L"42"},
          {"BorderStyle", L"bsNone"}, {"Alignment", L"taRightJustify"}, {"Color", L"65535"}}},
        {"TMemo", On<TMemo>(), {"TCustomMemo", "TCustomEdit"},
         {{"Text", L"one\r\ntwo"}, {"ScrollBars", L"ssBoth"}, {"WordWrap", L"False"}, {"WantTabs", L"True"},
          {"ReadOnly", L"True"}, {"BorderStyle", L"bsSingle"}}},
        {"TRichEdit", On<TRichEdit>(), {"TCustomRichEdit", "TCustomMemo", "TCustomEdit"},
         {{"Text", L"rich"}, {"ScrollBars", L"ssVertical"}, {"PlainText", L"True"}, {"ReadOnly", L"True"}}},
        {"TListBox", On<TListBox>(), {"TCustomListBox"},
         {{"ItemIndex", L"-1"}, {"Sorted", L"True"}, {"MultiSelect", L"True"}, {"Style", L"lbOwnerDrawFixed"},
          {"BorderStyle", L"bsNone"}, {"IntegralHeight", L"True"}}},
        {"TScrollBar", On<TScrollBar>(), {"TWinControl"},
         {{"Kind", L"sbVertical"}, {"Max", L"200"}, {"Min", L"10"}, {"Position", L"150"}, {"PageSize", L"20"},
          {"SmallChange", L"2"}, {"LargeChange", L"20"}}},
        {"TScrollBox", On<TScrollBox>(), {"TScrollingWinControl"},
         {{"BorderStyle", L"bsNone"}, {"AutoScroll", L"True"}}},
        {"TPageControl", On<TPageControl>(), {"TCustomTabControl", "TWinControl"},
         {{"TabPosition", L"tpBottom"}, {"MultiLine", L"True"}, {"Style", L"tsButtons"}, {"ActivePageIndex", L"-1"},
          {"PageCount", L"0"}, {"Tag", L"7777"}}},
        {"TTabSheet", On<TTabSheet>(), {"TWinControl"},
         {{"Caption", L"Page"}, {"TabVisible", L"False"}, {"ImageIndex", L"2"}, {"ParentBackground", L"True"},
          {"PageIndex", L"-1"}}},
        {"TTabControl", On<TTabControl>(), {"TCustomTabControl"},
         {{"TabPosition", L"tpLeft"}, {"TabIndex", L"-1"}, {"Style", L"tsFlatButtons"}}},
        {"THeaderControl", On<THeaderControl>(), {"TWinControl"}, {{"Style", L"hsFlat"}, {"SectionCount", L"0"}}},
        {"TTrackBar", On<TTrackBar>(), {"TWinControl"},
         {{"Max", L"50"}, {"Min", L"5"}, {"Position", L"20"}, {"Orientation", L"trVertical"}, {"Frequency", L"5"},
          {"TickStyle", L"tsNone"}, {"TickMarks", L"tmBoth"}, {"PageSize", L"7"}, {"Transparent", L"True"}}},
        {"TUpDown", On<TUpDown>(), {"TCustomUpDown"},
         {{"Max", L"500"}, {"Min", L"-5"}, {"Position", L"250"}, {"Increment", L"5"}, {"Orientation", L"udHorizontal"},
          {"Wrap", L"True"}, {"ArrowKeys", L"False"}, {"Thousands", L"False"}, {"AlignButton", L"udLeft"}}},
        {"TDateTimePicker", On<TDateTimePicker>(), {"TWinControl"},
         {{"Kind", L"dtkTime"}, {"DateFormat", L"dfLong"}, {"DateTime", L"2024-02-29 13:45:10"},
          {"ShowCheckbox", L"True"}}},
        {"TToolBar", On<TToolBar>(), {"TWinControl"},
         {{"Flat", L"False"}, {"ShowCaptions", L"True"}, {"List", L"True"}, {"ButtonCount", L"0"}}},
        {"TToolButton", On<TToolButton>(), {"TComponent"},
         {{"Caption", L"Tool"}, {"ImageIndex", L"1"}, {"Style", L"tbsCheck"}, {"Down", L"True"},
          {"Enabled", L"False"}, {"Grouped", L"True"}}},
        {"TComboBox", On<TComboBox>(), {"TCustomComboBox"}, {{"Style", L"csDropDownList"}, {"DropDownCount", L"12"}}},
        {"TListView", On<TListView>(), {"TCustomListView"}, {{"ViewStyle", L"vsReport"}, {"BorderStyle", L"bsNone"}}},
        {"TProgressBar", On<TProgressBar>(), {"TWinControl"}, {{"Max", L"10"}, {"Position", L"5"}}},
        {"TStatusBar", On<TStatusBar>(), {"TCustomStatusBar"}, {{"SimplePanel", L"True"}, {"SimpleText", L"Ready"}}},
        {"TPanel", On<TPanel>(), {"TCustomPanel"}, {{"ParentBackground", L"True"}, {"BevelOuter", L"bvNone"}}},
        {"TLabel", On<TLabel>(), {"TCustomLabel", "TGraphicControl"}, {{"Transparent", L"True"}, {"Caption", L"L"}}},
        {"TBevel", On<TBevel>(), {"TGraphicControl"}, {{"Shape", L"bsTopLine"}, {"Style", L"bsRaised"}}},
        {"TImageList", On<TImageList>(), {"TCustomImageList", "TComponent"},
         {{"Width", L"24"}, {"Height", L"20"}, {"Count", L"0"}}},
        {"TMainMenu", On<TMainMenu>(), {"TMenu"}, {{"OwnerDraw", L"True"}, {"BiDiMode", L"bdRightToLeft"}}},
        {"TPopupMenu", On<TPopupMenu>(), {"TMenu"},
         {{"OwnerDraw", L"True"}, {"Alignment", L"paRight"}, {"Tag", L"99"}}},
        {"TMenuItem", On<TMenuItem>(), {"TComponent"},
         {{"Caption", L"&Open"}, {"Enabled", L"False"}, {"Visible", L"False"}, {"Checked", L"True"},
          {"Default", L"True"}, {"RadioItem", L"True"}, {"ShortCut", L"16463"}, {"ImageIndex", L"3"},
          {"Tag", L"7"}}},
    };
    return Table;
}

class ClassTable : public ::testing::TestWithParam<size_t> {};

TEST_P(ClassTable, PublishesItsPropertiesAndPassesItsClassTests)
{
    const TClassCase& Case = Classes()[GetParam()];
    TForm Form(nullptr);
    TComponent* Made = Case.Make(Form);
    if (auto* Control = dynamic_cast<TWinControl*>(Made))
        Control->HandleNeeded();
    Form.HandleNeeded();

    EXPECT_EQ(Made->ClassName(), Case.ClassName);
    EXPECT_TRUE(Made->InheritsFrom(Case.ClassName));
    for (const char* Ancestor : Case.Ancestors)
        EXPECT_TRUE(Made->InheritsFrom(Ancestor)) << Ancestor;
    EXPECT_FALSE(Made->InheritsFrom("TCustomForm"));
    for (const TPropCase& Prop : Case.Props) {
        const TPropInfo* Info = GetPropInfo(Made, Prop.Name);
        ASSERT_NE(Info, nullptr) << Prop.Name;
        if (Info->Writable()) {
            EXPECT_TRUE(SetPropValue(Made, Prop.Name, Prop.Value)) << Prop.Name;
        }
        EXPECT_EQ(ReadAsText(Made, Prop.Name), Prop.Value) << Prop.Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Framework, ClassTable, ::testing::Range<size_t>(0, Classes().size()),
                         [](const ::testing::TestParamInfo<size_t>& Info) {
                             return std::string(Classes()[Info.param].ClassName);
                         });

TEST(ClassTable, ObjectPropertiesAreSetByNameOnlyWithTheirClass)
{
    TForm Form(nullptr);
    auto* Button = new TBitBtn(&Form);
    auto* Images = new TImageList(&Form);
    auto* Menu = new TMainMenu(&Form);
    TBitmap Glyph(32, 16);

    EXPECT_TRUE(SetObjectProp(Button, "Images", Images));
    EXPECT_EQ(GetObjectProp(Button, "Images"), Images);
    EXPECT_FALSE(SetObjectProp(Button, "Images", Menu)) << "a menu is no image list";
    EXPECT_EQ(Button->Images(), Images);
    EXPECT_TRUE(SetObjectProp(Button, "Glyph", &Glyph));
    ASSERT_NE(Button->Glyph(), nullptr);
    EXPECT_EQ(Button->Glyph()->Width(), 32) << "the button keeps its own copy";
    EXPECT_NE(Button->Glyph(), &Glyph);
    EXPECT_FALSE(SetObjectProp(Button, "Font", nullptr)) << "read-only object property";

    EXPECT_TRUE(SetObjectProp(&Form, "Menu", Menu));
    EXPECT_EQ(GetMenu(Form.Handle()), Menu->Handle());
    EXPECT_TRUE(SetObjectProp(&Form, "Menu", nullptr));
    EXPECT_EQ(GetMenu(Form.Handle()), nullptr);

    auto* Edit = new TEdit(&Form);
    Edit->SetParent(&Form);
    auto* Spin = new TUpDown(&Form);
    Spin->SetParent(&Form);
    EXPECT_TRUE(SetObjectProp(Spin, "Associate", Edit));
    EXPECT_EQ(GetObjectProp(Spin, "Associate"), Edit);
    EXPECT_FALSE(SetObjectProp(Spin, "Associate", Images)) << "an image list is no control";

    delete Images;
    EXPECT_EQ(Button->Images(), nullptr) << "a freed image list is forgotten";
    delete Edit;
    EXPECT_EQ(Spin->Associate(), nullptr) << "a freed associate is forgotten";
}

TEST(ClassTable, TheEnginesClassTestsTellTheFamiliesApart)
{
    TForm Form(nullptr);
    struct TCase {
        TControl* Control;
        const char* Family;
        bool Expected;
    };
    auto* Button = On<TButton>()(Form);
    auto* BitBtn = On<TBitBtn>()(Form);
    auto* CheckBox = On<TCheckBox>()(Form);
    auto* Group = On<TRadioGroup>()(Form);
    auto* Panel = On<TPanel>()(Form);
    const TCase Cases[] = {
        {static_cast<TControl*>(BitBtn), "TButton", true},
        {static_cast<TControl*>(CheckBox), "TButton", false},
        {static_cast<TControl*>(Group), "TCustomGroupBox", true},
        {static_cast<TControl*>(Group), "TCustomPanel", false},
        {static_cast<TControl*>(Panel), "TCustomGroupBox", false},
        {static_cast<TControl*>(Button), "TCustomEdit", false},
        {static_cast<TControl*>(&Form), "TCustomForm", true},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(Case.Control->InheritsFrom(Case.Family), Case.Expected)
            << Case.Control->ClassName() << " / " << Case.Family;
}

} // namespace
