// The framework's stored definitions and published properties, in this process.
#include <windows.h>

#include "Harness.h"
#include "gui/Button.h"
#include "gui/Form.h"
#include "gui/FormReader.h"
#include "gui/Image.h"
#include "gui/Label.h"

namespace e2e {
namespace {

class TTestForm : public fw::TForm {
  FW_CLASS(TTestForm)
 public:
  explicit TTestForm(fw::TComponent* owner) : fw::TForm(owner) {
    RegisterMethod(L"ButtonClick", [this](fw::TObject*) { ++clicks; });
  }
  int clicks = 0;
};

const fw::TClassInfo& TTestForm::StaticClass() {
  static const fw::TClassInfo info{L"TTestForm", &fw::TForm::StaticClass(), {}};
  return info;
}

std::string ReadError(const char* text) {
  TTestForm form(nullptr);
  try {
    fw::ReadDefinition(form, text);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace

E2E_CASE(DefinitionsBuildComponentsInCreationOrderWithTheirProperties) {
  TTestForm form(nullptr);
  fw::ReadDefinition(form,
                     "object F: TTestForm\n"
                     "  Caption = 'It''s'#13#10'two'\n"
                     "  object B1: TButton\n    Left = -3\n    Tag = 42\n    Caption = '按钮'\n"
                     "    OnClick = ButtonClick\n  end\n"
                     "  object L1: TLabel\n    Transparent = True\n  end\n"
                     "end\n");
  E2E_CHECK_EQ(form.Name(), std::wstring(L"F"));
  E2E_CHECK_EQ(form.Caption(), std::wstring(L"It's\r\ntwo"));
  E2E_CHECK_EQ(form.ComponentCount(), 2);
  E2E_CHECK_EQ(form.Components()[0]->Name(), std::wstring(L"B1"));
  E2E_CHECK_EQ(form.Components()[1]->Name(), std::wstring(L"L1"));
  fw::TComponent& b = *form.FindComponent(L"b1");  // names are found regardless of case
  E2E_CHECK_EQ(fw::GetIntProp(b, L"left"), -3);
  E2E_CHECK_EQ(fw::GetIntProp(b, L"TAG"), 42);
  E2E_CHECK_EQ(fw::GetTextProp(b, L"caption"), std::wstring(L"按钮"));
  E2E_CHECK_EQ(fw::GetTextProp(b, L"OnClick"), std::wstring(L"ButtonClick"));
  E2E_CHECK_EQ(fw::GetIntProp(b, L"NoSuchProperty"), -1);
  E2E_CHECK_EQ(fw::GetTextProp(b, L"NoSuchProperty"), std::wstring());
  E2E_CHECK_EQ(fw::GetTextProp(*form.FindComponent(L"L1"), L"Transparent"), std::wstring(L"True"));
  static_cast<fw::TButton&>(b).Click();
  E2E_CHECK_EQ(form.clicks, 1);
  fw::SetPropText(b, L"visible", L"false");
  E2E_CHECK(!static_cast<fw::TButton&>(b).Visible());
  bool refused = false;
  try {
    fw::SetPropText(b, L"Left", L"abc");
  } catch (const std::invalid_argument&) {
    refused = true;
  }
  E2E_CHECK(refused);
  // Freeing an owned component early takes it out of its owner's list.
  delete form.FindComponent(L"B1");
  E2E_CHECK_EQ(form.ComponentCount(), 1);
}

E2E_CASE(DefinitionsCarryComponentBytes) {
  TTestForm form(nullptr);
  std::string error =
      ReadError("object F: TTestForm\n object I: TImage\n  Picture.Data = {FFD8 00}\n end\nend\n");
  E2E_CHECK(error.find("JPEG") != std::string::npos);
  E2E_CHECK(
      ReadError("object F: TTestForm\n object I: TImage\n  Picture.Data = {FFD}\n end\nend\n").find("奇数") !=
      std::string::npos);
  E2E_CHECK(
      ReadError("object F: TTestForm\n object L: TLabel\n  Caption = {00}\n end\nend\n").find("二进制") !=
      std::string::npos);
}

E2E_CASE(BadDefinitionsAreRefusedNamingTheLine) {
  E2E_CHECK(ReadError("object F: TOther\nend\n").find("TOther") != std::string::npos);
  E2E_CHECK(ReadError("object F: TTestForm\n\n  object X: TNoSuchClass\n  end\nend\n").find("第 3 行") !=
            std::string::npos);
  E2E_CHECK(ReadError("object F: TTestForm\n  Caption = 'open\nend\n").find("字符串") != std::string::npos);
  E2E_CHECK(ReadError("object F: TTestForm\n  Bogus = 1\nend\n").find("Bogus") != std::string::npos);
  E2E_CHECK(ReadError("object F: TTestForm\n  OnCreate = Missing\nend\n").find("Missing") !=
            std::string::npos);
  E2E_CHECK(ReadError("object F: TTestForm\n  ClientWidth = wide\nend\n").find("ClientWidth") !=
            std::string::npos);
  E2E_CHECK(!ReadError("object F: TTestForm\n").empty());
  E2E_CHECK(!ReadError("object F: TTestForm\nend\nextra").empty());
}

}  // namespace e2e
