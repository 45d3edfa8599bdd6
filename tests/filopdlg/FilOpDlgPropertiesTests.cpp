// The file dialog control's properties: defaults, change notification, persistence and size.
#include "filopdlg/FilOpDlg.h"

#include "platform/Error.h"
#include "platform/PropertyBag.h"
#include "tests/fakes/FakeDialogs.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace relingo::test {
namespace {

class FilOpDlgPropertiesTest : public ::testing::Test {
protected:
    // Changes every persisted property away from its default.
    static void ChangeEverythingOf(FilOpDlg& control) {
        control.SetCancelSelected(true);
        control.SetCancelError(true);
        control.SetDefaultExt(u"txt");
        control.SetDialogTitle(u"Pick");
        control.SetFileName(u"C:\\A.TXT");
        control.SetFilter(u"Text|*.txt");
        control.SetFilterIndex(2);
        control.SetFlags(0x200);
        control.SetInitDir(u"C:\\");
        control.SetMaxFileSize(100);
    }
    void ChangeEverything() { ChangeEverythingOf(dlg); }

    void ExpectDefaults(const FilOpDlg& control) {
        EXPECT_FALSE(control.CancelError());
        EXPECT_FALSE(control.CancelSelected());
        EXPECT_EQ(control.DefaultExt(), u"");
        EXPECT_EQ(control.DialogTitle(), u"");
        EXPECT_EQ(control.FileName(), u"");
        EXPECT_EQ(control.Filter(), u"All Files(*.*)|*.*");
        EXPECT_EQ(control.FilterIndex(), 0);
        EXPECT_EQ(control.Flags(), 4096);
        EXPECT_EQ(control.InitDir(), u"");
        EXPECT_EQ(control.MaxFileSize(), 260);
    }

    FakeSystem system;
    FakeDialogs dialogs;
    FakeHost host;
    FilOpDlg dlg{system, dialogs, host};
};

TEST_F(FilOpDlgPropertiesTest, NewInstanceHasTheDefaults) {
    dlg.InitProperties();
    ExpectDefaults(dlg);
    EXPECT_EQ(dlg.FileTitle(), u"");
    EXPECT_EQ(dlg.hDC(), 0);
    EXPECT_EQ(dlg.hParentwnd(), 0);
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FilOpDlgPropertiesTest, InitPropertiesResetsTheSettingsButNotTheOwnerWindow) {
    ChangeEverything();
    dlg.SethParentwnd(0x1234);
    host.changed.clear();
    dlg.InitProperties();
    ExpectDefaults(dlg);
    EXPECT_EQ(dlg.hParentwnd(), 0x1234);
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FilOpDlgPropertiesTest, EverySetNotifiesItsNameEvenForTheSameValue) {
    dlg.SetCancelError(false);
    dlg.SetCancelError(false);
    dlg.SetCancelSelected(true);
    dlg.SetDefaultExt(u"");
    dlg.SetDialogTitle(u"t");
    dlg.SetFileName(u"f");
    dlg.SetFilter(u"");
    dlg.SetFilterIndex(1);
    dlg.SetFlags(0);
    dlg.SethParentwnd(0x10);
    dlg.SetInitDir(u"d");
    dlg.SetMaxFileSize(1);
    EXPECT_EQ(host.changed, (std::vector<std::u16string>{
                                u"CancelError", u"CancelError", u"CancelSelected", u"DefaultExt",
                                u"DialogTitle", u"FileName", u"Filter", u"FilterIndex", u"Flags",
                                u"hWnd", u"InitDir", u"MaxFileSize"}));
}

TEST_F(FilOpDlgPropertiesTest, SetsStoreTheirValueUnchecked) {
    const std::u16string longName(600, u'x');
    dlg.SetFileName(longName);
    dlg.SetMaxFileSize(-7);
    dlg.SetFlags(static_cast<int32_t>(0x80000000u));
    dlg.SetFilter(u"||");
    dlg.SethParentwnd(-2);
    EXPECT_EQ(dlg.FileName(), longName);
    EXPECT_EQ(dlg.MaxFileSize(), -7);
    EXPECT_EQ(dlg.Flags(), static_cast<int32_t>(0x80000000u));
    EXPECT_EQ(dlg.Filter(), u"||");
    EXPECT_EQ(dlg.hParentwnd(), -2);
}

TEST_F(FilOpDlgPropertiesTest, SavingOnlyAChangedFilterStoresOnlyThatKey) {
    dlg.InitProperties();
    dlg.SetFilter(u"Programs (*.exe)|*.exe");
    PropertyBag bag;
    dlg.WriteProperties(bag);
    ASSERT_EQ(bag.Size(), 1u);
    EXPECT_TRUE(bag.Contains(u"Filter"));

    // A reloaded instance reads its saved form back; everything but the filter is a default.
    FilOpDlg reloaded(system, dialogs, host);
    ChangeEverythingOf(reloaded);
    reloaded.ReadProperties(PropertyBag::Load(bag.Save()));
    EXPECT_EQ(reloaded.Filter(), u"Programs (*.exe)|*.exe");
    reloaded.SetFilter(kDefaultDialogFilter);
    ExpectDefaults(reloaded);
}

TEST_F(FilOpDlgPropertiesTest, SavesTheTenKeysInOrderWithTheirTypes) {
    ChangeEverything();
    PropertyBag bag;
    dlg.WriteProperties(bag);
    std::vector<std::u16string> keys;
    for (const auto& [key, value] : bag.Entries()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys,
              (std::vector<std::u16string>{u"CancelSelected", u"CancelError", u"DefaultExt",
                                           u"DialogTitle", u"FileName", u"Filter", u"FilterIndex",
                                           u"Flags", u"InitDir", u"MaxFileSize"}));
    const auto& entries = bag.Entries();
    EXPECT_EQ(std::get<bool>(entries[0].second), true);
    EXPECT_EQ(std::get<bool>(entries[1].second), true);
    EXPECT_EQ(std::get<std::u16string>(entries[4].second), u"C:\\A.TXT");
    EXPECT_EQ(std::get<int32_t>(entries[6].second), 2);
    EXPECT_EQ(std::get<int32_t>(entries[7].second), 0x200);
    EXPECT_EQ(std::get<int32_t>(entries[9].second), 100);

    FilOpDlg reloaded(system, dialogs, host);
    reloaded.ReadProperties(PropertyBag::Load(bag.Save()));
    EXPECT_TRUE(reloaded.CancelSelected());
    EXPECT_TRUE(reloaded.CancelError());
    EXPECT_EQ(reloaded.DefaultExt(), u"txt");
    EXPECT_EQ(reloaded.DialogTitle(), u"Pick");
    EXPECT_EQ(reloaded.FileName(), u"C:\\A.TXT");
    EXPECT_EQ(reloaded.Filter(), u"Text|*.txt");
    EXPECT_EQ(reloaded.FilterIndex(), 2);
    EXPECT_EQ(reloaded.Flags(), 0x200);
    EXPECT_EQ(reloaded.InitDir(), u"C:\\");
    EXPECT_EQ(reloaded.MaxFileSize(), 100);
}

TEST_F(FilOpDlgPropertiesTest, TheOwnerWindowAndTheTitleAreNeitherSavedNorRestored) {
    dlg.InitProperties();
    dlg.SethParentwnd(0x5678);
    PropertyBag bag;
    dlg.WriteProperties(bag);
    EXPECT_EQ(bag.Size(), 0u);
    FilOpDlg reloaded(system, dialogs, host);
    reloaded.ReadProperties(bag);
    EXPECT_EQ(reloaded.hParentwnd(), 0);
    EXPECT_EQ(reloaded.FileTitle(), u"");
}

TEST_F(FilOpDlgPropertiesTest, MissingKeysReadAsDefaultsWithoutNotifying) {
    ChangeEverything();
    host.changed.clear();
    dlg.ReadProperties(PropertyBag());
    ExpectDefaults(dlg);
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FilOpDlgPropertiesTest, AFailedReadLeavesTheLaterPropertiesAsTheyWere) {
    ChangeEverything();
    const PropertyBag bag = PropertyBag::Load("FileName = \"C:\\B.TXT\"\nFilter = True\n");
    try {
        dlg.ReadProperties(bag);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), errnum::kTypeMismatch);
    }
    EXPECT_FALSE(dlg.CancelSelected());
    EXPECT_EQ(dlg.FileName(), u"C:\\B.TXT");
    EXPECT_EQ(dlg.Filter(), u"Text|*.txt");
    EXPECT_EQ(dlg.FilterIndex(), 2);
    EXPECT_EQ(dlg.MaxFileSize(), 100);
}

TEST_F(FilOpDlgPropertiesTest, ResizeKeepsTheIconsSizeInTheControlsScale) {
    host.scaleFactorX = 15;
    host.scaleFactorY = 12;
    host.SetControlSize(1000, 3);
    dlg.Resize();
    EXPECT_EQ(host.width, 480);
    EXPECT_EQ(host.height, 384);
    dlg.Resize();
    EXPECT_EQ(host.width, 480);
    EXPECT_EQ(host.height, 384);
}

} // namespace
} // namespace relingo::test
