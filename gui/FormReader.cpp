#include "gui/FormReader.h"

#include <cctype>
#include <map>
#include <stdexcept>
#include <vector>

#include "gui/BitBtn.h"
#include "gui/Button.h"
#include "gui/CheckBox.h"
#include "gui/ComboBox.h"
#include "gui/DBGrid.h"
#include "gui/DateTimePicker.h"
#include "gui/Edit.h"
#include "gui/GroupBox.h"
#include "gui/Image.h"
#include "gui/Label.h"
#include "gui/MediaPlayer.h"
#include "gui/Memo.h"
#include "gui/MenuButton.h"
#include "gui/Menus.h"
#include "gui/OpenDialog.h"
#include "gui/PageControl.h"
#include "gui/Panel.h"
#include "gui/ProgressBar.h"
#include "gui/RadioButton.h"
#include "gui/RadioGroup.h"
#include "gui/ScrollBar.h"
#include "gui/SpeedButton.h"
#include "gui/StatusBar.h"
#include "gui/Text.h"
#include "gui/TrackBar.h"
#include "gui/UpDown.h"

namespace fw {

namespace {

std::map<std::wstring, TComponentFactory>& Registry() {
  static std::map<std::wstring, TComponentFactory> registry = [] {
    std::map<std::wstring, TComponentFactory> r;
    r[L"TLabel"] = [](TComponent* o) { return new TLabel(o); };
    r[L"TImage"] = [](TComponent* o) { return new TImage(o); };
    r[L"TEdit"] = [](TComponent* o) { return new TEdit(o); };
    r[L"TMemo"] = [](TComponent* o) { return new TMemo(o); };
    r[L"TComboBox"] = [](TComponent* o) { return new TComboBox(o); };
    r[L"TButton"] = [](TComponent* o) { return new TButton(o); };
    r[L"TGroupBox"] = [](TComponent* o) { return new TGroupBox(o); };
    r[L"TPageControl"] = [](TComponent* o) { return new TPageControl(o); };
    r[L"TTabSheet"] = [](TComponent* o) { return new TTabSheet(o); };
    r[L"TStatusBar"] = [](TComponent* o) { return new TStatusBar(o); };
    r[L"TMainMenu"] = [](TComponent* o) { return new TMainMenu(o); };
    r[L"TMenuItem"] = [](TComponent* o) { return new TMenuItem(o); };
    r[L"TOpenDialog"] = [](TComponent* o) { return new TOpenDialog(o); };
    r[L"TDBGrid"] = [](TComponent* o) { return new TDBGrid(o); };
    r[L"TCheckBox"] = [](TComponent* o) { return new TCheckBox(o); };
    r[L"TRadioButton"] = [](TComponent* o) { return new TRadioButton(o); };
    r[L"TRadioGroup"] = [](TComponent* o) { return new TRadioGroup(o); };
    r[L"TBitBtn"] = [](TComponent* o) { return new TBitBtn(o); };
    r[L"TSpeedButton"] = [](TComponent* o) { return new TSpeedButton(o); };
    r[L"TMenuButton"] = [](TComponent* o) { return new TMenuButton(o); };
    r[L"TPopupMenu"] = [](TComponent* o) { return new TPopupMenu(o); };
    r[L"TPanel"] = [](TComponent* o) { return new TPanel(o); };
    r[L"TUpDown"] = [](TComponent* o) { return new TUpDown(o); };
    r[L"TDateTimePicker"] = [](TComponent* o) { return new TDateTimePicker(o); };
    r[L"TProgressBar"] = [](TComponent* o) { return new TProgressBar(o); };
    r[L"TTrackBar"] = [](TComponent* o) { return new TTrackBar(o); };
    r[L"TMediaPlayer"] = [](TComponent* o) { return new TMediaPlayer(o); };
    r[L"TScrollBar"] = [](TComponent* o) { return new TScrollBar(o); };
    return r;
  }();
  return registry;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void ReadRoot(TComponent& root) {
    Expect("object");
    std::wstring name = Wide(Identifier());
    Expect(":");
    std::wstring cls = Wide(Identifier());
    if (cls != root.ClassName())
      Fail("定义的类 " + Utf8(cls) + " 与窗口类 " + Utf8(root.ClassName()) + " 不符");
    root.SetName(name);
    loaded_.push_back(&root);
    root.BeginLoading();
    ReadBody(root, root);
    SkipSpace();
    if (pos_ < text_.size()) Fail("定义结束后还有多余内容");
    // Loaded runs for each component in creation order once everything exists.
    for (TComponent* c : loaded_) c->EndLoading();
  }

 private:
  void ReadBody(TComponent& root, TComponent& self) {
    for (;;) {
      std::string word = Identifier();
      if (word == "end") return;
      if (word == "object") {
        ReadObject(root, self);
        continue;
      }
      // A property name may be dotted: Font.Name, Lines.Text, Picture.Data.
      while (Peek() == '.') {
        ++pos_;
        word += "." + Identifier();
      }
      Expect("=");
      ReadValue(self, Wide(word));
    }
  }

  void ReadObject(TComponent& root, TComponent& parent) {
    std::wstring name = Wide(Identifier());
    Expect(":");
    std::wstring cls = Wide(Identifier());
    auto it = Registry().find(cls);
    if (it == Registry().end()) Fail("未知的组件类 " + Utf8(cls));
    TComponent* c = it->second(&root);
    c->BeginLoading();
    c->SetName(name);
    loaded_.push_back(c);
    parent.ReadChild(c);
    ReadBody(root, *c);
  }

  void ReadValue(TComponent& c, const std::wstring& prop) {
    SkipSpace();
    char ch = Peek();
    try {
      if (ch == '{') {
        std::vector<uint8_t> bytes = Bytes();
        if (!c.ReadBinaryProperty(prop, bytes)) Fail(Utf8(c.ClassName() + L" 没有二进制属性 " + prop));
      } else if (ch == '[') {
        SetPropText(c, prop, Wide(SetValue()));
      } else if (ch == '\'' || ch == '#') {
        SetPropText(c, prop, Wide(String()));
      } else if (ch == '-' || (ch >= '0' && ch <= '9')) {
        SetPropText(c, prop, Wide(Number()));
      } else {
        SetPropText(c, prop, Wide(Identifier()));
      }
    } catch (const std::invalid_argument& e) {
      Fail(e.what());
    }
  }

  std::string String() {
    std::string out;
    for (;;) {
      char ch = Peek();
      if (ch == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("字符串没有结束");
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              out += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          out += text_[pos_++];
        }
      } else if (ch == '#') {
        ++pos_;
        std::string digits = Number();
        unsigned long code = std::stoul(digits);
        if (code > 0x10FFFF) Fail("字符编码过大");
        out += Utf8(std::wstring(1, static_cast<wchar_t>(code)));
      } else {
        return out;
      }
    }
  }

  std::vector<uint8_t> Bytes() {
    ++pos_;  // '{'
    std::vector<uint8_t> out;
    int high = -1;
    for (;;) {
      if (pos_ >= text_.size()) Fail("二进制数据没有结束");
      char ch = text_[pos_++];
      if (ch == '}') break;
      if (ch == '\n') ++line_;
      if (ch == ' ' || ch == '\r' || ch == '\n' || ch == '\t') continue;
      int v = ch >= '0' && ch <= '9'   ? ch - '0'
              : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
              : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                                       : -1;
      if (v < 0) Fail("二进制数据中有非十六进制字符");
      if (high < 0) {
        high = v;
      } else {
        out.push_back(static_cast<uint8_t>(high * 16 + v));
        high = -1;
      }
    }
    if (high >= 0) Fail("二进制数据的位数是奇数");
    return out;
  }

  // A set: "[a, b]" taken as its text between the brackets.
  std::string SetValue() {
    size_t start = ++pos_;
    size_t end = text_.find(']', start);
    if (end == std::string_view::npos) Fail("集合没有结束");
    for (size_t i = start; i < end; ++i)
      if (text_[i] == '\n') ++line_;
    pos_ = end + 1;
    return std::string(text_.substr(start, end - start));
  }

  std::string Number() {
    SkipSpace();
    size_t start = pos_;
    if (Peek() == '-') ++pos_;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    if (pos_ == start || (pos_ == start + 1 && text_[start] == '-')) Fail("应为数字");
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string Identifier() {
    SkipSpace();
    size_t start = pos_;
    while (pos_ < text_.size()) {
      unsigned char ch = static_cast<unsigned char>(text_[pos_]);
      if (!(std::isalnum(ch) || ch == '_' || ch >= 0x80)) break;
      ++pos_;
    }
    if (pos_ == start) Fail("应为名称");
    return std::string(text_.substr(start, pos_ - start));
  }

  void Expect(const char* token) {
    SkipSpace();
    std::string_view t(token);
    if (text_.substr(pos_, t.size()) != t) Fail("应为 " + std::string(token));
    pos_ += t.size();
  }

  char Peek() {
    SkipSpace();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  void SkipSpace() {
    while (pos_ < text_.size()) {
      char ch = text_[pos_];
      if (ch == '\n') ++line_;
      if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') {
        ++pos_;
      } else if (ch == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  [[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error("窗口定义第 " + std::to_string(line_) + " 行: " + what);
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  std::vector<TComponent*> loaded_;
};

}  // namespace

void RegisterComponentClass(const std::wstring& className, TComponentFactory factory) {
  Registry()[className] = std::move(factory);
}

void ReadDefinition(TComponent& root, std::string_view utf8Text) {
  // A UTF-8 byte order mark is allowed at the start.
  if (utf8Text.substr(0, 3) == "\xEF\xBB\xBF") utf8Text.remove_prefix(3);
  Reader(utf8Text).ReadRoot(root);
}

}  // namespace fw
