#include "gui/DBGrid.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "gui/Application.h"
#include "gui/Edit.h"

namespace fw {

// The in-place editor: a borderless edit that keeps Enter and Esc for itself
// (the dialog navigation would otherwise take them) and ends the edit when
// it loses the focus.
class TGridEditor : public TEdit {
 public:
  TGridEditor(TDBGrid* grid) : TEdit(grid), grid_(grid) { SetBorderStyle(ebNone); }

 protected:
  void WndProc(TMessage& m) override {
    switch (m.Msg) {
      case WM_GETDLGCODE:
        m.Result = DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS;
        return;
      case WM_KEYDOWN:
        // The editor is freed by the grid, outside of the editor's own messages.
        if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) {
          PostMessageW(grid_->Handle(), TDBGrid::kFinishEdit, m.WParam == VK_RETURN, 0);
          return;
        }
        break;
      case WM_CHAR:
        if (m.WParam == L'\r' || m.WParam == 27) return;  // no beep for the keys handled above
        break;
      case WM_KILLFOCUS:
        TEdit::WndProc(m);
        PostMessageW(grid_->Handle(), TDBGrid::kFinishEdit, TRUE, 0);
        return;
      default:
        break;
    }
    TEdit::WndProc(m);
  }

 private:
  TDBGrid* grid_;
};

namespace {

// A header without items paints nothing under Wine, and its class erases
// nothing, so the empty grid's header strip showed whatever was under it
// (black). While it has no items it is filled with the button face; with
// items, or skinned (a skin's handler comes before this one), it paints
// itself.
LRESULT CALLBACK EmptyHeaderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_PAINT && SendMessageW(hwnd, HDM_GETITEMCOUNT, 0, 0) == 0) {
    PAINTSTRUCT ps{};
    HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (!wParam) EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, EmptyHeaderProc, id);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

const TClassInfo& TCustomGrid::StaticClass() {
  static const TClassInfo info{L"TCustomGrid", &TWinControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TDBGrid::StaticClass() {
  static const TClassInfo info{L"TDBGrid", &TCustomGrid::StaticClass(), {}};
  return info;
}

TDBGrid::TDBGrid(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TDBGrid::CreateParams(TCreateParams& params) {
  params.className = WC_LISTVIEWW;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT | LVS_OWNERDATA |
                 LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  params.exStyle = WS_EX_CLIENTEDGE;
}

void TDBGrid::CreateWnd() {
  ListView_SetExtendedListViewStyle(Handle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  if (HWND header = ListView_GetHeader(Handle())) SetWindowSubclass(header, EmptyHeaderProc, 1, 0);
  DataChanged();
}

void TDBGrid::DataChanged() {
  if (editor_) FinishEdit(false);
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  ListView_SetItemCountEx(Handle(), 0, 0);
  while (columns_ > 0) ListView_DeleteColumn(Handle(), --columns_);
  const int fields = source_ ? source_->FieldCount() : 0;
  for (int i = 0; i < fields; ++i) {
    std::wstring title = source_->FieldName(i);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.cx = 64;
    col.pszText = title.data();
    col.iSubItem = i;
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  columns_ = fields;
  cellsDrawn_ = 0;
  const int64_t rows = fields > 0 ? source_->RowCount() : 0;
  ListView_SetItemCountEx(Handle(), static_cast<int>(std::min<int64_t>(rows, INT32_MAX)), LVSICF_NOSCROLL);
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TDBGrid::SetColumnWidth(int column, int width) {
  if (HandleAllocated() && column < columns_) ListView_SetColumnWidth(Handle(), column, width);
}

int TDBGrid::ColumnWidth(int column) const {
  return HandleAllocated() && column < columns_ ? ListView_GetColumnWidth(Handle(), column) : 0;
}

void TDBGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      if (IsHeaderlessNotify(m)) return DefaultHandler(m);
      return CNNotify(m);
    case WM_LBUTTONDBLCLK:
      return WMLButtonDblClk(m);
    case WM_KEYDOWN:
      return WMKeyDown(m);
    case kFinishEdit:
      return FinishEdit(m.WParam != 0);
    case WM_COMMAND:
    case WM_NOTIFY:
      // The header's and the editor's notifications are the list view's own business.
      if (m.Msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom == ListView_GetHeader(Handle()))
        return DefaultHandler(m);
      return TWinControl::WndProc(m);
    default:
      return TWinControl::WndProc(m);
  }
}

void TDBGrid::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (hdr->code == LVN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
    if ((info->item.mask & LVIF_TEXT) && source_ && info->item.cchTextMax > 0) {
      ++cellsDrawn_;
      cellBuffer_ =
          info->item.iSubItem < columns_ ? source_->CellText(info->item.iItem, info->item.iSubItem) : L"";
      size_t n = std::min<size_t>(cellBuffer_.size(), static_cast<size_t>(info->item.cchTextMax) - 1);
      std::copy_n(cellBuffer_.c_str(), n, info->item.pszText);
      info->item.pszText[n] = L'\0';
    }
  }
  m.Result = 0;
}

void TDBGrid::WMLButtonDblClk(TMessage& m) {
  LVHITTESTINFO hit{};
  hit.pt = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (ListView_SubItemHitTest(Handle(), &hit) >= 0 && hit.iItem >= 0) {
    EditCell(hit.iItem, hit.iSubItem);
    return;
  }
  DefaultHandler(m);
}

void TDBGrid::WMKeyDown(TMessage& m) {
  if (m.WParam == VK_F2) {
    int row = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
    if (row >= 0) return EditCell(row, 0);
  }
  DefaultHandler(m);
}

RECT TDBGrid::CellRect(int64_t row, int column) const {
  RECT r{};
  ListView_GetSubItemRect(Handle(), static_cast<int>(row), column, LVIR_BOUNDS, &r);
  // The first column's bounds cover the whole row; its own width ends it.
  if (column == 0) r.right = r.left + ListView_GetColumnWidth(Handle(), 0);
  return r;
}

void TDBGrid::EditCell(int64_t row, int column) {
  if (!source_ || column < 0 || column >= columns_ || row < 0 || row >= source_->RowCount()) return;
  if (editor_) FinishEdit(true);
  ListView_EnsureVisible(Handle(), static_cast<int>(row), FALSE);
  editRow_ = row, editColumn_ = column;
  RECT r = CellRect(row, column);
  editor_ = new TGridEditor(this);
  editor_->SetName(L"DBGrid1Editor");
  editor_->SetBounds(r.left + 1, r.top, r.right - r.left - 1, r.bottom - r.top);
  editor_->SetCaption(source_->CellText(row, column));
  editor_->SetParent(this);
  SendMessageW(editor_->Handle(), EM_SETSEL, 0, -1);
  editor_->SetFocus();
}

void TDBGrid::FinishEdit(bool commit) {
  if (!editor_ || finishing_) return;
  finishing_ = true;
  TGridEditor* editor = editor_;
  std::wstring text = editor->Text();
  const int64_t row = editRow_;
  const int column = editColumn_;
  editor_ = nullptr;
  if (GetFocus() == editor->Handle()) ::SetFocus(Handle());
  delete editor;
  if (commit && source_ && text != source_->CellText(row, column)) {
    // A refusal is shown; the cell then draws the value the source kept.
    if (Application)
      Application->RunEvent([&] { source_->SetCellText(row, column, text); });
    else
      source_->SetCellText(row, column, text);
  }
  ListView_RedrawItems(Handle(), static_cast<int>(row), static_cast<int>(row));
  finishing_ = false;
}

std::wstring TDBGrid::Automation(const std::wstring& request) {
  auto numbers = [&](size_t from, int64_t& a, int& b) {
    a = _wtoi64(request.c_str() + from);
    size_t colon = request.find(L':', from);
    b = colon == std::wstring::npos ? 0 : _wtoi(request.c_str() + colon + 1);
  };
  if (request == L"rows") return std::to_wstring(source_ && columns_ > 0 ? source_->RowCount() : 0);
  if (request == L"cols") return std::to_wstring(columns_);
  if (request == L"editing") return editor_ ? L"1" : L"0";
  // Draws what is waiting to be drawn now; answers how many cell texts were
  // asked for since the rows last changed, so a caller knows rows are shown.
  if (request == L"paint") {
    UpdateWindow(Handle());
    return std::to_wstring(cellsDrawn_);
  }
  if (request.rfind(L"title:", 0) == 0) {
    int c = _wtoi(request.c_str() + 6);
    return source_ && c >= 0 && c < columns_ ? source_->FieldName(c) : L"";
  }
  if (request.rfind(L"width:", 0) == 0) return std::to_wstring(ColumnWidth(_wtoi(request.c_str() + 6)));
  if (request.rfind(L"cell:", 0) == 0) {
    int64_t r;
    int c;
    numbers(5, r, c);
    return source_ && c >= 0 && c < columns_ && r >= 0 && r < source_->RowCount() ? source_->CellText(r, c)
                                                                                  : L"";
  }
  if (request.rfind(L"cellrect:", 0) == 0) {
    int64_t r;
    int c;
    numbers(9, r, c);
    if (r < 0 || r >= ListView_GetItemCount(Handle())) return L"";
    ListView_EnsureVisible(Handle(), static_cast<int>(r), FALSE);
    RECT rc = CellRect(r, c);
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) +
           L"," + std::to_wstring(rc.bottom);
  }
  return TWinControl::Automation(request);
}

}  // namespace fw
