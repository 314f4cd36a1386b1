// The main window's help pages, context help on F1, the maker's web site,
// the help e-mail and the about box.
#include <windows.h>

#include <memory>

#include "app/About.h"
#include "app/ShellHelpers.h"
#include "app/ThumbnailsMain.h"
#include "framework/ActnList.h"
#include "framework/Dialogs.h"

namespace pellix {

namespace {

struct FieldAnchor {
    const char* control;
    const char* anchor;
};

// Tested in this order; the first match wins.
const FieldAnchor kFieldAnchors[] = {
    {"EditURL", "#ThumbnailsFormEditURL"},
    {"EditImageDir", "#ThumbnailsFormEditImageDir"},
    {"EditThumbDir", "#ThumbnailsFormEditThumbDir"},
    {"SpinEditMaxWidth", "#ThumbnailsFormSpinEditMaxWidth"},
    {"SpinEditMaxHeight", "#ThumbnailsFormSpinEditMaxHeight"},
    {"SpinEditQuality", "#ThumbnailsFormSpinEditQuality"},
    {"CheckBoxGenerateHTML", "#ThumbnailsFormCheckBoxGenerateHTML"},
    {"CheckBoxGenerateSamples", "#ThumbnailsFormCheckBoxGenerateSamples"},
    {"CheckBoxGenerateThumbnails", "#ThumbnailsFormCheckBoxGenerateThumbnails"},
    {"btnLoad", "#ThumbnailsFormButtonLoadSingleImage"},
    {"btnExecute", "#ThumbnailsFormButtonCreateSingleThumbnail"},
    {"ButtonThumbnails", "#ThumbnailsFormButtonThumbnails"},
    {"ButtonView", "#ThumbnailsFormButtonView"},
    {"ButtonClose", "#ThumbnailsFormButtonClose"},
};
const char kFormAnchor[] = "#ThumbnailsForm";

const char kNoWebSite[] = "Sorry, the software vendor did not provide a website for online help.";
const char kMailError[] = "Error sending mail";

// The framework control that holds the keyboard focus inside form, if any.
TWinControl* ActiveControlOf(TCustomForm& form) {
    if (!form.HandleAllocated()) return nullptr;
    for (HWND window = GetFocus(); window != nullptr && IsChild(form.Handle(), window); window = GetParent(window))
        if (TWinControl* control = TWinControl::FromHandle(window)) return control;
    return nullptr;
}

}  // namespace

void TThumbnailsForm::RegisterHelpHandlers() {
    AddHandler("HelpOnHelp1Execute", TNotifyEvent([this](TObject* s) { HelpOnHelp1Execute(s); }));
    AddHandler("HelpContents1Execute", TNotifyEvent([this](TObject* s) { HelpContents1Execute(s); }));
    AddHandler("HelpTopicSearch1Execute", TNotifyEvent([this](TObject* s) { HelpTopicSearch1Execute(s); }));
    AddHandler("FormShortCut", TShortCutEvent([this](TWMKey& m, bool& h) { FormShortCut(m, h); }));
    AddHandler("ActionHelpOnWebExecute", TNotifyEvent([this](TObject* s) { ActionHelpOnWebExecute(s); }));
    AddHandler("ActionSendMailExecute", TNotifyEvent([this](TObject* s) { ActionSendMailExecute(s); }));
    AddHandler("HelpAboutExecute", TNotifyEvent([this](TObject* s) { HelpAboutExecute(s); }));
}

// ------------------------------------------------------------- help pages

void TThumbnailsForm::OpenHelpPage(const std::string& page) {
    // Built from PathApp as it is now, so a moved program finds its pages.
    const std::string base = "file:///" + StringReplaceAll(StringReplaceAll(PathApp, " ", "%20"), "\\", "/");
    OpenURL(base + page);
}

void TThumbnailsForm::HelpOnHelp1Execute(TObject*) { OpenHelpPage("/help/help.html"); }

void TThumbnailsForm::HelpContents1Execute(TObject*) { OpenHelpPage("/help/contents.html"); }

void TThumbnailsForm::HelpTopicSearch1Execute(TObject*) { OpenHelpPage("/help/index.html"); }

void TThumbnailsForm::HelpOnField(const std::string& anchor) { OpenHelpPage("/help/contents.html" + anchor); }

void TThumbnailsForm::FormShortCut(TWMKey& msg, bool& handled) {
    if (msg.CharCode != VK_F1 || handled) return;
    // Taken here, so no menu item or action sees F1.
    handled = true;
    TWinControl* active = ActiveControlOf(*this);
    std::string anchor = kFormAnchor;
    for (const FieldAnchor& entry : kFieldAnchors) {
        if (active != nullptr && FindComponent(entry.control) == active) {
            anchor = entry.anchor;
            break;
        }
    }
    HelpOnField(anchor);
}

// -------------------------------------------------------------- web, mail

void TThumbnailsForm::ActionHelpOnWebExecute(TObject*) {
    if (!WebSiteURL.empty())
        OpenURL(WebSiteURL);
    else
        MessageDlg(kNoWebSite, TMsgDlgType::mtInformation, mbOK);
}

void TThumbnailsForm::ActionSendMailExecute(TObject*) {
    if (AuthorName.empty()) AuthorName = SalesAddress;
    const std::string subject = ProductTitle.empty() ? "RE: Your Shareware Program " : "RE: " + ProductTitle;
    const std::string body = "Dear " + AuthorName + "\r\n\r\nI need some information on the following:";
    SendMail(SalesAddress, SalesAddress, subject, body);
}

void TThumbnailsForm::SendMail(const std::string& recipientName, const std::string& recipientAddress,
                               const std::string& subject, const std::string& body) {
    TMailMessage message;
    message.RecipientName = recipientName;
    message.RecipientAddress = recipientAddress;
    message.Subject = subject;
    message.Body = body;
    // The user's cancel in the mail client's dialog counts as a failure too.
    if (MapiSendMail(Handle(), message) != 0) MessageDlg(kMailError, TMsgDlgType::mtError, mbOK);
}

// -------------------------------------------------------------- about box

void TThumbnailsForm::HelpAboutExecute(TObject*) {
    std::unique_ptr<TAboutBox, ComponentFree> box(new TAboutBox(this));
    box->LoadAndCreate();
    box->ShowModal();
}

}  // namespace pellix
