#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "forms/building_moment.h"
#include "forms/component.h"

namespace forms {

class TForm;

// The application: creates the forms (the first becomes the main form), runs the message loop
// until the main form closes, and reports exceptions that escape event handlers in a message
// box while the loop goes on.
class TApplication : public TComponent {
    FORMS_CLASS(TApplication, TComponent)
  public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Creates a form owned by the application, stores it in *reference before its OnCreate
    // runs, and makes the first one the main form. The controls built meanwhile that start at
    // the present moment take one reading of the clock (forms/building_moment.h).
    template <class T>
    void CreateForm(T** reference) {
        TBuildingMoment building;
        T* form = new T(this);
        if (reference)
            *reference = form;
        AddForm(form);
    }
    // Shows the main form and runs the loop until the main form closes or Terminate().
    void Run();
    // Ends the loop (every nested loop too) with this exit code.
    void Terminate(int exit_code = 0);
    bool Terminated() const { return terminated_; }
    int ExitCode() const { return exit_code_; }
    // Dispatches what is waiting, without waiting.
    void ProcessMessages();

    TForm* MainForm() const { return main_form_; }
    void SetMainForm(TForm* f) { main_form_ = f; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t) { title_ = t; }

    // Reports an exception from an event handler: OnException if set, else a message box.
    void HandleException(const std::exception& e);
    // The standard box for an exception (caption: the title, text: the message).
    void ShowException(const std::exception& e);
    std::function<void(const std::exception&)> OnException;

    // A message box owned by the active form (see forms/message_box.h).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    // Called after the main form is shown and before the loop runs (automation starts here),
    // and when the loop has ended.
    std::function<void()> OnStarted;

    void FormDestroyed(TForm* f);
    // Clears the terminated state so that a test can run the loop again.
    void Reset();

  private:
    void AddForm(TForm* f);
    TForm* main_form_ = nullptr;
    std::string title_ = "Velmor Manager";
    bool terminated_ = false;
    bool running_ = false;
    int exit_code_ = 0;
};

// The one application object.
extern TApplication* Application;

}  // namespace forms
