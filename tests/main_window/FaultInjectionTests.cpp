// Every platform call that load, unload, OK, Clear and Browse make fails in turn, with the error
// that call really gives: the handler reports it at most once, the window stays usable, and no
// setting that was already saved is lost.
#include "tests/main_window/FrmMainFixture.h"

#include <functional>
#include <map>

namespace relingo::test {
namespace {

constexpr Op kOps[] = {Op::MsgBox,         Op::GetSetting,      Op::SaveSetting,
                       Op::ChangeDrive,    Op::ChangeDirectory, Op::CurrentDirectory,
                       Op::FindFirstEntry, Op::GetAttributes,   Op::ShortPathName,
                       Op::StartProgram,   Op::ToAnsi,          Op::FromAnsi,
                       Op::SystemFolder,   Op::DesktopFolder,   Op::ProductName};

Error RealisticError(Op op) {
    switch (op) {
    case Op::ChangeDrive:
        return Error(errnum::kDeviceUnavailable);
    case Op::ChangeDirectory:
        return Error(errnum::kPathNotFound);
    case Op::FindFirstEntry:
    case Op::GetAttributes:
        return Error(errnum::kDiskNotReady);
    case Op::StartProgram:
        return Error(errnum::kFileNotFound);
    case Op::MsgBox:
    case Op::ToAnsi:
    case Op::FromAnsi:
        return Error(errnum::kOutOfMemory);
    default:
        return Error(errnum::kPathFileAccess);
    }
}

enum class Handler { Load, Unload, Ok, Clear, Browse };

// The window in the state a handler is tried in, with the handler at hand.
struct World : WindowWorld {
    explicit World(Handler tried) : handler(tried) {
        system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
        system.AddFile(u"C:\\Pkg\\Support\\App.exe");
        system.AddFolder(u"C:\\Users\\user\\Desktop");
        system.PutSetting(u"Relingo", u"Language", u"First", u"3");
        system.PutSetting(u"Relingo", u"Language", u"Second", u"1");
        system.PutSetting(u"Relingo", u"IPDK", u"Program", u"C:\\IPDK\\PDWizLoc.exe");
        system.PutSetting(u"Relingo", u"VB", u"RePacked Program", u"C:\\Old\\App.exe");
        dlgFileOpen.outcome = [](FakeOpenDialog& d) { d.fileName = u"C:\\Pkg\\Support\\App.exe"; };
        Prepare();
    }

    void Prepare() {
        if (handler != Handler::Load) {
            form.Form_Load();
        }
        cmbFirst.SetListIndex(5);
        programBox.SetText(handler == Handler::Browse ? u"" : u"C:\\Pkg\\Support\\App.exe");
        system.ClearMsgBoxes();
    }

    void Run() {
        switch (handler) {
        case Handler::Load:
            form.Form_Load();
            break;
        case Handler::Unload:
            form.Form_Unload();
            break;
        case Handler::Ok:
            form.cmdOK_Click();
            break;
        case Handler::Clear:
            form.cmdClear_Click();
            break;
        case Handler::Browse:
            form.cmdBrowse_Click(1);
            break;
        }
    }

    Handler handler;
};

// How often the handler calls each operation when nothing fails.
std::map<Op, int> CallsOf(Handler handler) {
    World clean(handler);
    std::map<Op, int> before;
    for (Op op : kOps) {
        before[op] = clean.system.Calls(op);
    }
    clean.Run();
    std::map<Op, int> calls;
    for (Op op : kOps) {
        calls[op] = clean.system.Calls(op) - before[op];
    }
    return calls;
}

class FaultInjectionTest : public ::testing::TestWithParam<Handler> {};

TEST_P(FaultInjectionTest, EveryFailingCallIsReportedAtMostOnceAndLosesNothing) {
    const Handler handler = GetParam();
    const auto calls = CallsOf(handler);
    int tried = 0;
    for (const auto& [op, count] : calls) {
        for (int nth = 1; nth <= count; ++nth) {
            SCOPED_TRACE("operation " + std::to_string(static_cast<int>(op)) + ", call " +
                         std::to_string(nth));
            World world(handler);
            const auto savedBefore = world.system.Settings();
            world.system.FailCall(op, nth, RealisticError(op));
            world.Run(); // a handler lets nothing escape
            ++tried;
            EXPECT_LE(ErrorReports(world.system), 1u);

            // Every setting holds what it held or what the handler meant to write.
            for (const auto& [key, value] : savedBefore) {
                ASSERT_EQ(world.system.Settings().count(key), 1u);
            }
            if (handler == Handler::Unload) {
                int updated = 0;
                updated += world.system.Settings().at(u"Relingo\\Language\\First") == u"5";
                updated += world.system.Settings().at(u"Relingo\\VB\\RePacked Program") ==
                           u"C:\\Pkg\\Support\\App.exe";
                updated += world.system.Settings().at(u"Relingo\\Language\\Second") == u"1";
                updated += world.system.Settings().at(u"Relingo\\IPDK\\Program") ==
                           u"C:\\IPDK\\PDWizLoc.exe";
                EXPECT_GE(updated, 3) << "a fault may cost only the setting it hit";
            }

            // The window stays usable: the same handler works once the fault has passed.
            world.system.ClearFaults();
            world.system.ClearMsgBoxes();
            world.Prepare();
            world.Run();
            EXPECT_EQ(ErrorReports(world.system), 0u);
        }
    }
    // Clearing the program box asks nothing of the platform; every other handler does.
    EXPECT_EQ(tried > 0, handler != Handler::Clear);
}

std::string HandlerName(const ::testing::TestParamInfo<Handler>& tried) {
    constexpr const char* kNames[] = {"Load", "Unload", "Ok", "Clear", "Browse"};
    return kNames[static_cast<int>(tried.param)];
}

INSTANTIATE_TEST_SUITE_P(Handlers, FaultInjectionTest,
                         ::testing::Values(Handler::Load, Handler::Unload, Handler::Ok,
                                           Handler::Clear, Handler::Browse),
                         HandlerName);

} // namespace
} // namespace relingo::test
