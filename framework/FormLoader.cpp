#include "framework/FormLoader.h"

#include <mutex>

#include "framework/UnitClasses.h"

namespace pellix {

void RegisterFrameworkClasses();

namespace {

std::map<std::string, ClassInfo, CaseLess>& Registry() {
    static std::map<std::string, ClassInfo, CaseLess> registry;
    return registry;
}

void EnsureFrameworkClasses() {
    static std::once_flag once;
    std::call_once(once, RegisterFrameworkClasses);
}

std::string ResourceNameOf(const std::string& fileName) {
    std::string name = UpperCase(fileName);
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

// Walks the nested objects of a dotted name ("Font.Height") and gives the
// property of its last part, or null.
const PropertyInfo* NestedProperty(TPersistent*& object, const std::string& name) {
    std::string path = name;
    for (size_t dot; (dot = path.find('.')) != std::string::npos;) {
        const PropertyInfo* info = FindPropertyInfo(object->ClassName(), path.substr(0, dot));
        if (info == nullptr || !info->sub) return nullptr;
        object = info->sub(*object);
        path = path.substr(dot + 1);
    }
    return FindPropertyInfo(object->ClassName(), path);
}

// Hands a binary property's data to the object's read procedure.
PropertySetter StoredPropertySetter(const TStoredProperties::TBinaryProperty& property) {
    return [property](TPersistent&, const FormValue& v, LoadContext& ctx) {
        std::vector<uint8_t> bytes = ctx.Binary(v);
        TMemoryStream data;
        if (v.kind == FormValue::Kind::FileRef && property.Layout == TBinaryLayout::CountPrefixed) {
            const auto count = static_cast<uint32_t>(bytes.size());
            const uint8_t prefix[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                                       static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
            data.WriteBuffer(prefix, sizeof(prefix));
        }
        data.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        data.SetPosition(0);
        property.ReadData(data);
    };
}

void ApplyProperty(TPersistent& target, const FormProperty& p, LoadContext& ctx) {
    TPersistent* object = &target;
    // Some properties are named with a dot as a whole ("Lines.Strings").
    const PropertyInfo* info = FindPropertyInfo(target.ClassName(), p.name);
    if (info == nullptr || !info->set) info = NestedProperty(object, p.name);
    PropertySetter set = info != nullptr ? info->set : PropertySetter();
    if (!set) {
        object = &target;
        TStoredProperties stored;
        target.DeclareStoredProperties(stored);
        if (const auto* binary = stored.Find(p.name)) set = StoredPropertySetter(*binary);
    }
    if (!set) ctx.Fail(p.line, "unknown property '" + p.name + "' of " + target.ClassName());
    try {
        set(*object, p.value, ctx);
    } catch (const EFormLoadError&) {
        throw;
    } catch (const std::exception& e) {
        ctx.Fail(p.line, "property '" + p.name + "': " + e.what());
    }
}

void ApplyProperties(TPersistent& target, const std::vector<FormProperty>& properties, LoadContext& ctx) {
    for (const FormProperty& p : properties) ApplyProperty(target, p, ctx);
}

void CreateChildren(const FormObject& object, TComponent& container, LoadContext& ctx) {
    TCustomForm& form = ctx.Form();
    for (const FormObject& child : object.children) {
        const ClassInfo* info = FindClassInfo(child.className);
        if (info == nullptr || !info->create) ctx.Fail(child.line, "unknown class '" + child.className + "'");
        if (!child.name.empty() && form.FindComponent(child.name) != nullptr)
            ctx.Fail(child.line, "a component named '" + child.name + "' already exists");
        TComponent* component = info->create(&form);
        component->SetLoading(true);
        component->SetName(child.name);
        if (auto* control = dynamic_cast<TControl*>(component)) {
            auto* parent = dynamic_cast<TWinControl*>(&container);
            if (parent == nullptr) ctx.Fail(child.line, "'" + child.name + "' is a control outside any windowed control");
            control->SetParent(parent);
        } else {
            try {
                container.ReadChild(component);
            } catch (const EComponentError& e) {
                ctx.Fail(child.line, e.what());
            }
        }
        ApplyProperties(*component, child.properties, ctx);
        CreateChildren(child, *component, ctx);
    }
}

}  // namespace

ClassInfo& ClassInfo::Property(const std::string& property, PropertySetter setter) {
    properties[property].set = std::move(setter);
    return *this;
}

ClassInfo& ClassInfo::SubObject(const std::string& property, SubObjectGetter getter) {
    properties[property].sub = std::move(getter);
    return *this;
}

ClassInfo& RegisterClassInfo(const std::string& name, const std::string& parent, ComponentFactory create) {
    auto& registry = Registry();
    auto it = registry.find(name);
    if (it != registry.end()) {
        if (create && !it->second.create) it->second.create = std::move(create);
        return it->second;
    }
    ClassInfo& info = registry[name];
    info.name = name;
    info.parent = parent;
    info.create = std::move(create);
    return info;
}

const ClassInfo* FindClassInfo(const std::string& name) {
    EnsureFrameworkClasses();
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : &it->second;
}

const PropertyInfo* FindPropertyInfo(const std::string& className, const std::string& property) {
    for (const ClassInfo* info = FindClassInfo(className); info != nullptr; info = FindClassInfo(info->parent)) {
        auto it = info->properties.find(property);
        if (it != info->properties.end()) return &it->second;
        if (info->parent.empty()) break;
    }
    return nullptr;
}

// ------------------------------------------------------------- LoadContext

void LoadContext::Fail(int line, const std::string& message) const {
    throw EFormLoadError(source_ + "(" + std::to_string(line) + "): " + message);
}

int32_t LoadContext::Int(const FormValue& v) const {
    if (v.kind != FormValue::Kind::Integer) Fail(v.line, std::string("expected an integer, not a ") + FormValueKindName(v.kind));
    if (v.integer < INT32_MIN || v.integer > UINT32_MAX) Fail(v.line, "integer out of range");
    return static_cast<int32_t>(static_cast<uint32_t>(v.integer));
}

bool LoadContext::Bool(const FormValue& v) const {
    if (v.kind == FormValue::Kind::Identifier) {
        if (SameText(v.text, "True")) return true;
        if (SameText(v.text, "False")) return false;
    }
    Fail(v.line, "expected True or False");
}

std::string LoadContext::String(const FormValue& v) const {
    if (v.kind != FormValue::Kind::String) Fail(v.line, std::string("expected a string, not a ") + FormValueKindName(v.kind));
    return v.text;
}

std::string LoadContext::Ident(const FormValue& v) const {
    if (v.kind != FormValue::Kind::Identifier) Fail(v.line, std::string("expected a name, not a ") + FormValueKindName(v.kind));
    return v.text;
}

TColor LoadContext::Color(const FormValue& v) const {
    if (v.kind == FormValue::Kind::Integer) return Int(v);
    // A colour is a number; its names are only a way of writing one.
    if (form_ == nullptr) Fail(v.line, "a colour is no enumeration");
    TColor c;
    if (v.kind == FormValue::Kind::Identifier && IdentToColor(v.text, c)) return c;
    Fail(v.line, "expected a colour");
}

int LoadContext::Enum(const FormValue& v, const std::vector<std::string>& names) const {
    std::string name = Ident(v);
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name)) return static_cast<int>(i);
    Fail(v.line, "'" + name + "' is not a value of this property");
}

uint32_t LoadContext::Set(const FormValue& v, const std::vector<std::pair<std::string, uint32_t>>& names) const {
    if (v.kind != FormValue::Kind::Set) Fail(v.line, std::string("expected a set, not a ") + FormValueKindName(v.kind));
    uint32_t bits = 0;
    for (const FormValue& item : v.items) {
        bool known = false;
        for (const auto& [name, bit] : names) {
            if (SameText(name, item.text)) {
                bits |= bit;
                known = true;
            }
        }
        if (!known) Fail(item.line, "'" + item.text + "' is not an element of this set");
    }
    return bits;
}

std::vector<std::string> LoadContext::Strings(const FormValue& v) const {
    if (v.kind != FormValue::Kind::List) Fail(v.line, std::string("expected a list of strings, not a ") + FormValueKindName(v.kind));
    std::vector<std::string> out;
    for (const FormValue& item : v.items) out.push_back(String(item));
    return out;
}

std::vector<uint8_t> LoadContext::Binary(const FormValue& v) const {
    if (v.kind == FormValue::Kind::Binary) return v.bytes;
    if (v.kind != FormValue::Kind::FileRef) Fail(v.line, std::string("expected binary data, not a ") + FormValueKindName(v.kind));
    std::string_view bytes = ResourceBytes(ResourceNameOf(v.text));
    if (bytes.data() == nullptr) Fail(v.line, "no embedded file '" + v.text + "'");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void LoadContext::ReadCollection(const FormValue& v, TCollection& collection) {
    if (v.kind != FormValue::Kind::Collection) Fail(v.line, std::string("expected a collection, not a ") + FormValueKindName(v.kind));
    collection.Clear();
    for (const FormCollectionItem& item : v.collection) ApplyProperties(*collection.Add(), item.properties, *this);
}

void LoadContext::Reference(const FormValue& v, std::function<void(TComponent*)> assign) {
    if (form_ == nullptr) Fail(v.line, "no form to find component '" + v.text + "' in");
    fixups_.push_back(Fixup{Ident(v), v.line, std::move(assign)});
}

void LoadContext::ResolveReferences() {
    for (const Fixup& f : fixups_) {
        TComponent* target = SameText(f.name, form_->Name()) ? form_ : form_->FindComponent(f.name);
        if (target == nullptr) Fail(f.line, "no component named '" + f.name + "'");
        f.assign(target);
    }
    fixups_.clear();
}

bool SetPropertyValueName(TPersistent& target, const std::string& property, const std::string& valueName) {
    const PropertyInfo* info = FindPropertyInfo(target.ClassName(), property);
    if (info == nullptr || !info->set) return false;
    FormValue value;
    value.kind = FormValue::Kind::Identifier;
    value.text = valueName;
    LoadContext ctx(target.ClassName());
    try {
        info->set(target, value, ctx);
    } catch (const EFormLoadError&) {
        // The property reads something other than a value name, or this name
        // is none of its values: the readers fail before anything is set.
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ loader

std::string_view ResourceBytes(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) return {};
    // Resource memory lives as long as the module; nothing to free.
    return std::string_view(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
}

void LoadFormDescription(TCustomForm& form) {
    std::string base = form.ClassName().substr(1);
    std::string_view text = ResourceBytes(UpperCase(base));
    if (text.data() == nullptr) return;
    LoadFormText(form, text, base + ".dfm");
}

void LoadFormText(TCustomForm& form, std::string_view text, const std::string& source) {
    FormObject root;
    try {
        root = ParseFormText(text, source);
    } catch (const FormTextError& e) {
        throw EFormLoadError(e.what());
    }
    LoadContext ctx(form, source);
    if (!SameText(root.className, form.ClassName()))
        ctx.Fail(root.line, "describes a " + root.className + ", not a " + form.ClassName());
    form.SetLoading(true);
    form.SetName(root.name);
    ApplyProperties(form, root.properties, ctx);
    CreateChildren(root, form, ctx);
    ctx.ResolveReferences();
    for (int i = 0; i < form.ComponentCount(); ++i) form.Components(i)->Loaded();
    form.Loaded();
}

// ---------------------------------------------------- framework's classes

void RegisterFrameworkClasses() {
    RegisterClassInfo("TPersistent", "");
    RegisterClassInfo("TCollectionItem", "TPersistent");
    RegisterClassInfo("TComponent", "TPersistent")
        .Property("Tag", Prop<TComponent>([](TComponent& c, const FormValue& v, LoadContext& x) { c.Tag = x.Int(v); }));

    RegisterClassInfo("TFont", "TPersistent")
        .Property("Name", Prop<TFont>([](TFont& f, const FormValue& v, LoadContext& x) { f.SetName(x.String(v)); }))
        .Property("Height", Prop<TFont>([](TFont& f, const FormValue& v, LoadContext& x) { f.SetHeight(x.Int(v)); }))
        .Property("Size", Prop<TFont>([](TFont& f, const FormValue& v, LoadContext& x) { f.SetSize(x.Int(v)); }))
        .Property("Color", Prop<TFont>([](TFont& f, const FormValue& v, LoadContext& x) { f.SetColor(x.Color(v)); }))
        .Property("Charset", Prop<TFont>([](TFont& f, const FormValue& v, LoadContext& x) {
            f.SetCharset(v.kind == FormValue::Kind::Integer
                             ? x.Int(v)
                             : (x.Enum(v, {"ANSI_CHARSET", "DEFAULT_CHARSET"}) == 0 ? ANSI_CHARSET : DEFAULT_CHARSET));
        }))
        .Property("Style", Prop<TFont>([](TFont& f, const FormValue& v, LoadContext& x) {
            f.SetStyle(static_cast<TFontStyles>(x.Set(
                v, {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}})));
        }));

    RegisterClassInfo("TControl", "TComponent")
        .Property("Left", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetLeft(x.Int(v)); }))
        .Property("Top", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetTop(x.Int(v)); }))
        .Property("Width", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetWidth(x.Int(v)); }))
        .Property("Height", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetHeight(x.Int(v)); }))
        .Property("ClientWidth", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetClientWidth(x.Int(v)); }))
        .Property("ClientHeight", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetClientHeight(x.Int(v)); }))
        .Property("Align", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) {
            c.SetAlign(static_cast<TAlign>(x.Enum(v, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})));
        }))
        .Property("Anchors", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) {
            c.SetAnchors(static_cast<TAnchors>(
                x.Set(v, {{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}})));
        }))
        .Property("Visible", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetVisible(x.Bool(v)); }))
        .Property("Enabled", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetEnabled(x.Bool(v)); }))
        .Property("Color", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetColor(x.Color(v)); }))
        .Property("ParentColor", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetParentColor(x.Bool(v)); }))
        .Property("ParentFont", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetParentFont(x.Bool(v)); }))
        .Property("Caption", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetCaption(x.String(v)); }))
        .Property("Hint", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.SetHint(x.String(v)); }))
        .Property("ShowHint", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) {
            c.ShowHint = x.Bool(v);
            c.ParentShowHint = false;
        }))
        .Property("ParentShowHint", Prop<TControl>([](TControl& c, const FormValue& v, LoadContext& x) { c.ParentShowHint = x.Bool(v); }))
        .Property("OnClick", EventProp(&TControl::OnClick))
        .SubObject("Font", Sub<TControl>([](TControl& c) -> TPersistent* { return c.Font(); }));

    RegisterClassInfo("TGraphicControl", "TControl");
    RegisterClassInfo("TWinControl", "TControl")
        .Property("TabStop", Prop<TWinControl>([](TWinControl& c, const FormValue& v, LoadContext& x) { c.TabStop = x.Bool(v); }))
        .Property("TabOrder", Prop<TWinControl>([](TWinControl& c, const FormValue& v, LoadContext& x) { c.TabOrder = x.Int(v); }))
        .Property("DoubleBuffered",
                  Prop<TWinControl>([](TWinControl& c, const FormValue& v, LoadContext& x) { c.DoubleBuffered = x.Bool(v); }))
        .Property("OnEnter", EventProp(&TWinControl::OnEnter))
        .Property("OnExit", EventProp(&TWinControl::OnExit));
    RegisterClassInfo("TCustomControl", "TWinControl");

    RegisterClassInfo("TCustomForm", "TWinControl")
        .Property("Position", Prop<TCustomForm>([](TCustomForm& f, const FormValue& v, LoadContext& x) {
            f.SetPosition(static_cast<TPosition>(x.Enum(
                v, {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter"})));
        }))
        .Property("WindowState", Prop<TCustomForm>([](TCustomForm& f, const FormValue& v, LoadContext& x) {
            f.SetWindowState(static_cast<TWindowState>(x.Enum(v, {"wsNormal", "wsMinimized", "wsMaximized"})));
        }))
        .Property("BorderStyle", Prop<TCustomForm>([](TCustomForm& f, const FormValue& v, LoadContext& x) {
            f.SetBorderStyle(static_cast<TFormBorderStyle>(
                x.Enum(v, {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})));
        }))
        .Property("OnCreate", EventProp(&TCustomForm::OnCreate))
        .Property("OnDestroy", EventProp(&TCustomForm::OnDestroy))
        .Property("OnClose", EventProp(&TCustomForm::OnClose));
    RegisterClassInfo("TForm", "TCustomForm");
    RegisterUnitClasses();
}

}  // namespace pellix
