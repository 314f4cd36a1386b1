// Turns form descriptions into live components: the class registry with the
// published properties of every class, and the loader.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/FormText.h"
#include "framework/Forms.h"

namespace pellix {

// An error in a form description: "<Form>.dfm(<line>): <what>".
PELLIX_EXCEPTION(EFormLoadError, Exception);

class LoadContext;

using PropertySetter = std::function<void(TPersistent& target, const FormValue& value, LoadContext& ctx)>;
using SubObjectGetter = std::function<TPersistent*(TPersistent& target)>;
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct PropertyInfo {
    PropertySetter set;      // a value property or event
    SubObjectGetter sub;     // a nested object ("Font" of "Font.Height")
};

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return LowerCase(a) < LowerCase(b); }
};

struct ClassInfo {
    std::string name;
    std::string parent;
    ComponentFactory create;  // empty for classes the loader cannot create
    std::map<std::string, PropertyInfo, CaseLess> properties;

    ClassInfo& Property(const std::string& property, PropertySetter setter);
    ClassInfo& SubObject(const std::string& property, SubObjectGetter getter);
};

// Registers a class (once; later calls return the same entry).
ClassInfo& RegisterClassInfo(const std::string& name, const std::string& parent, ComponentFactory create = {});
const ClassInfo* FindClassInfo(const std::string& name);
// Looks a property up through the class and its ancestors.
const PropertyInfo* FindPropertyInfo(const std::string& className, const std::string& property);

template <class T>
ComponentFactory Factory() {
    return [](TComponent* owner) -> TComponent* { return new T(owner); };  // owned by owner
}

class LoadContext {
public:
    LoadContext(TCustomForm& form, std::string source) : form_(&form), source_(std::move(source)) {}
    // Without a form, for setting a property of a live object from the name
    // of a value: only enumeration and Boolean readers accept one then
    // (colour names, handlers and references fail).
    explicit LoadContext(std::string source) : source_(std::move(source)) {}

    [[noreturn]] void Fail(int line, const std::string& message) const;

    int32_t Int(const FormValue& v) const;
    bool Bool(const FormValue& v) const;
    std::string String(const FormValue& v) const;
    std::string Ident(const FormValue& v) const;
    TColor Color(const FormValue& v) const;
    int Enum(const FormValue& v, const std::vector<std::string>& names) const;
    // A set of named flags, each name given its bit value.
    uint32_t Set(const FormValue& v, const std::vector<std::pair<std::string, uint32_t>>& names) const;
    std::vector<std::string> Strings(const FormValue& v) const;
    // Bytes written in the description or kept in a file embedded beside it.
    std::vector<uint8_t> Binary(const FormValue& v) const;
    // Replaces the collection's items with those of a "< item ... end >"
    // value, each made by the collection and given its properties.
    void ReadCollection(const FormValue& v, TCollection& collection);

    // The form's handler of that name, of the event's type.
    template <class Event>
    Event Handler(const FormValue& v) const {
        std::string name = Ident(v);
        if (form_ == nullptr) Fail(v.line, "no form to take handler '" + name + "' from");
        const std::any* found = form_->FindHandler(name);
        if (found == nullptr) Fail(v.line, "unknown handler '" + name + "'");
        const Event* typed = std::any_cast<Event>(found);
        if (typed == nullptr) Fail(v.line, "handler '" + name + "' does not fit this event");
        return *typed;
    }

    // Resolved once every component of the form exists.
    void Reference(const FormValue& v, std::function<void(TComponent*)> assign);
    void ResolveReferences();

    TCustomForm& Form() const { return *form_; }

private:
    struct Fixup {
        std::string name;
        int line;
        std::function<void(TComponent*)> assign;
    };
    TCustomForm* form_ = nullptr;
    std::string source_;
    std::vector<Fixup> fixups_;
};

// A property of class T given as a function of (T&, value, context).
template <class T>
PropertySetter Prop(std::function<void(T&, const FormValue&, LoadContext&)> fn) {
    return [fn](TPersistent& target, const FormValue& v, LoadContext& ctx) { fn(dynamic_cast<T&>(target), v, ctx); };
}

template <class T, class Event>
PropertySetter EventProp(Event T::*member) {
    return [member](TPersistent& target, const FormValue& v, LoadContext& ctx) {
        dynamic_cast<T&>(target).*member = ctx.Handler<Event>(v);
    };
}

template <class T>
SubObjectGetter Sub(std::function<TPersistent*(T&)> fn) {
    return [fn](TPersistent& target) { return fn(dynamic_cast<T&>(target)); };
}

// Sets an enumeration or Boolean property of a live object from the name of
// one of its values ("True", "alClient"; any case). False, with nothing
// changed, when the class has no such property, the property is of another
// kind, or the name is none of its values.
bool SetPropertyValueName(TPersistent& target, const std::string& property, const std::string& valueName);

// Reads the description embedded for the form's class, if there is one.
void LoadFormDescription(TCustomForm& form);
// Reads a description given as text; source names it in errors.
void LoadFormText(TCustomForm& form, std::string_view text, const std::string& source);

// Embedded resource bytes by name; empty when there is none.
std::string_view ResourceBytes(const std::string& name);

}  // namespace pellix
