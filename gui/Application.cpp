#include "gui/Application.h"

#include <commctrl.h>

#include "gui/Form.h"
#include "gui/Text.h"

namespace fw {

TApplication* Application = nullptr;

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info{L"TApplication", &TComponent::StaticClass(), {}};
  return info;
}

TApplication::TApplication() : TComponent(nullptr) {
  if (!Application) Application = this;
}

TApplication::~TApplication() {
  // The forms go first, while the application object still answers them.
  while (ComponentCount() > 0) delete Components().back();
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  instance_ = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                           ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
}

void TApplication::RegisterForm(TForm* form) {
  if (!mainForm_) mainForm_ = form;
}

namespace {

bool IsNavigationKey(WPARAM key) {
  switch (key) {
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TApplication::HandleDialogKeys(MSG& msg) {
  // Tab order, mnemonics, Enter and Esc within the form that holds the focus.
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  TWinControl* form = TWinControl::FromHandle(root);
  if (!form || !form->Is(TForm::StaticClass())) return false;
  // The controls hear a navigation key first (a skinned button redraws the
  // default look it may lose or gain); one that answers non-zero keeps it.
  if (msg.message == WM_KEYDOWN && IsNavigationKey(msg.wParam) &&
      form->Broadcast(CM_DIALOGKEY, msg.wParam, msg.lParam, true) != 0)
    return true;
  return IsDialogMessageW(root, &msg) != FALSE;
}

void TApplication::Run() {
  if (!mainForm_) return;
  mainForm_->Show();
  MSG msg;
  while (!terminated_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (HandleDialogKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (HandleDialogKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::wstring ErrorReportText(const std::wstring& message) {
  if (!message.empty() && message.back() > L'.') return message + L".";
  return message;
}

void TApplication::HandleException(const std::string& utf8Message) {
  MessageDlg(ErrorReportText(Wide(utf8Message)), title_, MB_OK | MB_ICONERROR);
}

void TApplication::ShowMessage(const std::wstring& text) {
  MessageDlg(text, title_, MB_OK);
}

int TApplication::MessageDlg(const std::wstring& text, const std::wstring& caption, UINT flags) {
  HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void RunEvent(const TEvent& event, TObject* sender) {
  if (!event) return;
  if (Application)
    Application->RunEvent([&] { event.handler(sender); });
  else
    event.handler(sender);
}

}  // namespace fw
