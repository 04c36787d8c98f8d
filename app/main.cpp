// Program entry: the application, its title, the main window, the message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "gui/Application.h"
#include "skin/model/WinSkinData.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  fw::TApplication application;
  application.Initialize();
  application.SetTitle(L"Quellmark");
  skin::RegisterSkinComponents();  // the main window's definition places SkinData1
  try {
    application.CreateForm<TForm1>();
  } catch (const std::exception& e) {
    // A window that cannot be built from its definition is a broken build; say why.
    application.HandleException(e.what());
    return 1;
  }
  application.Run();
  return 0;
}
