// Actions: commands with their caption, shortcut and state in one place, the
// links that keep menu items in step with them, and the standard actions the
// program's forms use.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Menus.h"

namespace pellix {

class TCustomAction;
class TActionList;

// The client side of an action: told whenever a property of the action
// changes, and when the action goes away.
class TActionLink {
public:
    TActionLink() = default;
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;
    virtual ~TActionLink();

    TCustomAction* Action() const { return action_; }
    void SetAction(TCustomAction* action);

protected:
    virtual void ActionChanged() = 0;

private:
    friend class TCustomAction;
    TCustomAction* action_ = nullptr;
};

class TCustomAction : public TComponent {
public:
    explicit TCustomAction(TComponent* owner);
    ~TCustomAction() override;
    std::string ClassName() const override { return "TCustomAction"; }

    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* list);
    std::string Category;
    int ImageIndex = -1;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    // Brings the state up to date: OnUpdate when bound, else the action's own rule.
    void Update();
    // Runs OnExecute, or the action's own command when none is bound; false
    // when the action is disabled or has nothing to run.
    bool Execute();

protected:
    // The action's own state rule and command, for actions that have them.
    virtual void UpdateTarget() {}
    virtual bool ExecuteTarget() { return false; }

private:
    friend class TActionLink;
    void Changed();

    TActionList* actionList_ = nullptr;
    std::string caption_;
    std::string hint_;
    TShortCut shortCut_ = scNone;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    std::vector<TActionLink*> clients_;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    std::string ClassName() const override { return "TAction"; }
};

class TActionList : public TComponent {
public:
    using TComponent::TComponent;
    ~TActionList() override;
    std::string ClassName() const override { return "TActionList"; }

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TCustomAction* Actions(int index) const { return actions_.at(index); }
    // Executes the enabled action whose shortcut the key is.
    bool IsShortCut(const TWMKey& msg);

    void ReadChild(TComponent* child) override;

private:
    friend class TCustomAction;
    std::vector<TCustomAction*> actions_;  // not owned: the form owns them
};

// Closes the application's main form.
class TFileExit : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    std::string ClassName() const override { return "TFileExit"; }

protected:
    bool ExecuteTarget() override;
};

// Opens URL with the shell; enabled only while there is one.
class TBrowseURL : public TCustomAction {
public:
    explicit TBrowseURL(TComponent* owner);
    std::string ClassName() const override { return "TBrowseURL"; }
    const std::string& URL() const { return url_; }
    void SetURL(const std::string& url);

protected:
    void UpdateTarget() override;
    bool ExecuteTarget() override;

private:
    std::string url_;
};

// Hands a message with Text as its body to the mail client's own dialog.
class TSendMail : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    std::string ClassName() const override { return "TSendMail"; }
    std::string Text;

protected:
    bool ExecuteTarget() override;
};

// Help commands: the program binds its own handlers; unbound they do nothing.
class THelpAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    std::string ClassName() const override { return "THelpAction"; }
};

class THelpContents : public THelpAction {
public:
    using THelpAction::THelpAction;
    std::string ClassName() const override { return "THelpContents"; }
};

class THelpTopicSearch : public THelpAction {
public:
    using THelpAction::THelpAction;
    std::string ClassName() const override { return "THelpTopicSearch"; }
};

class THelpOnHelp : public THelpAction {
public:
    using THelpAction::THelpAction;
    std::string ClassName() const override { return "THelpOnHelp"; }
};

// One message for Simple MAPI: no recipient when name and address are empty.
struct TMailMessage {
    std::string Subject;
    std::string Body;
    std::string RecipientName;
    std::string RecipientAddress;
};
// Hands the message to the mail client's own dialog (MAPI_LOGON_UI,
// MAPI_NEW_SESSION, MAPI_DIALOG) and returns the MAPISendMail result;
// MAPI_E_FAILURE when the system reports no provider or the library or its
// entry is missing. MAPI32.DLL is loaded on the first send that finds one.
unsigned long MapiSendMail(HWND parent, const TMailMessage& message);
// The system's answer: value "MAPI" = "1" of HKLM "SOFTWARE\Microsoft\Windows Messaging Subsystem".
bool MapiProviderPresent();

void RegisterActnListClasses();

}  // namespace pellix
