// The host's font objects (StdFont, IFont and IFontDisp) and the program's Font.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include "platform/HostServices.h"

#include <functional>

namespace relingo::com {

using Microsoft::WRL::ComPtr;

// A new StdFont with the font's fields. Throws relingo::Error 7 when none can be made.
ComPtr<IFontDisp> MakeOleFont(const Font& font);

// The fields of a font object: anything that answers IFont. Throws relingo::Error 13 for an
// object that is not a font.
Font ReadOleFont(IUnknown* object);

// The font object a control hands out for its font, or took in from its host, with the font it
// stands for. A host may change the object afterwards (font.Size = 12 in a script): the object
// says so to its sinks, and changed is called with what the object now describes.
class FontObject {
public:
    explicit FontObject(std::function<void(FontPtr)> changed);
    ~FontObject();
    FontObject(const FontObject&) = delete;
    FontObject& operator=(const FontObject&) = delete;

    IFontDisp* Object() const { return object_.Get(); }
    const FontPtr& StandsFor() const { return font_; }
    // Another object, or none; its changes are heard from now on.
    void Set(ComPtr<IFontDisp> object, FontPtr font);
    // The object's change was taken in: it now stands for font.
    void Took(FontPtr font) { font_ = std::move(font); }

private:
    class Sink;
    void Unwatch();

    std::function<void(FontPtr)> changed_;
    ComPtr<IFontDisp> object_;
    FontPtr font_;
    ComPtr<Sink> sink_;
    DWORD cookie_ = 0;
};

} // namespace relingo::com
