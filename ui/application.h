#pragma once
// The one application object of a GUI program: its title, its main form, the
// message loop and the standard error box.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace lumorix::ui {

class Form;

class Application {
 public:
  static Application& Instance();

  // Common controls and COM for the GUI thread.
  void Initialize();

  void SetTitle(const std::wstring& title) { title_ = title; }
  const std::wstring& Title() const { return title_; }
  HICON Icon() const { return icon_; }
  void SetIcon(HICON icon) { icon_ = icon; }

  // The first form created becomes the main form; closing it ends the program.
  Form* MainForm() const { return mainForm_; }
  void RegisterForm(Form* form);
  void UnregisterForm(Form* form);

  // Shows the main form and runs the message loop until `Terminate`.
  void Run();
  // Dispatches every message waiting in the queue, then returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Lets a new message loop run after Terminate (tests run many in one process).
  void ClearTermination() { terminated_ = false; }

  // The standard error box: the message with a full stop, titled with the
  // application title, with the error icon.
  void HandleException(const std::exception& failure);
  void ShowError(const std::string& message);

  // Where the standard error box goes; tests put a recorder here.
  using ErrorSink = std::function<void(const std::wstring& text, const std::wstring& title)>;
  void SetErrorSink(ErrorSink sink) { errorSink_ = std::move(sink); }

 private:
  Application() = default;
  bool HandleMessage(MSG& message);

  std::wstring title_;
  HICON icon_ = nullptr;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  ErrorSink errorSink_;
};

}  // namespace lumorix::ui
