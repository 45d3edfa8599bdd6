// The controls' reference (tools/reference) refuses value notes that fit neither the server's type
// library nor the box, as it writes docs/CONTROLS.md from the library the server holds.
#include "tests/com/ComTestSupport.h"
#include "tools/reference/ControlsReference.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace relingo::test {
namespace {

using reference::ValueNote;

std::vector<ValueNote> NotedValuesBut(bool (*leftOut)(const ValueNote&), const ValueNote* added) {
    std::vector<ValueNote> values;
    for (const ValueNote& value : reference::ValueNotes()) {
        if (!leftOut(value)) {
            values.push_back(value);
        }
    }
    if (added != nullptr) {
        values.push_back(*added);
    }
    return values;
}

TEST(ReferenceTest, ValueNotesThatFitNeitherTheLibraryNorTheBoxAreRefused) {
    const auto none = [](const ValueNote&) { return false; };
    const ValueNote textValue = {"Text", 0, "Empty", "no text"};
    const ValueNote unknownMode = {"IMEMode", 11, "Beyond", "a mode the box refuses"};
    const struct {
        const char* what;
        std::vector<ValueNote> values;
        const char* error;
    } cases[] = {
        {"an enumeration's values left out",
         NotedValuesBut([](const ValueNote& v) { return std::string(v.property) == "mode"; },
                        nullptr),
         "no values are noted for mode"},
        {"values of a text", NotedValuesBut(none, &textValue), "neither an enumeration nor"},
        {"an input-method mode left out",
         NotedValuesBut([](const ValueNote& v) { return v.value == 10; }, nullptr),
         "not the box's modes"},
        {"a mode the box refuses", NotedValuesBut(none, &unknownMode), "not the box's modes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            reference::WriteReference(ServerPath().c_str(), reference::MemberNotes(), c.values);
            ADD_FAILURE() << "written";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(c.error));
        }
    }
}

} // namespace
} // namespace relingo::test
