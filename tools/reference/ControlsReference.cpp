#include "tools/reference/ControlsReference.h"

#include <oleauto.h>
#include <wrl/client.h>

#include "filenamebox/InputMethodSetting.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace relingo::reference {
namespace {

using Microsoft::WRL::ComPtr;

// A table cell's text: a "|" of its own would end the cell.
std::string Cell(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '|' ? std::string("\\|") : std::string(1, c);
    }
    return out;
}

std::string Taken(BSTR text) {
    const std::string out = text != nullptr ? ToUtf8(win32::FromWide(text)) : std::string();
    ::SysFreeString(text);
    return out;
}

void Check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        throw std::runtime_error(std::string(what) + " failed");
    }
}

std::string NameOf(ITypeInfo& info) {
    BSTR name = nullptr;
    Check(info.GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), "a type's name");
    return Taken(name);
}

// A type in the words of the Visual Basic that hosts the controls; a pointer is what it points to.
std::string TypeName(ITypeInfo& info, const TYPEDESC& type) {
    switch (type.vt) {
    case VT_PTR:
        return TypeName(info, *type.lptdesc);
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> named;
        Check(info.GetRefTypeInfo(type.hreftype, &named), "a named type");
        return NameOf(*named.Get());
    }
    case VT_BSTR:
        return "String";
    case VT_BOOL:
        return "Boolean";
    case VT_I2:
        return "Integer";
    case VT_I4:
        return "Long";
    case VT_R4:
        return "Single";
    case VT_VARIANT:
        return "Variant";
    default:
        throw std::runtime_error("a type the reference has no name for: " +
                                 std::to_string(type.vt));
    }
}

// One member as the type library gives it: a method, a property (its get and put functions
// together) or an event.
struct Member {
    MEMBERID id = 0;
    std::string name;
    std::string kind;
    std::string type; // the property's type, or the method's or event's parameters
};

// The function's parameters as "(ByRef Name As Type, ...)", and " As Type" for a return value.
std::string Signature(ITypeInfo& info, const FUNCDESC& function, bool event) {
    std::vector<BSTR> names(static_cast<size_t>(function.cParams) + 1);
    UINT count = 0;
    Check(info.GetNames(function.memid, names.data(), static_cast<UINT>(names.size()), &count),
          "a member's names");
    std::vector<std::string> texts;
    for (BSTR name : names) {
        texts.push_back(name != nullptr ? Taken(name) : std::string());
    }
    std::string parameters;
    std::string result;
    for (SHORT i = 0; i < function.cParams; ++i) {
        const ELEMDESC& parameter = function.lprgelemdescParam[i];
        const USHORT flags = parameter.paramdesc.wParamFlags;
        const std::string type = TypeName(info, parameter.tdesc);
        if ((flags & PARAMFLAG_FRETVAL) != 0) {
            result = " As " + type;
            continue;
        }
        const bool byReference = event ? (flags & PARAMFLAG_FOUT) != 0 : false;
        parameters += std::string(parameters.empty() ? "" : ", ") + (byReference ? "ByRef " : "") +
                      texts.at(static_cast<size_t>(i) + 1) + " As " + type;
    }
    return texts.at(0) + "(" + parameters + ")" + result;
}

std::vector<Member> MembersOf(ITypeInfo& info, bool events) {
    TYPEATTR* attributes = nullptr;
    Check(info.GetTypeAttr(&attributes), "an interface's attributes");
    const WORD functions = attributes->cFuncs;
    info.ReleaseTypeAttr(attributes);
    std::vector<Member> members;
    std::map<MEMBERID, size_t> properties;
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* function = nullptr;
        Check(info.GetFuncDesc(i, &function), "a member");
        const bool restricted = (function->wFuncFlags & FUNCFLAG_FRESTRICTED) != 0;
        const INVOKEKIND kind = function->invkind;
        const std::string signature = Signature(info, *function, events);
        const std::string name = signature.substr(0, signature.find('('));
        if (!restricted && kind == INVOKE_FUNC) {
            members.push_back({function->memid, name, events ? "event" : "method", signature});
        } else if (!restricted) {
            auto [at, made] = properties.try_emplace(function->memid, members.size());
            if (made) {
                members.push_back({function->memid, name, "read-only property", ""});
            }
            Member& property = members[at->second];
            if (kind == INVOKE_PROPERTYGET) {
                property.type = TypeName(info, function->lprgelemdescParam[0].tdesc);
            } else {
                property.kind =
                    kind == INVOKE_PROPERTYPUTREF ? "property, set with Set" : "property";
            }
        }
        info.ReleaseFuncDesc(function);
    }
    return members;
}

// The interface a dual interface's dispatch description stands for: its own functions only.
ComPtr<ITypeInfo> Interface(ITypeInfo& dispatch) {
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> info;
    if (FAILED(dispatch.GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) ||
        FAILED(dispatch.GetRefTypeInfo(reference, &info))) {
        return &dispatch;
    }
    return info;
}

// The values noted for IMEMode are the box's own modes, each once and in order: every mode it
// takes, and none it refuses.
void CheckInputMethodModes(const std::vector<std::pair<std::string, int>>& values) {
    std::vector<int> noted;
    for (const auto& value : values) {
        noted.push_back(value.second);
    }
    std::vector<int> modes;
    for (int mode = 0;; ++mode) {
        try {
            InputMethodSettingOf(static_cast<int16_t>(mode));
        } catch (const Error&) {
            break;
        }
        modes.push_back(mode);
    }
    if (noted != modes) {
        throw std::runtime_error("the values of IMEMode are not the box's modes 0 to " +
                                 std::to_string(modes.size() - 1));
    }
}

class Reference {
public:
    Reference(const wchar_t* server, std::span<const MemberNote> notes,
              std::span<const ValueNote> values)
        : values_(values) {
        Check(::LoadTypeLibEx(server, REGKIND_NONE, &library_), "loading the type library");
        for (const MemberNote& note : notes) {
            notes_.emplace(std::string(note.control) + "." + note.member, &note);
        }
    }

    std::string Write() {
        for (const ComPtr<ITypeInfo>& info : TypesOf(TKIND_ENUM)) {
            enums_.emplace(NameOf(*info.Get()), info);
        }
        std::string out = Introduction();
        for (const ComPtr<ITypeInfo>& info : TypesOf(TKIND_COCLASS)) {
            out += Control(*info.Get());
        }
        for (const auto& [key, note] : notes_) {
            if (used_.count(key) == 0) {
                throw std::runtime_error("a note names no member of the type library: " + key);
            }
        }
        return out;
    }

private:
    std::vector<ComPtr<ITypeInfo>> TypesOf(TYPEKIND wanted) {
        std::vector<ComPtr<ITypeInfo>> types;
        for (UINT i = 0; i < library_->GetTypeInfoCount(); ++i) {
            TYPEKIND kind = TKIND_MAX;
            Check(library_->GetTypeInfoType(i, &kind), "a type's kind");
            if (kind == wanted) {
                Check(library_->GetTypeInfo(i, &types.emplace_back()), "a type");
            }
        }
        return types;
    }

    std::string Introduction() {
        BSTR name = nullptr;
        BSTR help = nullptr;
        Check(library_->GetDocumentation(-1, &name, &help, nullptr, nullptr), "the library's name");
        library_name_ = Taken(name);
        return "# The controls' reference\n\n"
               "<!-- Written by tools/reference from the type library in RelingoControls.ocx; "
               "do not edit. `cmake --build build/windows --target controls_reference` writes it "
               "again. -->\n\n" +
               Taken(help) +
               ", in `RelingoControls.ocx` (how to use them: [USING.md](../USING.md)). Each "
               "control's members stand in the order of the type library, with their dispatch "
               "ids. Types are those of Visual Basic. \"Saved as\" is the key under which a "
               "property is saved with the form; a property without one starts afresh each time "
               "the form is loaded.\n\n"
               "Besides the errors listed, every member fails with 13 Type mismatch for a value "
               "of the wrong type and 6 Overflow for a number beyond its type, before it runs. "
               "An error reaches the container with its number in the low word of the HRESULT "
               "(`&H800A0000` plus the number) and its text in the error information.\n";
    }

    const MemberNote& NoteFor(const std::string& control, const std::string& member) {
        const std::string key = control + "." + member;
        const auto found = notes_.find(key);
        if (found == notes_.end()) {
            throw std::runtime_error("no note for the member " + key);
        }
        used_.insert(key);
        return *found->second;
    }

    std::string Control(ITypeInfo& coclass) {
        const std::string control = NameOf(coclass);
        BSTR help = nullptr;
        Check(coclass.GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr), "help");
        std::string out = "\n## " + control + "\n\n`" + library_name_ + "." + control +
                          "`: " + Taken(help) + ".\n\n";
        TYPEATTR* attributes = nullptr;
        Check(coclass.GetTypeAttr(&attributes), "a class's attributes");
        const WORD implemented = attributes->cImplTypes;
        coclass.ReleaseTypeAttr(attributes);
        types_.clear();
        std::string events;
        for (UINT i = 0; i < implemented; ++i) {
            INT flags = 0;
            HREFTYPE reference = 0;
            ComPtr<ITypeInfo> info;
            Check(coclass.GetImplTypeFlags(i, &flags), "an interface's flags");
            Check(coclass.GetRefTypeOfImplType(i, &reference), "an interface");
            Check(coclass.GetRefTypeInfo(reference, &info), "an interface");
            if ((flags & IMPLTYPEFLAG_FSOURCE) != 0) {
                events = Events(control, *info.Get());
            } else {
                out += Members(control, *Interface(*info.Get()).Get());
            }
        }
        return out + events + Values(control);
    }

    std::string Members(const std::string& control, ITypeInfo& info) {
        std::string out = "| Member | Id | Kind | Type | Default | Saved as | Set at run time | "
                          "Errors | What it is |\n|---|---|---|---|---|---|---|---|---|\n";
        for (const Member& member : MembersOf(info, false)) {
            const MemberNote& note = NoteFor(control, member.name);
            const bool settable = member.kind.starts_with("property");
            if (member.kind.find("property") != std::string::npos) {
                types_[member.name] = member.type;
            }
            out += "| `" + member.name + "` | " + std::to_string(member.id) + " | " + member.kind +
                   " | `" + member.type + "` | " + Or(note.defaultValue) + " | " +
                   (note.savedAs != nullptr ? std::string("\"") + note.savedAs + "\"" : "") +
                   " | " + (settable ? Or(note.atRunTime) : "") + " | " + Or(note.errors) + " | " +
                   Cell(note.what) + " |\n";
            if (settable != (note.atRunTime != nullptr)) {
                throw std::runtime_error("the note on setting " + member.name +
                                         " does not fit the type library");
            }
        }
        return out;
    }

    std::string Events(const std::string& control, ITypeInfo& info) {
        std::string out = "\nEvents, with the parameters passed by reference marked ByRef:\n\n"
                          "| Event | Id | Parameters | Raised when |\n|---|---|---|---|\n";
        for (const Member& event : MembersOf(info, true)) {
            out += "| `" + event.name + "` | " + std::to_string(event.id) + " | `" + event.type +
                   "` | " + Cell(NoteFor(control, event.name).what) + " |\n";
        }
        return out;
    }

    // The values of the control's properties whose numbers stand for something. A property
    // typed as an enumeration of the type library has its constants noted, one for one; only
    // such a property, or one of an integer type, has values noted at all.
    std::string Values(const std::string& control) {
        std::string out;
        std::map<std::string, std::vector<std::pair<std::string, int>>> noted;
        for (const ValueNote& value : values_) {
            if (notes_.count(control + "." + value.property) == 0) {
                continue;
            }
            if (noted.count(value.property) == 0) {
                out += std::string("\nValues of `") + value.property +
                       "`:\n\n| Value | Name | Meaning |\n|---|---|---|\n";
            }
            noted[value.property].emplace_back(value.name, value.value);
            out += "| " + std::to_string(value.value) + " | `" + value.name + "` | " +
                   Cell(value.meaning) + " |\n";
        }
        for (const auto& [property, values] : noted) {
            const std::string& type = types_[property];
            const auto enumeration = enums_.find(type);
            if (enumeration != enums_.end() && ConstantsOf(*enumeration->second.Get()) != values) {
                throw std::runtime_error("the values of " + property +
                                         " differ from the type library's");
            }
            if (enumeration == enums_.end() && type != "Integer" && type != "Long") {
                throw std::runtime_error("values are noted for " + property + ", whose type " +
                                         type + " is neither an enumeration nor an integer");
            }
            if (property == "IMEMode") {
                CheckInputMethodModes(values);
            }
        }
        for (const auto& [property, type] : types_) {
            if (enums_.count(type) != 0 && noted.count(property) == 0) {
                throw std::runtime_error("no values are noted for " + property + ", of the " +
                                         "enumeration " + type);
            }
        }
        return out;
    }

    static std::vector<std::pair<std::string, int>> ConstantsOf(ITypeInfo& enumeration) {
        std::vector<std::pair<std::string, int>> constants;
        VARDESC* constant = nullptr;
        for (UINT i = 0; SUCCEEDED(enumeration.GetVarDesc(i, &constant)); ++i) {
            BSTR name = nullptr;
            UINT count = 0;
            enumeration.GetNames(constant->memid, &name, 1, &count);
            constants.emplace_back(Taken(name), static_cast<int>(constant->lpvarValue->lVal));
            enumeration.ReleaseVarDesc(constant);
        }
        return constants;
    }

    static std::string Or(const char* text) { return text != nullptr ? Cell(text) : ""; }

    std::span<const ValueNote> values_;
    ComPtr<ITypeLib> library_;
    std::string library_name_;
    std::map<std::string, const MemberNote*> notes_;
    std::set<std::string> used_;
    std::map<std::string, ComPtr<ITypeInfo>> enums_;
    std::map<std::string, std::string> types_; // of the current control's properties
};

} // namespace

std::string WriteReference(const wchar_t* server, std::span<const MemberNote> notes,
                           std::span<const ValueNote> values) {
    return Reference(server, notes, values).Write();
}

} // namespace relingo::reference
