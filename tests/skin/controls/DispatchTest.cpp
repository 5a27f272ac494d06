// Which skin object each control gets: the built-in table's order and
// switches (foreign control libraries played by small stand-in classes that
// carry their class names and properties), the Skin3rd kinds, bare windows
// by class and style, and the rules in front of the table (DisableTag,
// OnSkinControl, Skin3rd, controls skinned already) on real windows.
#include "ControlFixture.h"

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "skin/controls/ControlDispatch.h"

#include <functional>
#include <map>

using namespace controltest;

namespace {

// A control of a foreign library: its class name and a NumButtons property.
template <const char* Name, class Base>
class TStandIn : public Base {
public:
    explicit TStandIn(TComponent* owner) : Base(owner) {}
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo& info = *new TClassInfo(
            TClassBuilder<TStandIn>(Name, Base::StaticClass()).Field("NumButtons", &TStandIn::NumButtons).Build());
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    int NumButtons = 0;
};

constexpr char kRzCheckBox[] = "TRzCheckBox";
constexpr char kMediaPlayer[] = "TMediaPlayer";
constexpr char kDcEdit[] = "TDCEdit";
constexpr char kRzRadioGroup[] = "TRzRadioGroup";
constexpr char kMyButton[] = "TMyButton";
constexpr char kOddButton[] = "TOddButton";
constexpr char kTabSet[] = "TTabSet";

constexpr TSkinControlTypes Without(TSkinControlType type)
{
    return kDefaultSkinControls & ~SetBit<TSkinControlTypes>(type);
}

TEST(ControlDispatchTable, BareWindowsAreChosenByClassAndButtonType)
{
    const auto skin = frametest::DefaultSkin();
    struct TCase {
        const wchar_t* Class;
        LONG_PTR Style;
        TSkinControlTypes Switches;
        TSkinKind Kind;
        bool ChildrenFirst;
    };
    const TCase cases[] = {
        {L"button", BS_PUSHBUTTON, kDefaultSkinControls, skButton, false},
        {L"button", BS_DEFPUSHBUTTON, kDefaultSkinControls, skButton, false},
        {L"button", BS_PUSHBUTTON, Without(xcButton), skNone, false},
        {L"button", BS_CHECKBOX, kDefaultSkinControls, skCheckBox, false},
        {L"button", BS_AUTOCHECKBOX, kDefaultSkinControls, skCheckBox, false},
        {L"button", BS_3STATE, kDefaultSkinControls, skCheckBox, false},
        {L"button", BS_AUTO3STATE, kDefaultSkinControls, skCheckBox, false},
        {L"button", BS_AUTO3STATE, Without(xcCheckBox), skNone, false},
        {L"button", BS_RADIOBUTTON, kDefaultSkinControls, skRadioButton, false},
        {L"button", BS_AUTORADIOBUTTON, kDefaultSkinControls, skRadioButton, false},
        {L"button", BS_GROUPBOX, kDefaultSkinControls, skNone, false},
        {L"button", BS_OWNERDRAW, kDefaultSkinControls, skNone, false},
        {L"button", BS_PUSHBUTTON | BS_BITMAP, kDefaultSkinControls, skNone, false},
        // Newer button types share bits with check and radio boxes.
        {L"button", BS_SPLITBUTTON, kDefaultSkinControls, skButton, false},
        {L"button", BS_DEFSPLITBUTTON, kDefaultSkinControls, skButton, false},
        {L"button", BS_COMMANDLINK, kDefaultSkinControls, skButton, false},
        {L"combobox", CBS_SIMPLE, kDefaultSkinControls, skNone, false},
        {L"combobox", CBS_DROPDOWNLIST, kDefaultSkinControls, skComBox, false},
        {L"scrollbar", SBS_SIZEGRIP, kDefaultSkinControls, skSizer, false},
        {L"scrollbar", SBS_SIZEBOX | WS_TABSTOP, kDefaultSkinControls, skSizer, false},
        {L"scrollbar", WS_TABSTOP, kDefaultSkinControls, skScrollBarControl, false},
        {L"scrollbar", SBS_VERT, kDefaultSkinControls, skScrollBarControl, false},
        {L"scrollbar", SBS_VERT, Without(xcScrollbar), skNone, false},
        {L"systreeview32", 0, kDefaultSkinControls, skNone, false},
        {L"#32770", 0, kDefaultSkinControls, skBoxH, true},
        {L"#32770", WS_TABSTOP, kDefaultSkinControls, skNone, false},
        {L"tpanel", 0, kDefaultSkinControls, skNone, true},
        {L"tbutton", 0, kDefaultSkinControls, skButton, false},
        {L"systabcontrol32", 0, kDefaultSkinControls, skTab, false},
        {L"systabcontrol32", 0x2000, kDefaultSkinControls, skNone, false},
        {L"edit", 0, kDefaultSkinControls, skEdit, false},
        {L"edit", 0, Without(xcEdit), skNone, false},
    };
    for (const TCase& c : cases) {
        skin->SkinControls = c.Switches;
        const TWindowChoice choice = ChooseForWindow(c.Class, c.Style, *skin);
        EXPECT_EQ(choice.Kind, c.Kind) << std::hex << c.Style;
        EXPECT_EQ(choice.ChildrenFirst, c.ChildrenFirst);
    }
}

TEST(ControlDispatchTable, RowsAreTriedInOrderWithTheirSwitches)
{
    const auto skin = frametest::DefaultSkin();
    auto form = std::make_unique<TForm>(nullptr);
    const auto place = [&](auto* control) {
        control->SetParent(form.get());
        control->SetBounds(0, 0, 80, 60);
        control->HandleNeeded();
        return static_cast<TControl*>(control);
    };
    auto* memo = new TMemo(form.get());
    memo->SetScrollBars(ssBoth);
    auto* dcCombo = new TStandIn<kDcEdit, TWinControl>(form.get());
    dcCombo->NumButtons = 1;
    struct TCase {
        const char* What;
        TControl* Control;
        TSkinControlTypes Switches;
        TSkinKind Kind;
    };
    const TCase cases[] = {
        {"button", place(new TButton(form.get())), kDefaultSkinControls, skButton},
        {"bit button before the button rule", place(new TBitBtn(form.get())), kDefaultSkinControls, skBitButton},
        {"bit button switched off is a button", place(new TBitBtn(form.get())), Without(xcBitBtn), skButton},
        {"check box", place(new TCheckBox(form.get())), kDefaultSkinControls, skCheckBox},
        {"radio button", place(new TRadioButton(form.get())), kDefaultSkinControls, skRadioButton},
        {"radio button switched off", place(new TRadioButton(form.get())), Without(xcRadioButton), skNone},
        {"button switched off", place(new TButton(form.get())), Without(xcButton), skNone},
        {"list view before the scroll-bar rule", place(new TListView(form.get())), kDefaultSkinControls, skListView},
        {"memo with scroll bars before the edit rule", place(memo), kDefaultSkinControls, skScrollbar},
        {"memo, scroll bars off", memo, Without(xcScrollbar), skEdit},
        {"edit", place(new TEdit(form.get())), kDefaultSkinControls, skEdit},
        {"scroll-bar control", place(new TScrollBar(form.get())), kDefaultSkinControls, skScrollBarControl},
        {"list box with its bar", place(new TListBox(form.get())), kDefaultSkinControls, skScrollbar},
        {"group box", place(new TGroupBox(form.get())), kDefaultSkinControls, skGroupBox},
        {"group box needs xcPanel", place(new TGroupBox(form.get())), Without(xcPanel), skNone},
        {"panel", place(new TPanel(form.get())), kDefaultSkinControls, skBox},
        {"combo box", place(new TComboBox(form.get())), kDefaultSkinControls, skComBox},
        {"progress bar", place(new TProgressBar(form.get())), kDefaultSkinControls, skProgress},
        {"status bar", place(new TStatusBar(form.get())), kDefaultSkinControls, skStatusBar},
        {"foreign check box by name", place(new TStandIn<kRzCheckBox, TWinControl>(form.get())),
         kDefaultSkinControls, skObjImageCheck},
        {"media player", place(new TStandIn<kMediaPlayer, TWinControl>(form.get())), kDefaultSkinControls,
         skMediaPlayer},
        {"edit with one button", place(dcCombo), kDefaultSkinControls, skComBox},
        {"tab set needs xcTab", place(new TStandIn<kTabSet, TWinControl>(form.get())), Without(xcTab), skNone},
    };
    for (const TCase& c : cases) {
        skin->SkinControls = c.Switches;
        std::string name = c.Control->ClassName();
        for (char& ch : name)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const TDispatchRow* row = MatchDispatchRow(c.Control, name, *skin);
        EXPECT_EQ(row ? row->Kind : skNone, c.Kind) << c.What;
    }
    dcCombo->NumButtons = 0;
    skin->SkinControls = kDefaultSkinControls;
    const TDispatchRow* row = MatchDispatchRow(dcCombo, "TDCEDIT", *skin);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Kind, skEdit);
    EXPECT_EQ(row->Then, thAttachWindow) << "an edit without buttons is skinned as its bare window";
}

TEST(ControlDispatchTable, Skin3rdLinesGiveTheFirstWholeNameMatch)
{
    const std::vector<std::wstring> lines{L"TFooBar=nil", L"tfoo=Button", L"TFoo=checkbox", L"TLong=" +
                                                                                              std::wstring(60, L'x')};
    EXPECT_EQ(Skin3rdKindOf(lines, L"TFoo"), L"button");
    EXPECT_EQ(Skin3rdKindOf(lines, L"TFOOBAR"), L"nil");
    EXPECT_EQ(Skin3rdKindOf(lines, L"TFo"), std::nullopt);
    EXPECT_EQ(Skin3rdKindOf(lines, L"TLong")->size(), 50u) << "at most 50 characters of kind";
    ASSERT_NE(FindKindRow(L"nil"), nullptr);
    EXPECT_EQ(FindKindRow(L"nil")->Then, ktNothing);
    EXPECT_EQ(FindKindRow(L"bitbtn")->Object, skBitButton);
    EXPECT_EQ(FindKindRow(L"unknown"), nullptr);
}

// --- On real windows ---

struct TSkinControlHandler {
    std::map<TControl*, TComponent*> Answers;
    void Handle(TComponent*, TSkinData*, TControl*, TControl* control, const std::wstring&, TComponent*& made)
    {
        if (auto found = Answers.find(control); found != Answers.end())
            made = found->second;
    }
};

class ControlDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        Skin = frametest::DefaultSkin();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(40, 40, 480, 300);
        Dispatch = std::make_unique<TControlDispatch>(Skin.get());
    }
    void TearDown() override
    {
        Dispatch.reset();
        Form.reset();
    }
    bool Skinned(TWinControl* control) { return SendMessageW(control->Handle(), WM_SKINQUERY, 0, 0) == 1; }

    template <class T>
    T* Add(const wchar_t* caption, TWinControl* parent = nullptr)
    {
        const int y = 10 + 30 * static_cast<int>(Form->ComponentCount());
        return Place<T>(parent ? parent : Form.get(), Form.get(), caption, 10, y % 260, 90, 25);
    }

    std::unique_ptr<TSkinData> Skin;
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TControlDispatch> Dispatch;
};

TEST_F(ControlDispatch, RulesBeforeTheTableDecideFirst)
{
    TButton* plain = Add<TButton>(L"Tag 99");
    plain->Tag = Skin->DisableTag;
    auto* group = Add<TStandIn<kRzRadioGroup, TGroupBox>>(L"Group");
    group->Tag = Skin->DisableTag;
    group->SetBounds(200, 10, 200, 120);
    TButton* inGroup = Place<TButton>(group, Form.get(), L"In group", 10, 20, 90, 25);
    TButton* nilKind = Add<TStandIn<kOddButton, TButton>>(L"nil");
    TButton* vetoed = Add<TButton>(L"vetoed");
    TEdit* chosen = Add<TEdit>(L"chosen");
    TButton* ordinary = Add<TButton>(L"ordinary");
    Skin->SetSkin3rd({L"TOddButton=nil"});
    TSkinControlHandler handler;
    TComponent stopper(nullptr);
    handler.Answers[vetoed] = &stopper;
    handler.Answers[chosen] = new TSkinButton(chosen);
    Skin->OnSkinControl = TOnSkinControl::Bind<&TSkinControlHandler::Handle>(&handler);

    Dispatch->AttachFormControls(Form.get());
    EXPECT_FALSE(Skinned(plain)) << "Tag = DisableTag";
    EXPECT_EQ(inGroup->Tag, Skin->DisableTag) << "a radio group kept plain keeps its buttons plain";
    EXPECT_FALSE(Skinned(inGroup));
    EXPECT_FALSE(Skinned(nilKind)) << "Skin3rd kind nil";
    EXPECT_FALSE(Skinned(vetoed)) << "OnSkinControl answered an object that is no skin object";
    EXPECT_TRUE(Skinned(chosen)) << "OnSkinControl's skin object is attached";
    EXPECT_TRUE(Skinned(ordinary));
    EXPECT_EQ(Dispatch->Controls().Count(), 2);
    Skin->OnSkinControl = {};
}

TEST_F(ControlDispatch, Skin3rdKindsAreHandledEvenWhenNothingIsAttached)
{
    auto* mine = Add<TStandIn<kMyButton, TButton>>(L"mine");
    auto* odd = Add<TStandIn<kOddButton, TButton>>(L"odd");
    Skin->SetSkin3rd({L"TMyButton=button", L"TOddButton=statusbar"});
    Dispatch->AttachFormControls(Form.get());
    EXPECT_TRUE(Skinned(mine)) << "kind button";
    // A kind whose family attaches nothing here: handled by the kind all
    // the same, so the button row of the table is never reached.
    EXPECT_FALSE(Skinned(odd));
}

TEST_F(ControlDispatch, AControlSkinnedAlreadyGetsNoSecondObject)
{
    TButton* button = Add<TButton>(L"once");
    TButton* elsewhere = Add<TButton>(L"elsewhere");
    TSkinControlList other;
    (new TSkinButton(elsewhere))->AttachControl(&other, Skin.get(), false);
    Dispatch->AttachFormControls(Form.get());
    Dispatch->AttachFormControls(Form.get());
    EXPECT_TRUE(Skinned(button));
    EXPECT_EQ(Dispatch->Controls().Count(), 1);
    EXPECT_EQ(Dispatch->Controls().FindByControl(elsewhere), nullptr);
    EXPECT_EQ(button->ComponentCount(), 1);
    other.FreeAll();
}

TEST_F(ControlDispatch, BareWindowsInsideNestedDialogsAreDispatchedByClassAndStyle)
{
    HWND parent = Form->Handle();
    const auto child = [](HWND owner, const wchar_t* windowClass, DWORD style, int y) {
        return CreateWindowExW(0, windowClass, L"x", WS_CHILD | WS_VISIBLE | style, 10, y, 90, 22, owner, nullptr,
                               nullptr, nullptr);
    };
    HWND push = child(parent, L"BUTTON", BS_PUSHBUTTON, 10);
    HWND ownerDrawn = child(parent, L"BUTTON", BS_OWNERDRAW, 40);
    HWND group = child(parent, L"BUTTON", BS_GROUPBOX, 70);
    HWND inner = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"", WS_CHILD | WS_VISIBLE, 200, 10, 200, 100,
                                 parent, nullptr, nullptr, nullptr);
    HWND innerPush = child(inner, L"BUTTON", BS_DEFPUSHBUTTON, 10);
    Dispatch->AttachChildWindows(parent);
    const auto skinned = [](HWND window) { return SendMessageW(window, WM_SKINQUERY, 0, 0) == 1; };
    EXPECT_TRUE(skinned(push));
    EXPECT_FALSE(skinned(ownerDrawn));
    EXPECT_FALSE(skinned(group));
    EXPECT_TRUE(skinned(innerPush)) << "a dialog inside the dialog has its children dispatched";
    const int count = Dispatch->Controls().Count();
    Dispatch->AttachChildWindows(parent);
    EXPECT_EQ(Dispatch->Controls().Count(), count) << "no second object for a listed window";
    Dispatch.reset();
    EXPECT_FALSE(skinned(push)) << "the list frees the objects of bare windows";
}

} // namespace
