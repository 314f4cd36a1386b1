#include "framework/ActnList.h"

#include <mapi.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>

#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "framework/Registry.h"

namespace pellix {

// -------------------------------------------------------------- TActionLink

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TCustomAction* action) {
    if (action == action_) return;
    if (action_ != nullptr) {
        auto& clients = action_->clients_;
        clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    }
    action_ = action;
    if (action_ != nullptr) {
        action_->clients_.push_back(this);
        ActionChanged();
    }
}

// ------------------------------------------------------------ TCustomAction

TCustomAction::TCustomAction(TComponent* owner) : TComponent(owner) {}

TCustomAction::~TCustomAction() {
    // Clients keep what they last took from the action.
    for (TActionLink* link : clients_) link->action_ = nullptr;
    clients_.clear();
    SetActionList(nullptr);
}

void TCustomAction::SetActionList(TActionList* list) {
    if (list == actionList_) return;
    if (actionList_ != nullptr) {
        auto& actions = actionList_->actions_;
        actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
    }
    actionList_ = list;
    if (actionList_ != nullptr) actionList_->actions_.push_back(this);
}

void TCustomAction::Changed() {
    // A client may drop its link while it follows the change.
    for (TActionLink* link : std::vector<TActionLink*>(clients_))
        if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->ActionChanged();
}

void TCustomAction::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed();
}

void TCustomAction::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    Changed();
}

void TCustomAction::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    Changed();
}

void TCustomAction::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed();
}

void TCustomAction::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed();
}

void TCustomAction::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed();
}

void TCustomAction::Update() {
    if (OnUpdate) {
        OnUpdate(this);
        return;
    }
    UpdateTarget();
}

bool TCustomAction::Execute() {
    Update();
    if (!enabled_) return false;
    if (OnExecute) {
        OnExecute(this);
        return true;
    }
    return ExecuteTarget();
}

// -------------------------------------------------------------- TActionList

TActionList::~TActionList() {
    for (TCustomAction* action : std::vector<TCustomAction*>(actions_)) action->SetActionList(nullptr);
}

bool TActionList::IsShortCut(const TWMKey& msg) {
    TShortCut shortCut = ShortCutFromMessage(msg);
    if (shortCut == scNone) return false;
    for (TCustomAction* action : actions_) {
        if (action->ShortCut() != shortCut) continue;
        action->Update();
        if (!action->Enabled()) continue;
        action->Execute();
        return true;
    }
    return false;
}

void TActionList::ReadChild(TComponent* child) {
    auto* action = dynamic_cast<TCustomAction*>(child);
    if (action == nullptr) throw EComponentError(child->ClassName() + " cannot be an action of a list");
    action->SetActionList(this);
}

// --------------------------------------------------------- standard actions

bool TFileExit::ExecuteTarget() {
    TCustomForm* main = Application->MainForm();
    if (main == nullptr) return false;
    main->Close();
    return true;
}

TBrowseURL::TBrowseURL(TComponent* owner) : TCustomAction(owner) { UpdateTarget(); }

void TBrowseURL::SetURL(const std::string& url) {
    url_ = url;
    Update();
}

void TBrowseURL::UpdateTarget() { SetEnabled(!url_.empty()); }

bool TBrowseURL::ExecuteTarget() {
    // The browser runs on its own; whether it found the address is its affair.
    ShellExecuteA(nullptr, "open", url_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

bool TSendMail::ExecuteTarget() {
    TCustomForm* main = Application->MainForm();
    HWND parent = main != nullptr && main->HandleAllocated() ? main->Handle() : nullptr;
    TMailMessage message;
    message.Body = Text;
    if (MapiSendMail(parent, message) != 0)
        MessageBoxA(parent, "Error sending mail", Application->Title().c_str(), MB_OK | MB_ICONERROR);
    return true;
}

// --------------------------------------------------------------- Simple MAPI

namespace {

struct LibraryFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

// Loaded on the first send and kept for the rest of the run; the provider is
// asked about on every send.
LPMAPISENDMAIL SendMailEntry() {
    static std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFree> library;
    if (!MapiProviderPresent()) return nullptr;
    if (library == nullptr) library.reset(LoadLibraryA("MAPI32.DLL"));
    if (library == nullptr) return nullptr;
    return reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(library.get(), "MAPISendMail")));
}

}  // namespace

bool MapiProviderPresent() {
    TRegistry registry(KEY_QUERY_VALUE);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    return registry.OpenKey("SOFTWARE\\Microsoft\\Windows Messaging Subsystem", false) &&
           registry.GetDataType("MAPI") == TRegDataType::rdString && registry.ReadString("MAPI") == "1";
}

unsigned long MapiSendMail(HWND parent, const TMailMessage& message) {
    LPMAPISENDMAIL send = SendMailEntry();
    if (send == nullptr) return MAPI_E_FAILURE;
    // The library reads the texts only; the copies give it writable pointers.
    std::string subject = message.Subject, body = message.Body;
    std::string name = message.RecipientName, address = message.RecipientAddress;
    MapiRecipDesc recipient{};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = name.data();
    recipient.lpszAddress = address.data();
    MapiMessage mail{};
    mail.lpszSubject = subject.data();
    mail.lpszNoteText = body.data();
    if (!name.empty() || !address.empty()) {
        mail.nRecipCount = 1;
        mail.lpRecips = &recipient;
    }
    return send(0, reinterpret_cast<ULONG_PTR>(parent), &mail, MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG, 0);
}

// --------------------------------------------------------- form descriptions

void RegisterActnListClasses() {
    RegisterClassInfo("TActionList", "TComponent", Factory<TActionList>());
    RegisterClassInfo("TCustomAction", "TComponent")
        .Property("Category", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.Category = x.String(v); }))
        .Property("Caption", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.SetCaption(x.String(v)); }))
        .Property("Hint", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.SetHint(x.String(v)); }))
        .Property("ShortCut", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) {
            a.SetShortCut(ShortCutValue(v, x));
        }))
        .Property("Enabled", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.SetEnabled(x.Bool(v)); }))
        .Property("Checked", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.SetChecked(x.Bool(v)); }))
        .Property("Visible", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.SetVisible(x.Bool(v)); }))
        .Property("ImageIndex", Prop<TCustomAction>([](TCustomAction& a, const FormValue& v, LoadContext& x) { a.ImageIndex = x.Int(v); }))
        .Property("OnExecute", EventProp(&TCustomAction::OnExecute))
        .Property("OnUpdate", EventProp(&TCustomAction::OnUpdate));
    RegisterClassInfo("TAction", "TCustomAction", Factory<TAction>());
    RegisterClassInfo("TFileExit", "TCustomAction", Factory<TFileExit>());
    RegisterClassInfo("TBrowseURL", "TCustomAction", Factory<TBrowseURL>())
        .Property("URL", Prop<TBrowseURL>([](TBrowseURL& a, const FormValue& v, LoadContext& x) { a.SetURL(x.String(v)); }));
    RegisterClassInfo("TSendMail", "TCustomAction", Factory<TSendMail>())
        .Property("Text", Prop<TSendMail>([](TSendMail& a, const FormValue& v, LoadContext& x) { a.Text = x.String(v); }));
    RegisterClassInfo("THelpAction", "TCustomAction");
    RegisterClassInfo("THelpContents", "THelpAction", Factory<THelpContents>());
    RegisterClassInfo("THelpTopicSearch", "THelpAction", Factory<THelpTopicSearch>());
    RegisterClassInfo("THelpOnHelp", "THelpAction", Factory<THelpOnHelp>());
}

}  // namespace pellix
