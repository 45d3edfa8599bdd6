// Writes the controls' reference from the server's type library and the notes of MemberNotes.cpp.
//
//   ControlsReference SERVER  > CONTROLS.md
#include "tools/reference/ControlsReference.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <stdexcept>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: ControlsReference SERVER > CONTROLS.md\n", stderr);
        return 2;
    }
    using namespace relingo::reference;
    try {
        const std::string text = WriteReference(argv[1], MemberNotes(), ValueNotes());
        _setmode(_fileno(stdout), _O_BINARY);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ControlsReference: %s\n", error.what());
        return 1;
    }
}
