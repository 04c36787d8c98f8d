// The grid's column header drawn by the skin, as a user meets it: with a
// table chosen, the column under the mouse shows its hot face and no other
// part of the header changes; moving away puts every column back as it was.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <vector>

#include "Harness.h"
#include "Input.h"
#include "ScreenCapture.h"
#include "Session.h"
#include "StoredLook.h"
#include "skin/archive/Bitmap.h"

namespace e2e {
namespace {

// Where each column's header item lies, in the header's own pixels: the
// columns' widths added up (the grid is scrolled to its left edge).
std::vector<RECT> ColumnItems(HWND grid, int height) {
  std::vector<RECT> items;
  for (int left = 0, column = 0;; ++column) {
    DWORD_PTR width = 0;
    if (!SendMessageTimeoutW(grid, LVM_GETCOLUMNWIDTH, column, 0, SMTO_BLOCK, 2000, &width) || width == 0)
      break;
    items.push_back(RECT{left, 0, left + static_cast<int>(width), height});
    left += static_cast<int>(width);
  }
  return items;
}

// Pixels of `after` that differ from `before` outside `item` (its edges, where
// the faces meet, left out).
int DifferingOutside(const skin::TBitmap& before, const skin::TBitmap& after, const RECT& item) {
  int n = 0;
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x) {
      if (x >= item.left - 2 && x < item.right + 2) continue;
      n += Distance(before.Pixel(x, y), after.Pixel(x, y)) > 2;
    }
  return n;
}

}  // namespace

E2E_CASE(GridHeaderShowsTheColumnUnderTheMouseHot) {
  Session s(ctx.app, ctx.work);
  MakeReady(s);
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  s.AnswerOpenDialog(ctx.database);
  if (auto box = s.WaitIdleOrBox()) throw Failure("unexpected message after opening: " + Narrow(box->text));
  s.Choose(L"Edit_OldDatabaseTableName", L"Customers");
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing Customers: " + Narrow(box->text));
  HWND grid = s.Control(L"DBGrid1");
  HWND header = FindWindowExW(grid, nullptr, WC_HEADERW, nullptr);
  E2E_CHECK(header != nullptr);
  SetForegroundWindow(s.Main());
  MoveMouse(kAway);
  s.WaitIdleOrBox();
  const RECT strip = ScreenRect(header);
  const std::vector<RECT> items = ColumnItems(grid, strip.bottom - strip.top);
  E2E_CHECK(items.size() >= 3);
  const skin::TBitmap normal = Capture(strip);

  for (size_t column : {size_t{1}, size_t{2}}) {
    const RECT& item = items[column];
    MoveMouse(POINT{strip.left + (item.left + item.right) / 2, (strip.top + strip.bottom) / 2}, 200);
    const skin::TBitmap hot = Capture(strip);
    // The hovered column changes (a face, not just a pixel or two); nothing else does.
    const RECT inside{item.left + 2, 0, item.right - 2, hot.Height()};
    E2E_CHECK(Differing(normal, hot, inside) > (inside.right - inside.left) * hot.Height() / 4);
    E2E_CHECK_EQ(DifferingOutside(normal, hot, item), 0);
  }
  MoveMouse(kAway, 200);
  E2E_CHECK_EQ(Differing(normal, Capture(strip)), 0);
  E2E_CHECK(s.Close());
}

}  // namespace e2e
