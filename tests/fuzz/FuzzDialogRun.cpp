// A dialog run with fuzzed properties and a fuzzed outcome of the dialog (chosen names, offsets,
// extended error codes, memory running out): the run either succeeds or fails with one of the
// errors it may raise, never writes outside a block, and frees every block on every path.
#include "filopdlg/FilOpDlg.h"
#include "platform/Error.h"
#include "tests/fakes/FakeDialogs.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace relingo;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::u16string Text(FuzzedDataProvider& input, size_t maxLength) {
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    std::u16string text;
    for (unsigned char c : bytes) {
        // Mostly ANSI characters, some far outside the code page.
        text += c < 0xF0 ? static_cast<char16_t>(c) : static_cast<char16_t>(0x3000 + c);
    }
    return text;
}

test::DialogOutcome Outcome(FuzzedDataProvider& input) {
    test::DialogOutcome outcome;
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        outcome.kind = test::DialogOutcome::Kind::Choose;
        outcome.file = input.ConsumeRandomLengthString(700);
        outcome.fileTitle = input.ConsumeRandomLengthString(300);
        outcome.fileOffset = input.ConsumeIntegral<uint16_t>();
        outcome.fileExtension = input.ConsumeIntegral<uint16_t>();
        break;
    case 1:
        outcome.kind = test::DialogOutcome::Kind::Cancel;
        break;
    default:
        outcome.kind = test::DialogOutcome::Kind::Fail;
        outcome.errorCode = input.ConsumeIntegral<uint32_t>();
        break;
    }
    if (input.ConsumeBool()) {
        outcome.filterIndex = input.ConsumeIntegral<uint32_t>();
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    test::FakeSystem system;
    test::FakeHost host;
    host.localeId = input.ConsumeBool() ? 1041 : 1033;
    test::FakeDialogs dialogs;
    FilOpDlg dialog(system, dialogs, host);
    dialog.InitProperties();
    dialog.SetCancelError(input.ConsumeBool());
    dialog.SetFilter(Text(input, 80));
    dialog.SetInitDir(Text(input, 40));
    dialog.SetDialogTitle(Text(input, 40));
    dialog.SetDefaultExt(Text(input, 8));
    dialog.SetFileName(Text(input, 600));
    dialog.SetFlags(input.ConsumeIntegral<int32_t>());
    dialog.SetFilterIndex(input.ConsumeIntegral<int32_t>());
    // Sizes a program would set, and sizes whose doubling overflows; the buffers of sizes in
    // between are as large as asked, which is the caller's business, not a fault.
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        dialog.SetMaxFileSize(input.ConsumeIntegralInRange<int32_t>(-2, 700));
        break;
    case 1:
        dialog.SetMaxFileSize(input.ConsumeIntegralInRange<int32_t>(INT32_MIN, 70000));
        break;
    default:
        dialog.SetMaxFileSize(input.ConsumeIntegralInRange<int32_t>(1 << 30, INT32_MAX));
        break;
    }
    const test::DialogOutcome outcome = Outcome(input);
    dialogs.Script(outcome);
    if (input.ConsumeBool()) {
        dialogs.FailAllocation(input.ConsumeIntegralInRange<size_t>(1, 8));
    }
    const std::u16string fileNameBefore = dialog.FileName();
    const int method = input.ConsumeIntegralInRange(0, 2);
    try {
        if (method == 0) {
            dialog.ShowOpen();
        } else if (method == 1) {
            dialog.ShowSave();
        } else {
            dialog.GetFileName();
            Check(dialog.FileName() == fileNameBefore);
        }
    } catch (const Error& e) {
        const int32_t n = e.Number();
        Check(n == errnum::kInvalidProcedureCall || n == errnum::kOverflow ||
              n == errnum::kOutOfMemory || n == errnum::kDialogCancelled ||
              n == static_cast<int32_t>(outcome.errorCode) ||
              n == static_cast<int32_t>(cderr::kBufferTooSmall));
        Check(!e.Description().empty());
    }
    Check(dialogs.LiveBlocks() == 0);
    Check(dialogs.BadFrees() == 0);
    return 0;
}
