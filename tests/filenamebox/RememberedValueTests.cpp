// The remembered value: the designed default, Value as the text's second name, the one-slot
// memory of Store and Restore, and Cancel for a host's validation hook.
#include "tests/filenamebox/FileNameBoxFixture.h"

namespace relingo::test {
namespace {

using Names = std::vector<std::u16string>;
using Log = std::vector<std::string>;

TEST_F(FileNameBoxTest, RestoreBeforeAnyStoreEmptiesTheBox) {
    Enter(u"C:\\typed");
    box.Restore();
    EXPECT_EQ(box.Text(), u"");
    EXPECT_EQ(events.log, Log{"Change"});
}

TEST_F(FileNameBoxTest, RestoreBringsBackTheLastStoredText) {
    Enter(u"C:\\first");
    box.Store();
    box.SetText(u"C:\\second");
    box.Store();
    txtInput.Type(u"\\more");
    events.log.clear();
    host.changed.clear();

    box.Restore();

    EXPECT_EQ(box.Text(), u"C:\\second");
    EXPECT_EQ(events.log, Log{"Change"});
    EXPECT_TRUE(host.changed.empty());
    box.Restore(); // the slot is kept
    EXPECT_EQ(box.Text(), u"C:\\second");
}

TEST_F(FileNameBoxTest, StoreOfAnEmptyTextIsRememberedToo) {
    Enter(u"");
    box.Store();
    box.SetText(u"C:\\x");
    box.Restore();
    EXPECT_EQ(box.Text(), u"");
}

TEST_F(FileNameBoxTest, RestoreDefaultPutsTheDefaultBack) {
    PropertyBag bag;
    bag.Write(u"DefaultValue", std::u16string(u"C:\\IPDK\\PDWizLoc.exe"), std::u16string());
    box.ReadProperties(bag);
    Enter(u"C:\\elsewhere");
    box.RestoreDefault();
    EXPECT_EQ(box.Text(), u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(events.log, Log{"Change"});
    EXPECT_TRUE(host.changed.empty());

    box.ReadProperties(PropertyBag{});
    box.SetText(u"C:\\elsewhere");
    box.RestoreDefault();
    EXPECT_EQ(box.Text(), u"");
}

TEST_F(FileNameBoxTest, DefaultValueAtDesignTimeShowsAtOnce) {
    host.userMode = false;
    box.SetDefaultValue(u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(box.DefaultValue(), u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(box.Text(), u"C:\\IPDK\\PDWizLoc.exe");
    EXPECT_EQ(host.changed, (Names{u"DefaultValue", u"Value", u"Text"}));
    EXPECT_EQ(events.log, Log{"Change"});
}

TEST_F(FileNameBoxTest, DefaultValueAtRunTimeIsRefusedBeforeAnythingChanges) {
    host.userMode = false;
    box.SetDefaultValue(u"C:\\designed");
    host.userMode = true;
    Enter(u"C:\\typed");
    try {
        box.SetDefaultValue(u"C:\\new");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errnum::kSetNotSupportedAtRunTime);
    }
    EXPECT_EQ(box.DefaultValue(), u"C:\\designed");
    EXPECT_EQ(box.Text(), u"C:\\typed");
    EXPECT_TRUE(host.changed.empty());
    EXPECT_TRUE(events.log.empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(FileNameBoxTest, ValueAndTextAreOneText) {
    box.SetValue(u"C:\\v");
    EXPECT_EQ(box.Text(), u"C:\\v");
    EXPECT_EQ(host.changed, (Names{u"Value", u"Text"}));
    host.changed.clear();
    box.SetText(u"C:\\t");
    EXPECT_EQ(box.Value(), u"C:\\t");
    EXPECT_EQ(host.changed, Names{u"Text"});
    txtInput.Type(u"x");
    EXPECT_EQ(box.Value(), box.Text());
}

TEST_F(FileNameBoxTest, CancelAnswersAValidationHook) {
    system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
    Enter(u"C:\\IPDK\\PDWizLoc.exe", fnbmode::kFile);
    EXPECT_FALSE(box.Cancel());
    EXPECT_TRUE(Boxes().empty());
    Enter(u"C:\\IPDK\\Missing.exe", fnbmode::kFile);
    EXPECT_TRUE(box.Cancel());
    EXPECT_EQ(Boxes(), std::vector{Warning(expected::kNotFound)});
    EXPECT_EQ(box.Text(), u"C:\\IPDK\\Missing.exe"); // Cancel changes nothing in the box
}

TEST_F(FileNameBoxTest, SectionAndKeyNamesNeverTouchTheSettings) {
    system.AddFile(u"C:\\a.exe");
    box.SetSectionName(u"IPDK");
    box.SetKeyName(u"Program");
    Enter(u"C:\\a.exe", fnbmode::kFile);
    box.Store();
    box.Restore();
    box.RestoreDefault();
    box.SetText(u"C:\\a.exe");
    EXPECT_EQ(box.FileName(), u"C:\\a.exe");
    EXPECT_EQ(system.Calls(Op::GetSetting), 0);
    EXPECT_EQ(system.Calls(Op::SaveSetting), 0);
    EXPECT_TRUE(system.Settings().empty());
}

} // namespace
} // namespace relingo::test
