// One run of quellmark.exe under test: starts it, finds its window and its
// controls by their component names (the framework answers automation
// requests sent by WM_COPYDATA), sends the messages a user's actions send,
// waits for the program to become idle, and answers its message boxes.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring title;
  std::wstring text;
  bool errorIcon = false;
  bool yesNo = false;
};

class Session {
 public:
  Session(const std::wstring& exe, const std::wstring& workDir);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  HWND Main() const { return main_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }

  // Automation request to a window of the program; "" when it does not answer.
  std::wstring Ask(HWND target, const std::wstring& request);
  // Request about a component of the main window by name (windowless ones too).
  std::wstring AskComponent(const std::wstring& name, const std::wstring& request);
  HWND Control(const std::wstring& name);

  // User actions. Each returns once the program is idle or shows a box.
  void Click(const std::wstring& button);
  void ClickAt(HWND window, int x, int y);
  void Type(const std::wstring& control, const std::wstring& text,
            std::vector<MessageBoxInfo>* boxes = nullptr);
  void Choose(const std::wstring& combo, const std::wstring& item);
  void PressKey(HWND window, UINT vk);
  void SetMemoText(const std::wstring& memo, const std::wstring& text);
  void MenuCommand(const std::wstring& item);

  // Waits until the program is idle (true) or shows a message box (returned in `box`).
  std::optional<MessageBoxInfo> WaitIdleOrBox(DWORD timeoutMs = 20000);
  // Expects a message box now, answers it with the button id, waits again.
  MessageBoxInfo Answer(int buttonId);
  // Fails unless the window answers WM_ISSKINNED with 1 (every box the program shows is adopted).
  void ExpectSkinned(HWND window);
  // Fails unless every button window directly inside `window` is skinned.
  void ExpectButtonsSkinned(HWND window);
  // The common open dialog: types the path, confirms; returns its filter index (1-based).
  int AnswerOpenDialog(const std::wstring& path, bool cancel = false);

  std::wstring Text(const std::wstring& control) { return Ask(Control(control), L"text"); }
  std::wstring Panel(int i) { return Ask(Control(L"StatusBar1"), L"panel:" + std::to_wstring(i)); }
  std::wstring Cell(int row, int col) {
    return Ask(Control(L"DBGrid1"), L"cell:" + std::to_wstring(row) + L":" + std::to_wstring(col));
  }
  int GridRows() { return _wtoi(Ask(Control(L"DBGrid1"), L"rows").c_str()); }
  int GridCols() { return _wtoi(Ask(Control(L"DBGrid1"), L"cols").c_str()); }

  // Closes the main window as its close button does; true when the process ended.
  bool Close();
  bool Exited(DWORD waitMs);

 private:
  std::optional<MessageBoxInfo> FindBox();
  void IndexControls();

  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  HWND replyWindow_ = nullptr;
  std::map<std::wstring, HWND> controls_;
};

// The shown top-level windows of window class `cls` in process `pid`, topmost first.
std::vector<HWND> ShownWindows(DWORD pid, const wchar_t* cls);

// Where the reply of an automation request lands.
extern std::wstring g_reply;
extern bool g_replied;

}  // namespace e2e
