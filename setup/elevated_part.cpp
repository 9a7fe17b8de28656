#include "setup/elevated_part.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/setup_rules.h"
#include "setup/target_folder.h"

namespace lumorix::setup {

namespace {

enum ReportKind : ULONG_PTR { kStatus = 1, kFileProgress, kTotalProgress, kOutcome };
// Far longer than any status line or closing message.
constexpr DWORD kMaxReport = 64 * 1024;
constexpr UINT kReportTimeout = 5000;
constexpr wchar_t kReceiverClass[] = L"LumorixSetupReports";

// A message-only window that takes the administrator's part's reports for
// the view while it runs. Anybody's program may send it messages too; they
// can change what the window shows, never what was installed or the exit
// code, which come from the part's process itself.
class ReportReceiver {
 public:
  explicit ReportReceiver(InstallView& view) : view_(view) {
    static const ATOM registered = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof windowClass;
      windowClass.lpfnWndProc = Procedure;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = kReceiverClass;
      return RegisterClassExW(&windowClass);
    }();
    if (registered)
      window_ = CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                this);
  }
  ~ReportReceiver() {
    if (window_) DestroyWindow(window_);
  }
  ReportReceiver(const ReportReceiver&) = delete;
  ReportReceiver& operator=(const ReportReceiver&) = delete;

  uint64_t Id() const { return reinterpret_cast<uintptr_t>(window_); }
  const std::wstring& Outcome() const { return outcome_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* receiver = reinterpret_cast<ReportReceiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && receiver)
      return receiver->Take(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  bool Take(const COPYDATASTRUCT& data) {
    if (data.cbData > kMaxReport || (data.cbData && !data.lpData)) return false;
    if (data.dwData == kStatus || data.dwData == kOutcome) {
      if (data.cbData % sizeof(wchar_t)) return false;
      std::wstring text(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
      if (data.dwData == kStatus)
        view_.SetStatus(text);
      else
        outcome_ = std::move(text);
      return true;
    }
    if ((data.dwData == kFileProgress || data.dwData == kTotalProgress) && data.cbData == sizeof(int32_t)) {
      int32_t position = 0;
      std::memcpy(&position, data.lpData, sizeof position);
      if (position < 0 || position > 1000) return false;
      if (data.dwData == kFileProgress)
        view_.SetFileProgress(position);
      else
        view_.SetTotalProgress(position);
      return true;
    }
    return false;
  }

  InstallView& view_;
  HWND window_ = nullptr;
  std::wstring outcome_;
};

InstallOutcome Declined() {
  return {InstallResult::Declined,
          L"Lumorix was not installed: installing it for everyone needs an administrator's permission, which was "
          L"not given. To install it for yourself alone, which needs none, choose \"Install for Me Only\"."};
}

}  // namespace

InstallOutcome InstallInScope(TInstallState& state, HMODULE module, Elevation& elevation, const std::wstring& program,
                              HWND owner) {
  if (state.scope == InstallScope::CurrentUser || elevation.Elevated()) return RunInstallation(state, module);
  // Judged here as well, so that a folder typed wrong is refused before anybody is asked for consent.
  FolderCheck typed = NormaliseInstallFolder(state.InstallFolder);
  if (!typed.refusal.empty()) return {InstallResult::FolderRefused, typed.refusal};
  state.InstallFolder = typed.folder;
  ReportReceiver receiver(*state.view);
  ElevatedRun run = elevation.Run(program, ElevatedPartArguments(receiver.Id(), state.options, typed.folder), owner,
                                  [&state] { state.view->ProcessMessages(); });
  switch (run.outcome) {
    case ElevatedRun::Outcome::Declined:
      return Declined();
    case ElevatedRun::Outcome::NotStarted:
      return {InstallResult::Incomplete,
              L"Lumorix was not installed: its installation for everyone could not be started (" + run.why + L")."};
    case ElevatedRun::Outcome::Ended:
      break;
  }
  InstallOutcome outcome{ResultOfExitCode(run.exitCode), receiver.Outcome()};
  if (outcome.result == InstallResult::Declined) return Declined();
  if (outcome.message.empty())
    outcome.message = outcome.Complete() ? kThanks
                                         : L"Lumorix was not installed completely: its installation for everyone "
                                           L"ended with code " +
                                               std::to_wstring(run.exitCode) + L".";
  return outcome;
}

void ReportingView::Send(ULONG_PTR kind, const void* data, DWORD size) {
  if (!window_) return;
  COPYDATASTRUCT copy{kind, size, const_cast<void*>(data)};
  DWORD_PTR answer = 0;
  // A window that no longer answers costs the report, never the installation.
  (void)SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, kReportTimeout,
                            &answer);
}

void ReportingView::SetStatus(const std::wstring& text) {
  Send(kStatus, text.data(), static_cast<DWORD>(std::min<size_t>(text.size() * sizeof(wchar_t), kMaxReport)));
}

void ReportingView::SetFileProgress(int32_t position) { Send(kFileProgress, &position, sizeof position); }
void ReportingView::SetTotalProgress(int32_t position) { Send(kTotalProgress, &position, sizeof position); }

void ReportingView::ReportOutcome(const std::wstring& message) {
  Send(kOutcome, message.data(), static_cast<DWORD>(std::min<size_t>(message.size() * sizeof(wchar_t), kMaxReport)));
}

}  // namespace lumorix::setup
