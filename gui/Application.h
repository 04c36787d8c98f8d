// The application object: title, the main form, the message loop (with
// dialog navigation for the active form), letting pending messages run, and
// the default error report for an error an event handler did not catch.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "gui/Component.h"

namespace fw {

class TForm;

class TApplication : public TComponent {
  FW_CLASS(TApplication)
 public:
  TApplication();
  ~TApplication() override;

  void Initialize();
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title) { title_ = title; }
  HINSTANCE Instance() const { return instance_; }

  // Creates and shows the main form; the first form created is the main one.
  template <class F>
  F* CreateForm() {
    F* form = new F(this);
    RegisterForm(form);
    return form;
  }
  TForm* MainForm() const { return mainForm_; }
  void Run();
  void ProcessMessages();
  void Terminate() { terminated_ = true; }

  // Runs an event handler; an error it lets through is shown by HandleException.
  template <class Fn>
  void RunEvent(Fn&& fn) {
    ++eventDepth_;
    try {
      fn();
    } catch (const std::exception& e) {
      HandleException(e.what());
    } catch (...) {
      HandleException("");
    }
    --eventDepth_;
  }
  // True while an event handler runs (a message box inside it included).
  bool Busy() const { return eventDepth_ > 0; }
  // The default error report: the text (with a final "." when its last
  // character sorts above "."), the title, the error icon.
  void HandleException(const std::string& utf8Message);

  void ShowMessage(const std::wstring& text);
  int MessageDlg(const std::wstring& text, const std::wstring& caption, UINT flags);

 private:
  void RegisterForm(TForm* form);
  bool HandleDialogKeys(MSG& msg);

  std::wstring title_;
  HINSTANCE instance_ = nullptr;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  int eventDepth_ = 0;
};

// The one application object of the program.
extern TApplication* Application;

void RunEvent(const TEvent& event, TObject* sender);

// The error report's text rule, on its own for testing.
std::wstring ErrorReportText(const std::wstring& message);

}  // namespace fw
