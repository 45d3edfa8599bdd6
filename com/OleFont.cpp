#include "com/OleFont.h"

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "platform/Error.h"
#include "platform/win32/WideText.h"

#include <cmath>

namespace relingo::com {

namespace {

// A font's size as the OLE currency type holds it: points in ten-thousandths.
constexpr double kCurrencyScale = 10000.0;

} // namespace

ComPtr<IFontDisp> MakeOleFont(const Font& font) {
    std::wstring name = win32::ToWide(font.name);
    FONTDESC description = {};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = name.data();
    description.cySize.int64 = std::llround(font.size * kCurrencyScale);
    description.sWeight = static_cast<SHORT>(font.weight);
    description.sCharset = static_cast<SHORT>(font.charset);
    description.fItalic = font.italic;
    description.fUnderline = font.underline;
    description.fStrikethrough = font.strikethrough;
    ComPtr<IFontDisp> made;
    if (FAILED(::OleCreateFontIndirect(&description, IID_IFontDisp,
                                       reinterpret_cast<void**>(made.GetAddressOf())))) {
        throw Error(errnum::kOutOfMemory);
    }
    return made;
}

Font ReadOleFont(IUnknown* object) {
    ComPtr<IFont> font;
    if (object == nullptr ||
        FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.GetAddressOf())))) {
        throw Error(errnum::kTypeMismatch);
    }
    Font read;
    UniqueBstr name;
    CY size = {};
    SHORT weight = 0;
    SHORT charset = 0;
    BOOL italic = FALSE;
    BOOL underline = FALSE;
    BOOL strikethrough = FALSE;
    if (FAILED(font->get_Name(name.Put())) || FAILED(font->get_Size(&size)) ||
        FAILED(font->get_Weight(&weight)) || FAILED(font->get_Charset(&charset)) ||
        FAILED(font->get_Italic(&italic)) || FAILED(font->get_Underline(&underline)) ||
        FAILED(font->get_Strikethrough(&strikethrough))) {
        throw Error(errnum::kTypeMismatch);
    }
    read.name = FromBstr(name.Get());
    read.size = static_cast<double>(size.int64) / kCurrencyScale;
    read.weight = weight;
    read.charset = charset;
    read.italic = italic != FALSE;
    read.underline = underline != FALSE;
    read.strikethrough = strikethrough != FALSE;
    return read;
}

// The font object's notifications, passed to the FontObject while it watches.
class FontObject::Sink : public IPropertyNotifySink {
public:
    explicit Sink(FontObject& owner) : owner_(&owner) {}
    virtual ~Sink() = default;
    void* Find(REFIID iid) { return Interfaces<IPropertyNotifySink>::Find(this, iid); }
    void Forget() { owner_ = nullptr; }

    STDMETHODIMP OnChanged(DISPID) override {
        if (owner_ == nullptr || !owner_->object_) {
            return S_OK;
        }
        try {
            owner_->changed_(std::make_shared<Font>(ReadOleFont(owner_->object_.Get())));
        } catch (...) {
            // A font the object can no longer describe leaves the control's as it was.
        }
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    FontObject* owner_;
};

FontObject::FontObject(std::function<void(FontPtr)> changed) : changed_(std::move(changed)) {}

FontObject::~FontObject() {
    Unwatch();
}

void FontObject::Unwatch() {
    if (sink_) {
        sink_->Forget();
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        if (object_ && cookie_ != 0 && SUCCEEDED(object_.As(&container)) &&
            SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, &point))) {
            point->Unadvise(cookie_);
        }
    }
    sink_.Reset();
    cookie_ = 0;
}

void FontObject::Set(ComPtr<IFontDisp> object, FontPtr font) {
    Unwatch();
    object_ = std::move(object);
    font_ = std::move(font);
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (!object_ || FAILED(object_.As(&container)) ||
        FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, &point))) {
        return;
    }
    auto sink = ComObject<Sink>::Make(*this);
    if (sink && SUCCEEDED(point->Advise(sink.Get(), &cookie_))) {
        sink_ = std::move(sink);
    }
}

} // namespace relingo::com
