// What the type library does not say about the controls' members: defaults, what is saved with
// the form, what can be set at run time, the errors each raises, and what each is for. The
// reference of docs/CONTROLS.md is the type library's members with these notes beside them.
#pragma once

#include <span>

namespace relingo::reference {

struct MemberNote {
    const char* control;
    const char* member;
    const char* what;
    const char* defaultValue = nullptr; // none for methods and events
    const char* savedAs = nullptr;      // the key of the saved form, none when it is not saved
    const char* atRunTime =
        nullptr;                  // for a property that can be set: whether it can be at run time
    const char* errors = nullptr; // none: no error of its own
};

struct ValueNote {
    const char* property;
    int value;
    const char* name;
    const char* meaning;
};

std::span<const MemberNote> MemberNotes();
// The values of the properties whose numbers stand for something.
std::span<const ValueNote> ValueNotes();

} // namespace relingo::reference
