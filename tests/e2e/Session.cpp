#include "Session.h"

#include <commctrl.h>

#include <stdexcept>

#include "Harness.h"
#include "Input.h"
#include "skin/form/SkinMessages.h"

namespace e2e {

std::wstring g_reply;
bool g_replied = false;

namespace {

constexpr ULONG_PTR kAutomationTag = 0x464D5741;

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
    if (cds->dwData == kAutomationTag) {
      g_reply.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
      g_replied = true;
      return 1;
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeReplyWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuellmarkE2EReply";
    RegisterClassW(&wc);
    registered = true;
  }
  return CreateWindowW(L"QuellmarkE2EReply", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[4096];
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 3000, &n))
    return L"";
  return std::wstring(buf, n);
}

}  // namespace

std::vector<HWND> ShownWindows(DWORD pid, const wchar_t* cls) {
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
  } search{pid, cls, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64] = {};
        if (owner == s->pid && IsWindowVisible(hwnd) && GetClassNameW(hwnd, name, 64) &&
            _wcsicmp(name, s->cls) == 0)
          s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Session::Session(const std::wstring& exe, const std::wstring& workDir) {
  replyWindow_ = MakeReplyWindow();
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &si,
                      &pi_))
    throw std::runtime_error("cannot start quellmark.exe");
  for (int i = 0; i < 300 && !main_; ++i) {
    const std::vector<HWND> shown = ShownWindows(pi_.dwProcessId, L"TForm1");
    main_ = shown.empty() ? nullptr : shown.front();
    if (!main_) Wait(50);
  }
  if (!main_) throw std::runtime_error("the main window did not appear");
  WaitIdleOrBox();
  IndexControls();
}

Session::~Session() {
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    // A test that failed midway may leave a box open; the process goes anyway.
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
  DestroyWindow(replyWindow_);
}

std::wstring Session::Ask(HWND target, const std::wstring& request) {
  if (!target) return L"";
  g_replied = false;
  g_reply.clear();
  COPYDATASTRUCT cds{kAutomationTag, static_cast<DWORD>(request.size() * sizeof(wchar_t)),
                     const_cast<wchar_t*>(request.c_str())};
  DWORD_PTR result = 0;
  SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow_),
                      reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 10000, &result);
  return g_replied ? g_reply : L"";
}

std::wstring Session::AskComponent(const std::wstring& name, const std::wstring& request) {
  return Ask(main_, L"find:" + name + L":" + request);
}

void Session::IndexControls() {
  controls_.clear();
  struct Ctx {
    Session* self;
  } ctx{this};
  EnumChildWindows(
      main_,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        std::wstring name = c->self->Ask(hwnd, L"name");
        if (!name.empty()) c->self->controls_[name] = hwnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
}

HWND Session::Control(const std::wstring& name) {
  auto it = controls_.find(name);
  if (it == controls_.end() || !IsWindow(it->second)) {
    IndexControls();
    it = controls_.find(name);
  }
  return it == controls_.end() ? nullptr : it->second;
}

std::optional<MessageBoxInfo> Session::FindBox() {
  const std::vector<HWND> shown = ShownWindows(pi_.dwProcessId, L"#32770");
  if (shown.empty()) return std::nullopt;
  const HWND found = shown.front();
  MessageBoxInfo box;
  box.hwnd = found;
  box.title = WindowText(found);
  if (HWND text = GetDlgItem(found, 0xFFFF)) box.text = WindowText(text);
  // The icon is a static control: id 20 on Windows, 1088 in Wine's message box.
  for (int id : {20, 1088})
    if (HWND icon = GetDlgItem(found, id); icon && IsWindowVisible(icon)) {
      // Plain messages carry no icon at all; the error report is the only box with one here.
      box.errorIcon = SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    }
  box.yesNo = GetDlgItem(found, IDYES) != nullptr;
  return box;
}

std::optional<MessageBoxInfo> Session::WaitIdleOrBox(DWORD timeoutMs) {
  DWORD end = GetTickCount() + timeoutMs;
  while (GetTickCount() < end) {
    if (auto box = FindBox()) {
      Wait(100);  // the box finishes painting and focusing its button
      return FindBox();
    }
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) return std::nullopt;
    if (Ask(main_, L"busy") == L"0") {
      // Idle twice in a row: the posted click has really been handled.
      Wait(30);
      if (!FindBox() && Ask(main_, L"busy") == L"0") return std::nullopt;
    }
    Wait(30);
  }
  throw std::runtime_error("the program stayed busy");
}

void Session::ExpectSkinned(HWND window) {
  // Adopted when it was activated; the skinner answers 1.
  for (int i = 0; i < 100; ++i) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, skin::WM_ISSKINNED, 0, 0, SMTO_BLOCK, 2000, &answer) && answer == 1)
      return;
    Wait(20);
  }
  throw std::runtime_error("the window " + Narrow(WindowText(window)) + " was not skinned");
}

void Session::ExpectButtonsSkinned(HWND window) {
  // Push buttons, check boxes and radio buttons; group boxes and owner-drawn buttons keep their look.
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(cls, L"Button") == 0 && type != BS_GROUPBOX && type != BS_OWNERDRAW) ExpectSkinned(child);
  }
}

MessageBoxInfo Session::Answer(int buttonId) {
  auto box = FindBox();
  if (!box) throw std::runtime_error("no message box to answer");
  ExpectSkinned(box->hwnd);
  HWND button = GetDlgItem(box->hwnd, buttonId);
  if (!button) throw std::runtime_error("the message box has no such button");
  ExpectButtonsSkinned(box->hwnd);
  PostMessageW(button, BM_CLICK, 0, 0);
  for (int i = 0; i < 200 && IsWindow(box->hwnd); ++i) Wait(20);
  return *box;
}

void Session::Click(const std::wstring& button) {
  HWND h = Control(button);
  if (!h) throw std::runtime_error("no control named " + std::string(button.begin(), button.end()));
  PostMessageW(h, BM_CLICK, 0, 0);
  Wait(50);
  WaitIdleOrBox();
}

void Session::ClickAt(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Wait(50);
  WaitIdleOrBox();
}

void Session::PressKey(HWND window, UINT vk) {
  PostMessageW(window, WM_KEYDOWN, vk, 1);
  PostMessageW(window, WM_KEYUP, vk, 0xC0000001);
  Wait(50);
  WaitIdleOrBox();
}

void Session::Type(const std::wstring& control, const std::wstring& text,
                   std::vector<MessageBoxInfo>* boxes) {
  HWND h = Control(control);
  // An editable combo box takes keys in its edit part.
  if (HWND edit = FindWindowExW(h, nullptr, L"Edit", nullptr)) h = edit;
  // A typist goes on from the end of what is there.
  SendMessageTimeoutW(h, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF, SMTO_BLOCK, 3000, nullptr);
  for (wchar_t ch : text) {
    PostMessageW(h, WM_CHAR, ch, 1);
    Wait(20);
    // Each keystroke may run a handler that reports something; a typist answers and goes on.
    while (auto box = WaitIdleOrBox()) {
      if (boxes) boxes->push_back(*box);
      Answer(box->yesNo ? IDNO : IDOK);
    }
  }
}

void Session::Choose(const std::wstring& combo, const std::wstring& item) {
  HWND h = Control(combo);
  // What a pick from the drop-down list does: the selection moves, the owner is told.
  std::wstring items = Ask(h, L"items");
  int index = 0, found = -1;
  size_t start = 0;
  while (start <= items.size()) {
    size_t nl = items.find(L'\n', start);
    std::wstring one = items.substr(start, nl == std::wstring::npos ? std::wstring::npos : nl - start);
    if (one == item) {
      found = index;
      break;
    }
    if (nl == std::wstring::npos) break;
    start = nl + 1, ++index;
  }
  if (found < 0) throw std::runtime_error("the combo box does not list the item");
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  PostMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(h));
  Wait(50);
  WaitIdleOrBox();
}

void Session::SetMemoText(const std::wstring& memo, const std::wstring& text) {
  HWND h = Control(memo);
  SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000, nullptr);
}

void Session::MenuCommand(const std::wstring& item) {
  std::wstring id = AskComponent(item, L"command");
  PostMessageW(main_, WM_COMMAND, MAKEWPARAM(_wtoi(id.c_str()), 0), 0);
  Wait(50);
  WaitIdleOrBox();
}

int Session::AnswerOpenDialog(const std::wstring& path, bool cancel) {
  std::optional<MessageBoxInfo> dlg;
  for (int i = 0; i < 200 && !dlg; ++i) {
    dlg = FindBox();
    if (!dlg) Wait(50);
  }
  if (!dlg) throw std::runtime_error("the open dialog did not appear");
  Wait(300);
  ExpectSkinned(dlg->hwnd);
  for (int id : {IDOK, IDCANCEL})
    if (HWND button = GetDlgItem(dlg->hwnd, id)) ExpectSkinned(button);
  int filterIndex = -1;
  if (HWND types = GetDlgItem(dlg->hwnd, 0x470))
    filterIndex = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0)) + 1;
  if (cancel) {
    PostMessageW(GetDlgItem(dlg->hwnd, IDCANCEL), BM_CLICK, 0, 0);
  } else {
    HWND name = GetDlgItem(dlg->hwnd, 0x47C);  // the file-name combo box
    if (!name) name = GetDlgItem(dlg->hwnd, 0x480);
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_BLOCK, 5000,
                        nullptr);
    PostMessageW(GetDlgItem(dlg->hwnd, IDOK), BM_CLICK, 0, 0);
  }
  for (int i = 0; i < 200 && IsWindow(dlg->hwnd); ++i) Wait(25);
  WaitIdleOrBox();
  return filterIndex;
}

bool Session::Close() {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  return Exited(10000);
}

bool Session::Exited(DWORD waitMs) {
  return WaitForSingleObject(pi_.hProcess, waitMs) == WAIT_OBJECT_0;
}

}  // namespace e2e
