// Dialog runs over the scripted dialogs: the request record byte by byte, and every outcome the
// dialogs can report.
#include "filopdlg/FilOpDlg.h"

#include "platform/CommonDialogs.h"
#include "platform/Error.h"
#include "tests/fakes/FakeDialogs.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace relingo::test {
namespace {

using namespace std::string_literals;

// Runs the call and returns the error it raises; fails the test when it raises none.
Error ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error was raised";
    return Error(0, u"");
}

class FilOpDlgRunTest : public ::testing::Test {
protected:
    void SetUp() override { dlg.InitProperties(); }
    // Whatever a test does, every block of every run has been freed exactly once.
    void TearDown() override {
        EXPECT_EQ(dialogs.LiveBlocks(), 0u);
        EXPECT_EQ(dialogs.BadFrees(), 0u);
    }

    // A finished ShowOpen that chose the name, so that the next run starts from it.
    void ChooseFirst(const std::string& path) {
        dialogs.Script(DialogOutcome::Choose(path));
        dlg.ShowOpen();
    }

    FakeSystem system;
    FakeDialogs dialogs;
    FakeHost host;
    FilOpDlg dlg{system, dialogs, host};
};

TEST_F(FilOpDlgRunTest, DefaultPropertiesMakeTheDefaultRecord) {
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    const DialogRequest& request = dialogs.LastRequest();
    const AnsiOpenFileName& record = request.record;
    EXPECT_EQ(request.kind, DialogKind::Open);
    EXPECT_EQ(record.structSize, 136u);
    EXPECT_EQ(record.owner, 0);
    EXPECT_EQ(record.instance, 0);
    ASSERT_TRUE(request.filter);
    EXPECT_EQ(request.filter->substr(0, 20), "All Files(*.*)\0*.*\0\0"s);
    EXPECT_EQ(record.customFilter, nullptr);
    EXPECT_EQ(record.maxCustomFilter, 0u);
    EXPECT_EQ(record.filterIndex, 0u);
    ASSERT_TRUE(request.file);
    EXPECT_EQ(request.file->substr(0, 522), "\0"s + std::string(520, ' ') + "\0"s);
    EXPECT_EQ(record.maxFile, 521u);
    ASSERT_TRUE(request.fileTitle);
    EXPECT_EQ(*request.fileTitle, std::string(521, '\0'));
    EXPECT_EQ(record.maxFileTitle, 521u);
    EXPECT_FALSE(request.initialDir);
    EXPECT_FALSE(request.title);
    EXPECT_EQ(record.flags, 0x1000u);
    EXPECT_EQ(record.fileOffset, 0);
    EXPECT_EQ(record.fileExtension, 0);
    EXPECT_FALSE(request.defaultExt);
    EXPECT_EQ(record.custData, 0);
    EXPECT_EQ(record.hook, nullptr);
    EXPECT_FALSE(request.templateName);
}

TEST_F(FilOpDlgRunTest, TheRecordDeclaresTheSizeTheBackendTakes) {
    dialogs.recordSize = 76;
    dialogs.Script(DialogOutcome::Choose("C:\\A.TXT"));
    dlg.ShowOpen();
    EXPECT_EQ(dialogs.LastRequest().record.structSize, 76u);
    EXPECT_EQ(dlg.FileName(), u"C:\\A.TXT");
}

TEST_F(FilOpDlgRunTest, PropertiesFillTheirFieldsAndTextBlocks) {
    dlg.SetInitDir(u"C:\\Data");
    dlg.SetDialogTitle(u"Pick a program");
    dlg.SetDefaultExt(u"exe");
    dlg.SetFlags(static_cast<int32_t>(0x80081004u));
    dlg.SetFilterIndex(3);
    dlg.SethParentwnd(-2);
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    const DialogRequest& request = dialogs.LastRequest();
    ASSERT_TRUE(request.initialDir && request.title && request.defaultExt);
    EXPECT_EQ(request.initialDir->substr(0, 8), "C:\\Data\0"s);
    EXPECT_EQ(request.title->substr(0, 15), "Pick a program\0"s);
    EXPECT_EQ(request.defaultExt->substr(0, 4), "exe\0"s);
    EXPECT_EQ(request.record.flags, 0x80081004u);
    EXPECT_EQ(request.record.filterIndex, 3u);
    // The handle is widened as Windows widens a 32-bit handle: by its sign.
    EXPECT_EQ(request.record.owner, intptr_t{-2});
}

TEST_F(FilOpDlgRunTest, FilterBecomesItsNulSeparatedList) {
    dlg.SetFilter(u"Text (*.txt)|*.txt|All (*.*)|*.*");
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    EXPECT_EQ(dialogs.LastRequest().filter->substr(0, 34),
              "Text (*.txt)\0*.txt\0All (*.*)\0*.*\0\0"s);

    dlg.SetFilter(u"A|*.a|");
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    EXPECT_EQ(dialogs.LastRequest().filter->substr(0, 8), "A\0*.a\0\0\0"s);

    dlg.SetFilter(u"");
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    EXPECT_FALSE(dialogs.LastRequest().filter);
}

TEST_F(FilOpDlgRunTest, ShowOpenStoresTheChoiceAndTheNextRunStartsFromIt) {
    dlg.SetCancelSelected(true);
    ChooseFirst("C:\\DATA\\A.TXT");
    EXPECT_EQ(dlg.FileName(), u"C:\\DATA\\A.TXT");
    EXPECT_EQ(dlg.FileTitle(), u"A.TXT");
    EXPECT_FALSE(dlg.CancelSelected());

    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    const DialogRequest& request = dialogs.LastRequest();
    EXPECT_EQ(request.file->substr(0, 522),
              "C:\\DATA\\A.TXT\0"s + std::string(520 - 13, ' ') + "\0"s);
    EXPECT_EQ(request.fileTitle->substr(0, 6), "A.TXT\0"s);
}

TEST_F(FilOpDlgRunTest, ShowSaveRunsTheSaveDialogAndStoresTheChoice) {
    dialogs.Script(DialogOutcome::Choose("C:\\OUT\\NEW.TXT"));
    dlg.ShowSave();
    EXPECT_EQ(dialogs.LastRequest().kind, DialogKind::Save);
    EXPECT_EQ(dlg.FileName(), u"C:\\OUT\\NEW.TXT");
    EXPECT_EQ(dlg.FileTitle(), u"NEW.TXT");
}

TEST_F(FilOpDlgRunTest, GetFileNameStartsEmptyReturnsTheChoiceAndStoresNothing) {
    ChooseFirst("C:\\OLD.TXT");
    dialogs.Script(DialogOutcome::Choose("C:\\DATA\\A.TXT"));
    EXPECT_EQ(dlg.GetFileName(), u"C:\\DATA\\A.TXT");
    const DialogRequest& request = dialogs.LastRequest();
    EXPECT_EQ(request.kind, DialogKind::Open);
    EXPECT_EQ(request.file->substr(0, 2), "\0 "s);
    EXPECT_EQ(request.fileTitle->at(0), '\0');
    EXPECT_EQ(dlg.FileName(), u"C:\\OLD.TXT");
    EXPECT_EQ(dlg.FileTitle(), u"OLD.TXT");
}

TEST_F(FilOpDlgRunTest, SeveralChosenNamesComeBackAsFolderAndNames) {
    dlg.SetFlags(static_cast<int32_t>(ofn::kAllowMultiSelect | ofn::kExplorer));
    dialogs.Script(DialogOutcome::ChooseSeveral("C:\\DATA", {"A.TXT", "B.TXT"}));
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FileName(), u"C:\\DATA\0A.TXT\0B.TXT"s);

    // One name chosen with the same flags: the offset lies inside the path.
    ChooseFirst("C:\\DATA\\C.TXT");
    EXPECT_EQ(dlg.FileName(), u"C:\\DATA\\C.TXT");
}

TEST_F(FilOpDlgRunTest, WithoutMultiSelectTheNameEndsAtTheFirstNul) {
    dialogs.Script(DialogOutcome::ChooseSeveral("C:\\DATA", {"A.TXT", "B.TXT"}));
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FileName(), u"C:\\DATA");
}

TEST_F(FilOpDlgRunTest, CancelWithoutCancelErrorOnlySetsCancelSelected) {
    ChooseFirst("C:\\A.TXT");
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    EXPECT_TRUE(dlg.CancelSelected());
    EXPECT_EQ(dlg.FileName(), u"C:\\A.TXT");
    EXPECT_EQ(dlg.FileTitle(), u"A.TXT");

    dialogs.Script(DialogOutcome::Cancel());
    EXPECT_EQ(dlg.GetFileName(), u"");
    EXPECT_TRUE(dlg.CancelSelected());
}

TEST_F(FilOpDlgRunTest, CancelWithCancelErrorRaises32755InTheHostsLanguage) {
    ChooseFirst("C:\\A.TXT");
    dlg.SetCancelError(true);
    dialogs.Script(DialogOutcome::Cancel());
    Error english = ErrorOf([&] { dlg.ShowOpen(); });
    EXPECT_EQ(english.Number(), 32755);
    EXPECT_EQ(english.Description(), u"Cancel was selected ");
    EXPECT_TRUE(dlg.CancelSelected());
    EXPECT_EQ(dlg.FileName(), u"C:\\A.TXT");
    EXPECT_EQ(dlg.FileTitle(), u"A.TXT");

    host.localeId = 1041;
    dialogs.Script(DialogOutcome::Cancel());
    Error japanese = ErrorOf([&] { dlg.GetFileName(); });
    EXPECT_EQ(japanese.Number(), 32755);
    EXPECT_EQ(japanese.Description(), u"[キャンセル] ボタンが選択されました。");
}

TEST_F(FilOpDlgRunTest, AFailedDialogRaisesItsExtendedCodeWithTheGeneralText) {
    ChooseFirst("C:\\A.TXT");
    dlg.SetCancelSelected(true);
    dlg.SetCancelError(true);
    dialogs.Script(DialogOutcome::Fail(cderr::kDialogFailure));
    Error failure = ErrorOf([&] { dlg.ShowSave(); });
    EXPECT_EQ(failure.Number(), 65535);
    EXPECT_EQ(failure.Description(), u"CommonDialog API error.(CommDlgExtendedError()=65535)");
    EXPECT_FALSE(dlg.CancelSelected());
    EXPECT_EQ(dlg.FileName(), u"C:\\A.TXT");
    EXPECT_EQ(dlg.FileTitle(), u"A.TXT");

    host.localeId = 1041;
    dialogs.Script(DialogOutcome::Fail(cderr::kDialogFailure));
    EXPECT_EQ(ErrorOf([&] { dlg.ShowOpen(); }).Description(),
              u"コモンダイアログAPIでエラーが起きました。(CommDlgExtendedError()=65535)");
}

TEST_F(FilOpDlgRunTest, ANameLongerThanTheBufferFailsWithBufferTooSmall) {
    dlg.SetMaxFileSize(5);
    dialogs.Script(DialogOutcome::Choose("C:\\FOLDER\\NAME.TXT"));
    Error failure = ErrorOf([&] { dlg.ShowOpen(); });
    EXPECT_EQ(dialogs.LastRequest().record.maxFile, 11u);
    EXPECT_EQ(failure.Number(), 12291);
    EXPECT_EQ(failure.Description(), u"CommonDialog API error.(CommDlgExtendedError()=12291)");
    EXPECT_EQ(dlg.FileName(), u"");
}

TEST_F(FilOpDlgRunTest, FilterIndexTakesWhatTheDialogLeftAfterEveryRun) {
    dlg.SetFilterIndex(1);
    dialogs.Script(DialogOutcome::Cancel(2));
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FilterIndex(), 2);

    dialogs.Script(DialogOutcome::Fail(cderr::kDialogFailure, 3));
    ErrorOf([&] { dlg.ShowOpen(); });
    EXPECT_EQ(dlg.FilterIndex(), 3);

    dialogs.Script(DialogOutcome::Choose("C:\\A.TXT", 1));
    dlg.GetFileName();
    EXPECT_EQ(dlg.FilterIndex(), 1);
}

// The buffers that cannot be made stop the run before the dialog: the filter block made before
// them is freed, and nothing the run would write is touched.
class FilOpDlgBufferSizeTest : public FilOpDlgRunTest {
protected:
    void SetUp() override {
        FilOpDlgRunTest::SetUp();
        dlg.SetFilterIndex(4);
        dlg.SetCancelSelected(true);
        host.changed.clear();
    }
    void ExpectRefusedWith(int32_t number) {
        const std::u16string name = dlg.FileName();
        const size_t allocationsBefore = dialogs.Allocations();
        EXPECT_EQ(ErrorOf([&] { dlg.ShowOpen(); }).Number(), number);
        EXPECT_TRUE(dialogs.Requests().empty());
        EXPECT_GT(dialogs.Allocations(), allocationsBefore);
        EXPECT_EQ(dlg.FileName(), name);
        EXPECT_EQ(dlg.FileTitle(), u"");
        EXPECT_EQ(dlg.FilterIndex(), 4);
        EXPECT_TRUE(dlg.CancelSelected());
        EXPECT_TRUE(host.changed.empty());
    }
};

TEST_F(FilOpDlgBufferSizeTest, ASeedNameLongerThanTheBufferIsAnInvalidArgument) {
    dlg.SetFileName(std::u16string(600, u'x'));
    host.changed.clear();
    ExpectRefusedWith(errnum::kInvalidProcedureCall);
}

TEST_F(FilOpDlgBufferSizeTest, ANegativeSizeIsAnInvalidArgument) {
    dlg.SetMaxFileSize(-1);
    host.changed.clear();
    ExpectRefusedWith(errnum::kInvalidProcedureCall);
}

TEST_F(FilOpDlgBufferSizeTest, ASizeWhoseBufferLengthLeavesThe32BitRangeIsAnOverflow) {
    for (int32_t size : {int32_t{1} << 30, std::numeric_limits<int32_t>::max(),
                         std::numeric_limits<int32_t>::min(), -(int32_t{1} << 30) - 1}) {
        SCOPED_TRACE(size);
        dlg.SetMaxFileSize(size);
        host.changed.clear();
        ExpectRefusedWith(errnum::kOverflow);
    }
}

TEST_F(FilOpDlgRunTest, GetFileNameIgnoresALongNameItDoesNotStartFrom) {
    dlg.SetFileName(std::u16string(600, u'x'));
    dialogs.Script(DialogOutcome::Choose("C:\\A.TXT"));
    EXPECT_EQ(dlg.GetFileName(), u"C:\\A.TXT");
}

TEST_F(FilOpDlgRunTest, TheLargestSizeThatFitsStillMakesItsBuffers) {
    dlg.SetMaxFileSize(0);
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    EXPECT_EQ(dialogs.LastRequest().record.maxFile, 1u);
    EXPECT_EQ(dialogs.LastRequest().file->at(0), '\0');
}

TEST_F(FilOpDlgRunTest, RunningOutOfMemoryAtAnyBlockShowsNothingAndLeaksNothing) {
    dlg.SetInitDir(u"C:\\");
    dlg.SetDialogTitle(u"Title");
    dlg.SetDefaultExt(u"txt");
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    const size_t blocksPerRun = dialogs.Allocations();
    ASSERT_EQ(blocksPerRun, 6u);
    for (size_t failing = 1; failing <= blocksPerRun; ++failing) {
        SCOPED_TRACE(failing);
        dialogs.FailAllocation(failing);
        EXPECT_EQ(ErrorOf([&] { dlg.ShowOpen(); }).Number(), errnum::kOutOfMemory);
        EXPECT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dialogs.LiveBlocks(), 0u);
    }
}

TEST_F(FilOpDlgRunTest, ASeedTitleLongerThanItsBufferIsCutToFit) {
    ChooseFirst("C:\\LONGTITLE.TXT");
    dlg.SetFileName(u"C:\\A");
    dlg.SetMaxFileSize(2);
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    const DialogRequest& request = dialogs.LastRequest();
    EXPECT_EQ(request.record.maxFileTitle, 5u);
    EXPECT_EQ(*request.fileTitle, "LONG\0"s);
    // A run without a choice keeps the title it started with, not the cut one.
    EXPECT_EQ(dlg.FileTitle(), u"LONGTITLE.TXT");
}

// A code page like the East Asian ones: characters beyond ASCII take two bytes (numbered in the
// order they are first met), and a character outside the basic plane becomes a single "?".
class DoubleByteSystem : public FakeSystem {
public:
    std::string ToAnsi(std::u16string_view text) override {
        std::string out;
        for (size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                out += '?';
                ++i;
            } else if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                size_t index = known_.find(c);
                if (index == std::u16string::npos) {
                    index = known_.size();
                    known_ += c;
                }
                out += static_cast<char>(0x81 + index / 0x7F);
                out += static_cast<char>(0x80 + index % 0x7F);
            }
        }
        return out;
    }
    std::u16string FromAnsi(std::string_view bytes) override {
        std::u16string out;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto lead = static_cast<unsigned char>(bytes[i]);
            if (lead < 0x81 || i + 1 == bytes.size()) {
                out += static_cast<char16_t>(lead);
                continue;
            }
            const auto trail = static_cast<unsigned char>(bytes[++i]);
            out += known_.at((lead - 0x81u) * 0x7Fu + (trail - 0x80u));
        }
        return out;
    }

private:
    std::u16string known_;
};

class FilOpDlgCodePageTest : public ::testing::Test {
protected:
    void SetUp() override { dlg.InitProperties(); }
    void TearDown() override { EXPECT_EQ(dialogs.LiveBlocks(), 0u); }
    DoubleByteSystem system;
    FakeDialogs dialogs;
    FakeHost host;
    FilOpDlg dlg{system, dialogs, host};
};

TEST_F(FilOpDlgCodePageTest, ANameBufferWhoseAnsiFormIsShorterStillHoldsTheWholeLength) {
    dlg.SetMaxFileSize(3);
    dlg.SetFileName(u"\U0001F600\U0001F600\U0001F600");
    dialogs.Script(DialogOutcome::Choose("C:\\A.B"));
    dlg.ShowOpen();
    const DialogRequest& request = dialogs.LastRequest();
    EXPECT_EQ(request.record.maxFile, 7u);
    EXPECT_GE(request.file->size(), 7u);
    EXPECT_EQ(request.file->substr(0, 4), "???\0"s);
    EXPECT_EQ(dlg.FileName(), u"C:\\A.B");
}

TEST_F(FilOpDlgCodePageTest, ACutSeedTitleNeverEndsInHalfACharacter) {
    dialogs.Script(DialogOutcome::Choose(system.ToAnsi(u"C:\\a日本.TXT")));
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FileTitle(), u"a日本.TXT");
    dlg.SetFileName(u"");
    dlg.SetMaxFileSize(2);
    dialogs.Script(DialogOutcome::Cancel());
    dlg.ShowOpen();
    EXPECT_EQ(*dialogs.LastRequest().fileTitle, system.ToAnsi(u"a日") + "\0\0"s);
}

} // namespace
} // namespace relingo::test
