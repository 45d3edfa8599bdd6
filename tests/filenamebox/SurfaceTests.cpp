// The box's surface: properties and their change notifications, refused values, the stored
// design-time properties, events, resizing and dropped files.
#include "filenamebox/MemberDescriptions.h"
#include "filenamebox/NameText.h"
#include "tests/filenamebox/FileNameBoxFixture.h"

#include <functional>

namespace relingo::test {
namespace {

using Names = std::vector<std::u16string>;

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.Number();
    }
    return 0;
}

// ---- Defaults and the property bag ----

TEST_F(FileNameBoxTest, AnEmptyBagGivesEveryDefault) {
    // Start from an instance whose every property differs, so that reading must set them all.
    host.userMode = false;
    box.SetBackColor(0x123456);
    box.SetForeColor(0x80000001);
    box.SetEnabled(false);
    box.SetIMEMode(3);
    box.SetMaxLength(12);
    box.SetFont(std::make_shared<Font>(Font{u"Tahoma", 9}));
    box.SetMessageShow(false);
    box.SetMode(2);
    box.SetDefaultValue(u"C:\\x");
    box.SetKeyName(u"K");
    box.SetSectionName(u"S");
    box.SetValidateAtLostFocus(false);
    host.changed.clear();

    box.ReadProperties(PropertyBag{});

    EXPECT_EQ(box.BackColor(), 0x80000005u);
    EXPECT_EQ(box.ForeColor(), 0x80000008u);
    EXPECT_TRUE(box.Enabled());
    EXPECT_EQ(box.IMEMode(), 0);
    EXPECT_EQ(box.MaxLength(), 0);
    EXPECT_EQ(box.Font(), host.AmbientFont()); // the very ambient font object
    EXPECT_TRUE(box.MessageShow());
    EXPECT_EQ(box.mode(), 0);
    EXPECT_EQ(box.DefaultValue(), u"");
    EXPECT_EQ(box.KeyName(), u"");
    EXPECT_EQ(box.SectionName(), u"");
    EXPECT_TRUE(box.ValidateAtLostFocus());
    EXPECT_EQ(box.Text(), u"");
    EXPECT_EQ(box.IllegalChars(), u"/<>?|*'\"");
    EXPECT_TRUE(host.changed.empty()); // restoring is not changing
}

TEST_F(FileNameBoxTest, DefaultsAreNotStored) {
    PropertyBag bag;
    box.WriteProperties(bag);
    EXPECT_EQ(bag.Size(), 0u);
    // An equal font that is another object is still the default.
    box.SetFont(std::make_shared<Font>(*host.AmbientFont()));
    box.WriteProperties(bag);
    EXPECT_EQ(bag.Size(), 0u);
}

TEST_F(FileNameBoxTest, ABagSurvivesItsTextFormInWritingOrder) {
    host.userMode = false;
    box.SetBackColor(0x00C0FFEE);
    box.SetEnabled(false);
    box.SetFont(std::make_shared<Font>(Font{u"ＭＳ ゴシック", 9, 700, kJapaneseCharset}));
    box.SetForeColor(0x80000012);
    box.SetIMEMode(4);
    box.SetMaxLength(200);
    box.SetMessageShow(false);
    box.SetMode(3);
    box.SetDefaultValue(u"C:\\IPDK\\\"PDWizLoc\".exe");
    box.SetKeyName(u"Program");
    box.SetSectionName(u"IPDK");
    box.SetValidateAtLostFocus(false);
    box.SetText(u"typed, never saved");

    PropertyBag bag;
    box.WriteProperties(bag);
    Names keys;
    for (const auto& [k, v] : bag.Entries()) {
        keys.push_back(k);
    }
    EXPECT_EQ(keys, (Names{u"BackColor", u"Enabled", u"Font", u"ForeColor", u"IMEMode",
                           u"MaxLength", u"MessageShow", u"Mode", u"DefaultValue", u"KeyName",
                           u"SectionName", u"ValidateAtLostFocus"}));

    FakeTextBox otherInput;
    FakeHost otherHost;
    FileNameBox other(system, otherHost, otherInput);
    other.ReadProperties(PropertyBag::Load(bag.Save()));
    EXPECT_EQ(other.BackColor(), 0x00C0FFEEu);
    EXPECT_FALSE(other.Enabled());
    EXPECT_EQ(*other.Font(), *box.Font());
    EXPECT_EQ(other.ForeColor(), 0x80000012u);
    EXPECT_EQ(other.IMEMode(), 4);
    EXPECT_EQ(other.MaxLength(), 200);
    EXPECT_FALSE(other.MessageShow());
    EXPECT_EQ(other.mode(), 3);
    EXPECT_EQ(other.DefaultValue(), u"C:\\IPDK\\\"PDWizLoc\".exe");
    EXPECT_EQ(other.KeyName(), u"Program");
    EXPECT_EQ(other.SectionName(), u"IPDK");
    EXPECT_FALSE(other.ValidateAtLostFocus());
    EXPECT_EQ(other.Text(), u"C:\\IPDK\\\"PDWizLoc\".exe"); // the default, not the typed text
}

TEST_F(FileNameBoxTest, ReadingStartsTheTextWithTheDefaultAndRaisesChange) {
    PropertyBag bag;
    bag.Write(u"DefaultValue", std::u16string(u"C:\\IPDK\\PDWizLoc.exe"), std::u16string());
    box.SetText(u"whatever was there");
    events.log.clear();
    box.ReadProperties(bag);
    EXPECT_EQ(box.Text(), u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(events.log, std::vector<std::string>{"Change"});
}

TEST_F(FileNameBoxTest, AnEntryOfTheWrongTypeStopsReadingAtThatKey) {
    FakeTextBox freshInput;
    FileNameBox fresh(system, host, freshInput);
    fresh.InitProperties();
    freshInput.SetText(u"before");
    PropertyBag bag;
    bag.Write(u"MaxLength", int32_t{50}, int16_t{0});
    bag.Write(u"Font", std::make_shared<Font>(Font{u"Arial"}), host.AmbientFont());
    bag.Write(u"MessageShow", std::u16string(u"yes"), true); // a string where a Boolean belongs
    bag.Write(u"Mode", int32_t{2}, int16_t{0});
    bag.Write(u"DefaultValue", std::u16string(u"C:\\"), std::u16string());

    EXPECT_EQ(ErrorNumberOf([&] { fresh.ReadProperties(bag); }), errnum::kTypeMismatch);
    EXPECT_EQ(fresh.MaxLength(), 50);        // read before the fault
    EXPECT_EQ(fresh.Font()->name, u"Arial"); // read before the fault
    EXPECT_EQ(fresh.mode(), 0);              // after it: untouched
    EXPECT_EQ(fresh.DefaultValue(), u"");
    EXPECT_EQ(fresh.Text(), u"before");
    EXPECT_TRUE(fresh.IllegalChars().empty());
}

TEST_F(FileNameBoxTest, AValueTheInnerBoxRefusesFailsReadingAtThatKey) {
    PropertyBag bag;
    bag.Write(u"IMEMode", int16_t{-3}, int16_t{0});
    bag.Write(u"Mode", int32_t{1}, int16_t{0});
    EXPECT_EQ(ErrorNumberOf([&] { box.ReadProperties(bag); }), errnum::kInvalidPropertyValue);
    EXPECT_EQ(box.mode(), 0);
}

TEST_F(FileNameBoxTest, InitPropertiesResetsTheMembersOnly) {
    box.SetMode(2);
    box.SetMessageShow(false);
    box.SetKeyName(u"K");
    box.SetSectionName(u"S");
    box.SetValidateAtLostFocus(false);
    box.SetMaxLength(9);
    box.SetText(u"C:\\kept");
    host.changed.clear();

    box.InitProperties();

    EXPECT_EQ(box.mode(), 0);
    EXPECT_TRUE(box.MessageShow());
    EXPECT_EQ(box.KeyName(), u"");
    EXPECT_EQ(box.SectionName(), u"");
    EXPECT_EQ(box.DefaultValue(), u"");
    EXPECT_TRUE(box.ValidateAtLostFocus());
    EXPECT_EQ(box.MaxLength(), 9);
    EXPECT_EQ(box.Text(), u"C:\\kept");
    EXPECT_TRUE(host.changed.empty());
}

// ---- Property sets and their notifications ----

struct SetCase {
    const char* label;
    std::function<void(FileNameBox&)> set;
    Names notified;
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.label;
}

class PropertySetTest : public FileNameBoxTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(PropertySetTest, NotifiesItsNameEveryTime) {
    host.userMode = false;
    box.SetText(u"C:\\abc");
    host.changed.clear();
    GetParam().set(box);
    EXPECT_EQ(host.changed, GetParam().notified);
    host.changed.clear();
    GetParam().set(box); // the same value again
    EXPECT_EQ(host.changed, GetParam().notified);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, PropertySetTest,
    ::testing::Values(
        SetCase{"BackColor", [](auto& b) { b.SetBackColor(0xFF); }, {u"BackColor"}},
        SetCase{"Enabled", [](auto& b) { b.SetEnabled(false); }, {u"Enabled"}},
        SetCase{"Font", [](auto& b) { b.SetFont(std::make_shared<Font>()); }, {u"Font"}},
        SetCase{"ForeColor", [](auto& b) { b.SetForeColor(0x80000012); }, {u"ForeColor"}},
        SetCase{"IMEMode", [](auto& b) { b.SetIMEMode(2); }, {u"IMEMode"}},
        SetCase{"MaxLength", [](auto& b) { b.SetMaxLength(80); }, {u"MaxLength"}},
        SetCase{"MessageShow", [](auto& b) { b.SetMessageShow(false); }, {u"MessageShow"}},
        SetCase{"Mode", [](auto& b) { b.SetMode(1); }, {u"Mode"}},
        SetCase{"KeyName", [](auto& b) { b.SetKeyName(u"k"); }, {u"KeyName"}},
        SetCase{"SectionName", [](auto& b) { b.SetSectionName(u"s"); }, {u"SectionName"}},
        SetCase{"ValidateAtLostFocus",
                [](auto& b) { b.SetValidateAtLostFocus(false); },
                {u"ValidateAtLostFocus"}},
        SetCase{"Text", [](auto& b) { b.SetText(u"C:\\x"); }, {u"Text"}},
        SetCase{"SelStart", [](auto& b) { b.SetSelStart(2); }, {u"SelStart"}},
        SetCase{"SelLength", [](auto& b) { b.SetSelLength(1); }, {u"SelLength"}},
        SetCase{"SelText", [](auto& b) { b.SetSelText(u"y"); }, {u"SelText"}},
        SetCase{"Value", [](auto& b) { b.SetValue(u"C:\\x"); }, {u"Value", u"Text"}},
        SetCase{"DefaultValue",
                [](auto& b) { b.SetDefaultValue(u"C:\\d"); },
                {u"DefaultValue", u"Value", u"Text"}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.label); });

TEST_F(FileNameBoxTest, InnerBoxPropertiesAreReadThrough) {
    txtInput.SetText(u"C:\\abc\\def");
    txtInput.SetSelStart(3);
    txtInput.SetSelLength(3);
    txtInput.SetBackColor(0x80000001);
    txtInput.SetIMEMode(7);
    EXPECT_EQ(box.Text(), u"C:\\abc\\def");
    EXPECT_EQ(box.Value(), box.Text());
    EXPECT_EQ(box.SelStart(), 3);
    EXPECT_EQ(box.SelLength(), 3);
    EXPECT_EQ(box.SelText(), u"abc");
    EXPECT_EQ(box.BackColor(), 0x80000001u);
    EXPECT_EQ(box.IMEMode(), 7);
    box.SetSelText(u"XY");
    EXPECT_EQ(box.Text(), u"C:\\XY\\def");
    EXPECT_EQ(box.Value(), box.Text());
}

TEST_F(FileNameBoxTest, TheFontIsHandedOverByReference) {
    auto font = std::make_shared<Font>(Font{u"Tahoma", 9});
    box.SetFont(font);
    EXPECT_EQ(box.Font(), font);
    EXPECT_EQ(txtInput.GetFont(), font);
    font->italic = true;
    EXPECT_TRUE(box.Font()->italic);
}

// ---- Refused values ----

TEST_F(FileNameBoxTest, AValueTheInnerBoxRefusesFailsTheSetAndNotifiesNothing) {
    box.SetMaxLength(10);
    host.changed.clear();
    EXPECT_EQ(ErrorNumberOf([&] { box.SetMaxLength(-1); }), errnum::kInvalidPropertyValue);
    EXPECT_EQ(box.MaxLength(), 10);
    EXPECT_EQ(ErrorNumberOf([&] { box.SetSelStart(-1); }), errnum::kInvalidPropertyValue);
    EXPECT_EQ(ErrorNumberOf([&] { box.SetBackColor(0x12345678); }), errnum::kInvalidPropertyValue);
    EXPECT_EQ(ErrorNumberOf([&] { box.SetFont(nullptr); }), errnum::kInvalidPropertyValue);
    EXPECT_EQ(ErrorNumberOf([&] { box.SetIMEMode(11); }), errnum::kInvalidPropertyValue);
    txtInput.FailNextSet(Error(errnum::kOutOfMemory));
    EXPECT_EQ(ErrorNumberOf([&] { box.SetText(u"C:\\x"); }), errnum::kOutOfMemory);
    EXPECT_EQ(box.Text(), u"");
    EXPECT_TRUE(host.changed.empty());
    EXPECT_TRUE(events.log.empty());
}

TEST_F(FileNameBoxTest, AnIMEModeOutsideSixteenBitsOverflowsBeforeAnythingChanges) {
    box.SetIMEMode(2);
    host.changed.clear();
    // Were the inner box asked at all, this scripted failure would come out instead.
    txtInput.FailNextSet(Error(errnum::kOutOfMemory));
    for (int32_t mode : {32768, -32769, 100000, -2147483647 - 1}) {
        EXPECT_EQ(ErrorNumberOf([&] { box.SetIMEMode(mode); }), errnum::kOverflow) << mode;
    }
    EXPECT_EQ(box.IMEMode(), 2);
    EXPECT_TRUE(host.changed.empty());
}

// ---- Methods ----

TEST_F(FileNameBoxTest, ClsEmptiesTheBoxAndRaisesChangeOnly) {
    Enter(u"C:\\something");
    box.Cls();
    EXPECT_EQ(box.Text(), u"");
    EXPECT_EQ(events.log, std::vector<std::string>{"Change"});
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FileNameBoxTest, RefreshAsksTheHostToRepaint) {
    Enter(u"C:\\x");
    box.Refresh();
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_TRUE(host.changed.empty());
    EXPECT_TRUE(events.log.empty());
}

// ---- Events ----

TEST_F(FileNameBoxTest, EventsReachTheHostInTheOrderTheyHappen) {
    txtInput.Click();
    txtInput.DblClick();
    txtInput.PressKey(65, 1);
    txtInput.Type(u"a");
    EXPECT_EQ(events.log, (std::vector<std::string>{"Click", "DblClick", "KeyDown 65 1",
                                                    "KeyUp 65 1", "Change"}));
}

TEST_F(FileNameBoxTest, AHandlersChangeToAKeyCodeOrButtonFlowsBack) {
    events.replaceKeyCode = 0;
    EXPECT_EQ(txtInput.PressKey(46), 0);
    events.replaceButton = 2;
    EXPECT_EQ(txtInput.MouseEvent(FakeTextBox::Mouse::Down, 1, 0, 1, 1), 2);
    EXPECT_EQ(txtInput.MouseEvent(FakeTextBox::Mouse::Up, 1, 0, 1, 1), 2);
}

TEST_F(FileNameBoxTest, MousePositionsArriveInTheContainersScale) {
    host.scaleFactorX = 15;
    host.scaleFactorY = 12;
    events.replaceX = 999; // a handler's change to X goes nowhere
    txtInput.MouseEvent(FakeTextBox::Mouse::Down, 1, 2, 10, 3);
    txtInput.MouseEvent(FakeTextBox::Mouse::Move, 0, 0, 10, 3);
    txtInput.MouseEvent(FakeTextBox::Mouse::Up, 1, 2, 4, 5);
    EXPECT_EQ(events.log, (std::vector<std::string>{"MouseDown 1 2 150 36", "MouseMove 0 0 150 36",
                                                    "MouseUp 1 2 60 60"}));
}

// ---- Resize and drops ----

TEST_F(FileNameBoxTest, TheInnerBoxFillsTheControlAfterAResize) {
    host.SetControlSize(4200, 285);
    box.Resize();
    EXPECT_EQ(txtInput.Width(), 4200);
    EXPECT_EQ(txtInput.Height(), 285);
    host.SetControlSize(0, 0); // no minimum size
    box.Resize();
    EXPECT_EQ(txtInput.Width(), 0);
    EXPECT_EQ(txtInput.Height(), 0);
}

TEST_F(FileNameBoxTest, ADropTakesTheFirstFileOnly) {
    Enter(u"C:\\old");
    const std::vector<std::u16string> files = {u"C:\\one.exe", u"C:\\two.exe", u"C:\\three"};
    txtInput.DropFiles(&files);
    EXPECT_EQ(box.Text(), u"C:\\one.exe");
    EXPECT_EQ(events.log, std::vector<std::string>{"Change"});
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FileNameBoxTest, ADropWithoutFilesLeavesTheText) {
    Enter(u"C:\\old");
    txtInput.DropFiles(nullptr);
    const std::vector<std::u16string> none;
    txtInput.DropFiles(&none);
    EXPECT_EQ(box.Text(), u"C:\\old");
    EXPECT_TRUE(events.log.empty());
}

// ---- Descriptions of the members ----

TEST(MemberDescriptionsTest, EveryMemberInTheOrderOfThePublicSurface) {
    Names names;
    for (const auto& member : FileNameBoxMembers()) {
        names.emplace_back(member.name);
    }
    EXPECT_EQ(names,
              (Names{u"Cls",           u"Refresh",       u"Restore",       u"RestoreDefault",
                     u"Store",         u"Cancel",        u"ValidateValue", u"BackColor",
                     u"DefaultValue",  u"Enabled",       u"FileBody",      u"FileDrive",
                     u"FileExtension", u"FileName",      u"FilePath",      u"FilePathBody",
                     u"FileTitle",     u"Font",          u"ForeColor",     u"IMEMode",
                     u"IsFile",        u"IsFolder",      u"KeyName",       u"MaxLength",
                     u"MessageShow",   u"mode",          u"SectionName",   u"SelLength",
                     u"SelStart",      u"SelText",       u"Text",          u"ValidateAtLostFocus",
                     u"Value",         u"ShortFileName", u"LongFileName"}));
}

TEST(MemberDescriptionsTest, TheControlsOwnMembersCarryTheirTexts) {
    const std::pair<std::u16string_view, std::u16string_view> expected[] = {
        {u"Store", u"現在の値を一時的に保存します。"},
        {u"Restore", u"Storeメソッドで保存した値を元に戻します。"},
        {u"RestoreDefault", u"コントロールの値をデフォルトに戻します。"},
        {u"Cancel", u"ValidateイベントにおけるCancelの値を返します。"},
        {u"ValidateValue", u"文字列がWindowsファイル名として有効であるかを返します。"},
        {u"DefaultValue", u"コントロールのデフォルトの値です。"},
        {u"KeyName", u"レジストリやIniファイル用のキー名称を記述します。"},
        {u"SectionName", u"レジストリやIniファイル用のセクション名称を記述します。"},
        {u"MessageShow", u"不正なファイル名前の入力や存在しないファイルの指定などの警告をダイア"
                         u"ログで表示するかを指定します。"},
        {u"mode", u"ファイル、またはフォルダの存在を確認するかを指定します。"},
        {u"ValidateAtLostFocus", u"値のチェックをLostFocusイベントで行うかを指定します。"},
        {u"FileBody", u"ファイル名（パスなし）から拡張子を除いた文字列を返します。"},
        {u"FileDrive", u"指定のフルパスファイル名よりドライブ名を取得します。"},
        {u"FileExtension", u"ファイルの拡張子を返します。"},
        {u"FileName", u"ファイル名（フルパス）を返します。"},
        {u"FilePath", u"フルパスファイル名より、ファイル名を除去したパスの文字列を返します。"},
        {u"FilePathBody", u"フルパスファイル名より、拡張子を除いた文字列を返します。"},
        {u"FileTitle", u"フルパスファイル名より、パスを除去してファイル名のみを返します。"},
        {u"ShortFileName", u"短い形式のファイル名を返します。"},
        {u"LongFileName", u"長い形式のファイル名を返します。"},
        {u"IsFile", u""},
        {u"IsFolder", u""},
        {u"Value", u""},
        {u"NoSuchMember", u""},
    };
    for (const auto& [name, description] : expected) {
        EXPECT_EQ(FileNameBoxMemberDescription(name), description) << ToUtf8(name);
    }
    EXPECT_NE(FileNameBoxMemberDescription(u"MaxLength"), u"");
}

} // namespace
} // namespace relingo::test
