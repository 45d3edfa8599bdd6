// The window's load and unload over fuzzed stored settings: whatever a user (or another program)
// left in the settings store, the window starts with valid list positions, reports at most one
// error, and saves every setting again.
#include "filenamebox/FileNameBox.h"
#include "main_window/frmMain.h"
#include "platform/PropertyBag.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/FakeTextBox.h"
#include "tests/fakes/FakeWindowControls.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace relingo;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::u16string Text(FuzzedDataProvider& input) {
    const std::string bytes = input.ConsumeRandomLengthString(300);
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                      (static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
    if (bytes.size() % 2 == 1) {
        text += static_cast<char16_t>(static_cast<uint8_t>(bytes.back()));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    test::FakeSystem system;
    system.AddFile(u"C:\\IPDK\\PDWizLoc.exe");
    system.AddFile(u"C:\\Pkg\\Support\\App.exe");
    const char16_t* keys[][2] = {{u"Language", u"First"},
                                 {u"Language", u"Second"},
                                 {u"IPDK", u"Program"},
                                 {u"VB", u"RePacked Program"}};
    for (const auto& key : keys) {
        if (input.ConsumeBool()) {
            system.PutSetting(u"Relingo", key[0], key[1], Text(input));
        }
    }
    system.SetSystemFolder(Text(input));
    if (input.ConsumeBool()) {
        const auto op = static_cast<test::Op>(
            input.ConsumeIntegralInRange<int>(0, static_cast<int>(test::Op::ProductName)));
        system.FailNext(op, Error(input.ConsumeIntegral<int32_t>()));
    }

    test::FakeHost host;
    test::FakeTextBox ipdkInput;
    test::FakeTextBox programInput;
    FileNameBox ipdkBox(system, host, ipdkInput);
    FileNameBox programBox(system, host, programInput);
    PropertyBag designed;
    designed.Write(u"Mode", int32_t{1}, int32_t{0});
    ipdkBox.ReadProperties(designed);
    programBox.ReadProperties(designed);
    test::FakeList cmbFirst({u"English", u"German", u"French", u"Italian", u"Spanish", u"Japanese",
                             u"Korean", u"SimpChin", u"TradChin"});
    test::FakeList cmbSecond({u"(Default)", u"(None)"});
    test::FakeOpenDialog dialog;
    frmMain form(system, {ipdkBox, programBox, cmbFirst, cmbSecond, dialog});

    form.Form_Load();
    Check(cmbFirst.ListIndex() >= -1 && cmbFirst.ListIndex() < 9);
    Check(cmbSecond.ListIndex() >= -1 && cmbSecond.ListIndex() < 2);
    Check(test::ErrorReports(system) <= 1);

    system.ClearMsgBoxes();
    const int saves = system.Calls(test::Op::SaveSetting);
    form.Form_Unload();
    // One fault costs at most the one setting it hit.
    const int written = system.Calls(test::Op::SaveSetting) - saves;
    Check(written >= 3 && written <= 4);
    Check(test::ErrorReports(system) <= 1);
    return 0;
}
