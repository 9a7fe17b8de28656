#include "ui/application.h"

#include <commctrl.h>
#include <objbase.h>

#include "common/format.h"
#include "platform/text.h"
#include "ui/form.h"

namespace lumorix::ui {

Application& Application::Instance() {
  static Application application;
  return application;
}

void Application::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

void Application::RegisterForm(Form* form) {
  if (!mainForm_) mainForm_ = form;
}

void Application::UnregisterForm(Form* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

bool Application::HandleMessage(MSG& message) {
  if (message.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (auto* form = dynamic_cast<Form*>(Window::FromHandle(root)); form && form->TranslateShortcut(message)) return true;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

void Application::Run() {
  if (mainForm_ && !terminated_) mainForm_->Show();
  MSG message;
  while (!terminated_) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      terminated_ = true;
      break;
    }
    HandleMessage(message);
  }
}

void Application::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!HandleMessage(message)) break;
  }
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void Application::HandleException(const std::exception& failure) { ShowError(failure.what()); }

void Application::ShowError(const std::string& message) {
  std::wstring text = Widen(WithFullStop(message));
  if (errorSink_) {
    errorSink_(text, title_);
    return;
  }
  MessageBoxW(GetActiveWindow(), text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace lumorix::ui
