// Forms and the application object.
#pragma once

#include <windows.h>

#include <any>
#include <functional>
#include <map>
#include <string>

#include "framework/Controls.h"
#include "framework/Menus.h"

namespace pellix {

enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TShortCutEvent = std::function<void(TWMKey& msg, bool& handled)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    std::string ClassName() const override { return "TCustomForm"; }

    // Reads the form's description (when the program holds one for its
    // class), runs Loaded for every component, then OnCreate.
    void LoadAndCreate();

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState();
    void SetWindowState(TWindowState state);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    // Kept for the skin frame, which turns it off; forms here never scroll.
    bool AutoScroll = true;

    void SetVisible(bool visible) override;
    // Before the window exists: the bounds less the frame its style gives.
    RECT ClientRect() override;
    // Width and height that the platform's frame for this form's style (and
    // menu bar) adds around the client area.
    SIZE PlatformFrameSize();
    // The client area's size the last time the window was neither minimised
    // nor maximised; the current client size before that.
    SIZE RestoredClientSize();
    void Close();
    // Shows the form with every other window of the program disabled and
    // returns once ModalResult is set or the form is closed.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    bool Modal() const { return modal_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Frees the form once the messages now queued have been handled.
    void Release();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Runs before a key message is dispatched: OnShortCut first, then the
    // menu's items, then the form's actions. True when one took the key.
    bool IsShortCut(TWMKey& msg);
    TShortCutEvent OnShortCut;

    // Handlers that the form description binds to events by name.
    template <class Event>
    void AddHandler(const std::string& name, Event handler) {
        handlers_[name] = std::move(handler);
    }
    const std::any* FindHandler(const std::string& name) const;

    void BeforeDestruction() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoCreate();
    virtual void DoClose(TCloseAction& action);

private:
    void PlaceOnScreen();

    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    bool placed_ = false;
    SIZE restoredClient_{-1, -1};
    TMainMenu* menu_ = nullptr;
    bool modal_ = false;
    int modalResult_ = 0;
    std::map<std::string, std::any> handlers_;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    std::string ClassName() const override { return "TForm"; }
};

// A bordered container whose controls may reach past its edges.
class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    std::string ClassName() const override { return "TScrollBox"; }

protected:
    void CreateParams(TCreateParams& params) override;
};

// A part of a form made once and placed as a whole: the frame owns the
// controls it holds.
class TCustomFrame : public TWinControl {
public:
    explicit TCustomFrame(TComponent* owner);
    std::string ClassName() const override { return "TCustomFrame"; }

protected:
    void CreateParams(TCreateParams& params) override;
};

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);
    std::string ClassName() const override { return "TApplication"; }

    void Initialize() {}
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    TCustomForm* MainForm() const { return mainForm_; }

    // Creates a form owned by the application; the first becomes the main form.
    template <class Form>
    Form* CreateForm(Form** reference = nullptr) {
        auto* form = new Form(this);  // owned by the application from here on
        if (reference != nullptr) *reference = form;
        if (mainForm_ == nullptr) mainForm_ = form;
        try {
            form->LoadAndCreate();
        } catch (...) {
            // A description that cannot be read leaves no half-made form behind.
            if (reference != nullptr) *reference = nullptr;
            TComponent::Free(form);
            throw;
        }
        return form;
    }

    // Shows the main form and handles messages until it closes.
    void Run();
    void Terminate();
    // Handles one message, waiting for it when none is queued.
    void HandleMessage();
    bool Terminated() const { return terminated_; }
    // Handles the messages now queued, then returns.
    void ProcessMessages();
    // Frees every form; the program calls it once the loop has ended.
    void Finalize();

    // The default error box for errors that leave an event handler.
    void HandleException(TObject* sender, const std::exception& error);
    void ShowException(const std::exception& error);
    // Tests replace the error box to see what would be shown.
    std::function<void(const std::string& message)> OnShowException;

    HICON Icon();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool ProcessMessage(MSG& msg);

    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* const Application;

}  // namespace pellix
