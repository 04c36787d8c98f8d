#include "gui/DateTimePicker.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>

#include "gui/Application.h"

namespace fw {

const TClassInfo& TDateTimePicker::StaticClass() {
  static const TClassInfo info{
      L"TDateTimePicker",
      &TWinControl::StaticClass(),
      {
          TextProp(
              L"Date", [](const TComponent& c) { return As<TDateTimePicker>(c).DateText(); },
              [](TComponent& c, const std::wstring& v) { As<TDateTimePicker>(c).SetDateText(v); }),
          EnumProp(
              L"DateMode", {L"dmComboBox", L"dmUpDown"},
              [](const TComponent& c) { return static_cast<int>(As<TDateTimePicker>(c).DateMode()); },
              [](TComponent& c, int v) { As<TDateTimePicker>(c).SetDateMode(static_cast<TDTDateMode>(v)); }),
          EnumProp(
              L"Kind", {L"dtkDate", L"dtkTime"},
              [](const TComponent& c) { return static_cast<int>(As<TDateTimePicker>(c).Kind()); },
              [](TComponent& c, int v) { As<TDateTimePicker>(c).SetKind(static_cast<TDateTimeKind>(v)); }),
          EventProp(L"OnChange", [](TComponent& c) -> TEvent& { return As<TDateTimePicker>(c).OnChange; }),
      }};
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  GetLocalTime(&date_);
  SetTabStop(true);
  SetBounds(0, 0, 186, 21);
}

SYSTEMTIME TDateTimePicker::Date() const {
  if (!HandleAllocated()) return date_;
  SYSTEMTIME shown{};
  if (SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) != GDT_VALID)
    return date_;
  return shown;
}

void TDateTimePicker::SetDate(const SYSTEMTIME& date) {
  date_ = date;
  if (HandleAllocated())
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date_));
}

std::wstring TDateTimePicker::DateText() const {
  SYSTEMTIME d = Date();
  wchar_t text[16];
  std::swprintf(text, 16, L"%04u-%02u-%02u", d.wYear, d.wMonth, d.wDay);
  return text;
}

void TDateTimePicker::SetDateText(const std::wstring& text) {
  unsigned year = 0, month = 0, day = 0;
  wchar_t extra = 0;
  if (std::swscanf(text.c_str(), L"%4u-%2u-%2u%lc", &year, &month, &day, &extra) != 3 || year < 1601 ||
      month < 1 || month > 12 || day < 1 || day > 31)
    throw std::invalid_argument("not a date (yyyy-mm-dd)");
  SYSTEMTIME d{};
  d.wYear = static_cast<WORD>(year);
  d.wMonth = static_cast<WORD>(month);
  d.wDay = static_cast<WORD>(day);
  // The calendar checks the day against the month.
  FILETIME check;
  if (!SystemTimeToFileTime(&d, &check)) throw std::invalid_argument("no such day");
  SetDate(d);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.className = DATETIMEPICK_CLASSW;
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | DTS_SHORTDATEFORMAT;
  if (dateMode_ == dmUpDown) params.style |= DTS_UPDOWN;
  if (kind_ == dtkTime) params.style |= DTS_TIMEFORMAT;
  params.exStyle = WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWnd() {
  SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date_));
}

void TDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && !IsHeaderlessNotify(m)) return CNNotify(m);
  TWinControl::WndProc(m);
}

void TDateTimePicker::CNNotify(TMessage& m) {
  if (reinterpret_cast<NMHDR*>(m.LParam)->code != DTN_DATETIMECHANGE) return;
  date_ = Date();
  RunEvent(OnChange, this);
}

}  // namespace fw
