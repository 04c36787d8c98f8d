// The main window loads the skin stored in its definition at start and, once
// its owner has loaded, switches skinning on through the manager's timer.
#include <windows.h>

#include "Harness.h"
#include "Session.h"

namespace e2e {

E2E_CASE(StartUpLoadsTheStoredSkinAndSwitchesItOn) {
  Session s(ctx.app, ctx.work);
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"class"), std::wstring(L"TSkinData"));
  // Switching on is carried out 250 ms after start-up.
  std::wstring state;
  for (int i = 0; i < 40; ++i) {
    state = s.AskComponent(L"SkinData1", L"skin");
    if (state == L"empty=0;active=1;manager=1") break;
    Sleep(100);
  }
  E2E_CHECK_EQ(state, std::wstring(L"empty=0;active=1;manager=1"));
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"prop:Active"), std::wstring(L"True"));
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"prop:DisableTag"), std::wstring(L"99"));
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"prop:Version"), std::wstring(L"1.00.00.00"));
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"prop:SkinStore"), std::wstring(L"(none)"));
  E2E_CHECK_EQ(s.AskComponent(L"SkinData1", L"prop:Options"),
               std::wstring(L"[xoPreview, xoToolbarBK, xoCaptionButtonHint]"));
  // Start-up keeps xcSystemMenu (the main menu is skinned) and never has xcMenuItem.
  std::wstring controls = s.AskComponent(L"SkinData1", L"prop:SkinControls");
  E2E_CHECK(controls.find(L"xcSystemMenu") != std::wstring::npos);
  E2E_CHECK(controls.find(L"xcMenuItem") == std::wstring::npos);
  E2E_CHECK(controls.find(L"xcScrollbar") != std::wstring::npos);
  E2E_CHECK(s.Close());
}

}  // namespace e2e
