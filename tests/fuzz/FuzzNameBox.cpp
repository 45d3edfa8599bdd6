// The name box over a fuzzed in-memory file system and a fuzzed text: the syntax check, the
// validation run and every name part must give an answer, never crash or hang, and agree with
// each other.
#include "filenamebox/FileNameBox.h"
#include "platform/Error.h"
#include "platform/PropertyBag.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/FakeTextBox.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdexcept>

namespace {

using namespace relingo;

// Characters that matter to names, so that short inputs reach the interesting paths.
constexpr char16_t kAlphabet[] = u"C:\\\\ .aZ\\/*?\"<>|'~1\u30C6\u3000\0\xD800";

std::u16string Name(FuzzedDataProvider& input, size_t maxLength) {
    std::u16string name;
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, maxLength);
    for (size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const auto pick = input.ConsumeIntegral<uint8_t>();
        name += pick < 200 ? kAlphabet[pick % (std::size(kAlphabet) - 1)]
                           : static_cast<char16_t>(input.ConsumeIntegral<uint16_t>());
    }
    return name;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    test::FakeSystem system;
    system.AddDrive(u'D');
    const int entries = input.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < entries; ++i) {
        const std::u16string path = (input.ConsumeBool() ? u"C:\\" : u"D:\\") + Name(input, 12);
        const auto attributes = input.ConsumeIntegral<uint32_t>();
        try {
            if (attributes & attr::kDirectory) {
                system.AddFolder(path, attributes);
            } else {
                system.AddFile(path, attributes);
            }
        } catch (const std::invalid_argument&) {
            // a path the fake file system cannot hold
        }
    }
    if (input.ConsumeBool()) {
        system.FailAlways(input.ConsumeBool() ? test::Op::FindFirstEntry : test::Op::GetAttributes,
                          Error(errnum::kDiskNotReady));
    }
    test::FakeHost host;
    host.localeId = input.ConsumeBool() ? 1041 : 1033;
    test::FakeTextBox inner;
    FileNameBox box(system, host, inner);
    PropertyBag designed;
    designed.Write(u"Mode", input.ConsumeIntegralInRange<int32_t>(-1, 4), int32_t{0});
    designed.Write(u"MessageShow", input.ConsumeBool(), true);
    box.ReadProperties(designed);

    const std::u16string text =
        input.ConsumeBool() ? Name(input, 300) : Name(input, 40) + std::u16string(256, u'x');
    box.SetText(text);
    try {
        const bool valid = box.ValidateValue();
        Check(box.Cancel() == !valid);
        const std::u16string fileName = box.FileName();
        Check(fileName.empty() || fileName == text);
        const std::u16string path = box.FilePath();
        const std::u16string title = box.FileTitle();
        Check(path.size() + title.size() <= text.size());
        Check(title.empty() || title.front() == u'\\');
        box.FileBody();
        box.FilePathBody();
        box.FileExtension();
        Check(box.FileDrive().size() <= text.size());
        Check(!(box.IsFile() && box.IsFolder()));
        box.ShortFileName();
        box.LongFileName();
    } catch (const Error& e) {
        // Only the directory search inside LongFileName lets its errors through: the injected
        // one, or the refusal of a name with an embedded NUL.
        Check(e.Number() == errnum::kDiskNotReady || e.Number() == errnum::kBadFileName);
    }
    return 0;
}
