#include "forms/application.h"

#include "forms/form.h"
#include "forms/message_box.h"
#include "platform/win/message.h"

namespace forms {

TApplication* Application = new TApplication(nullptr);

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
    MarkDestroying();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize() {}

void TApplication::AddForm(TForm* f) {
    if (!main_form_)
        main_form_ = f;
    f->DoCreate();
}

void TApplication::FormDestroyed(TForm* f) {
    if (main_form_ == f)
        main_form_ = nullptr;
}

void TApplication::Run() {
    if (!main_form_)
        return;
    running_ = true;
    main_form_->Show();
    if (OnStarted)
        OnStarted();
    if (!terminated_)
        win::RunMessageLoopUntil(terminated_);
    running_ = false;
}

void TApplication::Terminate(int exit_code) {
    if (terminated_)
        return;
    terminated_ = true;
    exit_code_ = exit_code;
    win::PostQuitMessage(exit_code);
}

void TApplication::Reset() {
    terminated_ = false;
    exit_code_ = 0;
    // Drop a quit message left over from the previous run.
    win::MSG msg;
    while (win::PeekMessage(&msg, nullptr, win::WM_QUIT, win::WM_QUIT, win::PM_REMOVE)) {
    }
}

void TApplication::ProcessMessages() {
    win::MSG msg;
    while (win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
        if (msg.message == win::WM_QUIT) {
            win::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        win::TranslateMessage(&msg);
        win::DispatchMessage(&msg);
    }
}

void TApplication::HandleException(const std::exception& e) {
    if (OnException) {
        OnException(e);
        return;
    }
    ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && text.back() != '.')
        text += '.';
    forms::MessageBox(nullptr, text, title_, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    win::HWND owner = main_form_ && main_form_->HandleAllocated() ? main_form_->Handle() : nullptr;
    return forms::MessageBox(owner, text, caption, flags);
}

}  // namespace forms
