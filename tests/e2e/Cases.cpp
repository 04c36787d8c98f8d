// What a user does in the main window, case by case, with what they must see
// and what the database file must hold afterwards.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Database.h"
#include "Harness.h"
#include "ScreenCapture.h"
#include "Session.h"

namespace e2e {
namespace {

const std::wstring kTitle = L"Quellmark";

std::wstring Join(const std::vector<std::string>& items) {
  std::string all;
  for (const std::string& s : items) all += (all.empty() ? "" : ",") + s;
  return WideText(all);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> out;
  std::wstringstream in(text);
  std::wstring line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

std::vector<std::wstring> BackupCopies(const Context& ctx) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((ctx.work + L"\\bak_备份_*dups_v2000.mdb").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(fd.cFileName);
  while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

std::wstring Stamp14(const SYSTEMTIME& t) {
  wchar_t buf[32];
  swprintf(buf, 32, L"%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return buf;
}

// Opens the case's database through "打开" and the open dialog.
void OpenDatabase(Session& s, const Context& ctx) {
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  int filterIndex = s.AnswerOpenDialog(ctx.database);
  E2E_CHECK_EQ(filterIndex, 3);
  if (auto box = s.WaitIdleOrBox()) throw Failure("unexpected message after opening: " + Narrow(box->text));
  E2E_CHECK_EQ(s.Text(L"Edit_MDBPath"), ctx.database);
}

void ChooseCustomers(Session& s) {
  s.Choose(L"Edit_OldDatabaseTableName", L"Customers");
  if (auto box = s.WaitIdleOrBox())
    throw Failure("unexpected message choosing Customers: " + Narrow(box->text));
  E2E_CHECK_EQ(s.GridRows(), 11);
}

// A box that must be showing now, with its title and text.
MessageBoxInfo ExpectBox(Session& s, const std::wstring& title, const std::wstring& text) {
  auto box = s.WaitIdleOrBox();
  if (!box) throw Failure("expected the message \"" + Narrow(text) + "\", none came");
  E2E_CHECK_EQ(box->title, title);
  E2E_CHECK_EQ(box->text, text);
  return *box;
}

// Write paths need the engine's writer; until it lands every write is refused with its message.
void SkipIfWritesRefused(const MessageBoxInfo& box) {
  if (box.text.find(L"不支持写入") != std::wstring::npos)
    throw Skipped("the engine refuses writes: " + Narrow(box.text));
}

void ExpectErrorReport(Session& s, MessageBoxInfo* out = nullptr) {
  auto box = s.WaitIdleOrBox();
  if (!box) throw Failure("expected an error report, none came");
  E2E_CHECK_EQ(box->title, kTitle);
  E2E_CHECK(box->errorIcon);
  E2E_CHECK(!box->text.empty() && box->text.back() <= L'.');
  if (out) *out = *box;
  s.Answer(IDOK);
}

// The report of a write: the case is skipped when the engine refuses writes;
// otherwise the report is `text`, answered with OK.
void ExpectWriteReport(Session& s, const std::wstring& text) {
  auto box = s.WaitIdleOrBox();
  E2E_CHECK(box.has_value());
  SkipIfWritesRefused(*box);
  E2E_CHECK_EQ(box->text, text);
  s.Answer(IDOK);
}

// Deletes Customers' duplicates by Name with `button` ("去重(保留最小id)" or
// "去重(保留最大id)"), answering yes; five records are left in the grid.
void DeleteDuplicatesByName(Session& s, const Context& ctx, const wchar_t* button) {
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  s.Type(L"ComboBox_DB_Words", L"Name");
  PostMessageW(s.Control(button), BM_CLICK, 0, 0);
  ExpectBox(s, L"提示", L"真的要删除重复记录吗？(删除重复记录过程请耐心等待程序处理完.)");
  s.Answer(IDYES);
  ExpectWriteReport(s, L"重复记录删除完毕.");
  E2E_CHECK_EQ(s.GridRows(), 5);
}

}  // namespace

E2E_CASE(StartUpShowsTheWindowAsDefined) {
  Session s(ctx.app, ctx.work);
  wchar_t title[64];
  GetWindowTextW(s.Main(), title, 64);
  E2E_CHECK_EQ(std::wstring(title), kTitle);
  E2E_CHECK_EQ(s.AskComponent(L"Label_Ver", L"text"), std::wstring(L"Ver:1.02 20000101"));
  E2E_CHECK_EQ(s.Text(L"Memo_Sql"), std::wstring(L"Select * From []"));
  E2E_CHECK_EQ(s.Text(L"Edit_MDBPath"), std::wstring());
  for (int i = 0; i < 3; ++i) E2E_CHECK_EQ(s.Panel(i), std::wstring());
  E2E_CHECK_EQ(s.GridCols(), 0);
  E2E_CHECK_EQ(s.AskComponent(L"PageControl2", L"prop:ActivePage"), std::wstring(L"TabSheet4"));
  E2E_CHECK_EQ(s.AskComponent(L"Image1", L"picture"), std::wstring(L"600x105"));
  E2E_CHECK_EQ(s.AskComponent(L"Button_GetDB_AllBiao", L"visible"), std::wstring(L"0"));
  // Fixed size: no thick frame, no maximize box.
  LONG style = GetWindowLongW(s.Main(), GWL_STYLE);
  E2E_CHECK(!(style & WS_THICKFRAME) && !(style & WS_MAXIMIZEBOX));
  RECT client;
  GetClientRect(s.Main(), &client);
  E2E_CHECK_EQ(static_cast<int>(client.right), 599);
  E2E_CHECK_EQ(static_cast<int>(client.bottom), 632);
  E2E_CHECK(s.Close());
}

E2E_CASE(OpeningListsTablesAndMakesTheBackupCopy) {
  Session s(ctx.app, ctx.work);
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  OpenDatabase(s, ctx);
  GetLocalTime(&after);
  std::vector<std::wstring> items = Lines(s.Ask(s.Control(L"Edit_OldDatabaseTableName"), L"items"));
  E2E_CHECK(std::find(items.begin(), items.end(), L"Customers") != items.end());
  E2E_CHECK(std::find(items.begin(), items.end(), L"Tags") != items.end());
  E2E_CHECK(std::find(items.begin(), items.end(), L"MSysObjects") == items.end());
  E2E_CHECK_EQ(s.Text(L"Edit_OldDatabaseTableName"), std::wstring());
  std::vector<std::wstring> copies = BackupCopies(ctx);
  E2E_CHECK_EQ(copies.size(), size_t{1});
  std::wstring stamp = copies[0].substr(7, 14);  // after "bak_备份_"
  E2E_CHECK(stamp >= Stamp14(before) && stamp <= Stamp14(after));
  E2E_CHECK_EQ(RowCount(ctx.work + L"\\" + copies[0], "Customers"), size_t{11});
  // The copy was made under a name of its own and then renamed: nothing of that name is left.
  WIN32_FIND_DATAW partial;
  HANDLE h = FindFirstFileW((ctx.work + L"\\bak_备份_*.part").c_str(), &partial);
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  E2E_CHECK(h == INVALID_HANDLE_VALUE);
  E2E_CHECK(s.Close());
}

E2E_CASE(ChoosingTheOpenFileAgainDoesNothing) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  Sleep(1100);  // a second reopening would make a copy with a new time stamp
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  s.AnswerOpenDialog(ctx.database);
  E2E_CHECK(!s.WaitIdleOrBox());
  E2E_CHECK_EQ(BackupCopies(ctx).size(), size_t{1});
  E2E_CHECK_EQ(s.Text(L"Edit_OldDatabaseTableName"), std::wstring(L"Customers"));
  E2E_CHECK_EQ(s.GridRows(), 11);
  // Cancelling the dialog changes nothing either.
  PostMessageW(s.Control(L"Button11"), BM_CLICK, 0, 0);
  s.AnswerOpenDialog(L"", true);
  E2E_CHECK_EQ(s.Text(L"Edit_MDBPath"), ctx.database);
  E2E_CHECK(s.Close());
}

E2E_CASE(TableChangeFillsGridStatusAndFieldChoosers) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  E2E_CHECK_EQ(s.GridCols(), 6);
  const wchar_t* titles[] = {L"ID", L"Name", L"Notes", L"Amount", L"Joined", L"Active"};
  HWND grid = s.Control(L"DBGrid1");
  for (int c = 0; c < 6; ++c) {
    E2E_CHECK_EQ(s.Ask(grid, L"title:" + std::to_wstring(c)), std::wstring(titles[c]));
    E2E_CHECK_EQ(s.Ask(grid, L"width:" + std::to_wstring(c)), std::wstring(L"80"));
  }
  E2E_CHECK_EQ(s.Cell(0, 1), std::wstring(L"Alice"));
  E2E_CHECK_EQ(s.Cell(6, 1), std::wstring(L"Zoë Ångström – 日本"));
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共11条信息"));
  E2E_CHECK_EQ(s.Text(L"ComboBox_ID"), std::wstring(L"ID"));
  E2E_CHECK_EQ(s.Ask(s.Control(L"ComboBox_ID"), L"items"), std::wstring(L"ID"));
  E2E_CHECK_EQ(s.Text(L"ComboBox_DB_Words"), std::wstring());
  E2E_CHECK_EQ(s.Ask(s.Control(L"ComboBox_DB_Words"), L"items"),
               std::wstring(L"ID\nName\nNotes\nAmount\nJoined\nActive"));
  Screenshot(ctx, "main-window");
  E2E_CHECK(s.Close());
}

E2E_CASE(MisspeltTableIsReportedOnEveryKeystroke) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  std::vector<MessageBoxInfo> boxes;
  s.Type(L"Edit_OldDatabaseTableName", L"Cx", &boxes);
  E2E_CHECK_EQ(boxes.size(), size_t{2});
  for (const MessageBoxInfo& b : boxes) {
    E2E_CHECK_EQ(b.title, kTitle);
    E2E_CHECK(b.errorIcon);
    E2E_CHECK(!b.text.empty() && b.text.back() == L'.');
  }
  E2E_CHECK_EQ(s.GridCols(), 0);
  // Deleting the whole text by hand: the plain message, the grid as it was.
  boxes.clear();
  s.Type(L"Edit_OldDatabaseTableName", L"\b\b", &boxes);
  E2E_CHECK_EQ(boxes.size(), size_t{2});
  E2E_CHECK(boxes[0].errorIcon);
  E2E_CHECK_EQ(boxes[1].text, std::wstring(L"相关选项不能为空."));
  E2E_CHECK(!boxes[1].errorIcon);
  E2E_CHECK_EQ(boxes[1].title, kTitle);
  E2E_CHECK(s.Close());
}

E2E_CASE(ReportWithOneAndTwoKeyFields) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  s.Type(L"ComboBox_DB_Words", L"Name");
  s.Click(L"Button3");
  E2E_CHECK(!s.WaitIdleOrBox());
  E2E_CHECK_EQ(s.GridRows(), 4);
  E2E_CHECK_EQ(s.GridCols(), 2);
  E2E_CHECK_EQ(s.Panel(1), std::wstring(L"Name字段4条重复信息"));
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共11条信息"));
  s.Type(L"ComboBox_DB_Words", L",Active");
  s.Click(L"Button3");
  E2E_CHECK_EQ(s.GridCols(), 3);
  E2E_CHECK_EQ(s.Panel(1), std::wstring(L"Name,Active字段4条重复信息"));
  // Keys on which every record differs: an empty report.
  s.Type(L"ComboBox_DB_Words", L"\b\b\b\b\b\bID");
  s.Click(L"Button3");
  E2E_CHECK_EQ(s.GridRows(), 0);
  E2E_CHECK_EQ(s.Panel(1), std::wstring(L"Name,ID字段0条重复信息"));
  // A misspelt key field: the engine's error.
  s.Type(L"ComboBox_DB_Words", L"\b\b\b\b\b\b\bNmae");
  PostMessageW(s.Control(L"Button3"), BM_CLICK, 0, 0);
  ExpectErrorReport(s);
  E2E_CHECK(s.Close());
}

E2E_CASE(DedupeInputsMustAllBeGiven) {
  Session s(ctx.app, ctx.work);
  for (const wchar_t* b : {L"Button3", L"Button9", L"Button10"}) {
    PostMessageW(s.Control(b), BM_CLICK, 0, 0);
    ExpectBox(s, kTitle, L"请载入数据库文件或相关选项不可为空.");
    s.Answer(IDOK);
  }
  PostMessageW(s.Control(L"Button_Refresh"), BM_CLICK, 0, 0);
  ExpectBox(s, kTitle, L"请载入数据库文件.");
  s.Answer(IDOK);
  E2E_CHECK(s.Close());
}

E2E_CASE(ConsoleOpensASelectIntoTheGrid) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  // The initial text names no table.
  PostMessageW(s.Control(L"Button13"), BM_CLICK, 0, 0);
  ExpectErrorReport(s);
  s.SetMemoText(L"Memo_Sql", L"select Name, ID\r\nfrom [Customers] where ID < 4");
  s.Click(L"Button13");
  E2E_CHECK(!s.WaitIdleOrBox());
  E2E_CHECK_EQ(s.GridRows(), 3);
  E2E_CHECK_EQ(s.GridCols(), 2);
  E2E_CHECK_EQ(s.Cell(2, 1), std::wstring(L"3"));
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共3条信息"));
  E2E_CHECK_EQ(s.AskComponent(L"PageControl3", L"prop:ActivePage"), std::wstring(L"TabSheet3"));
  // An empty text is refused before anything runs.
  s.SetMemoText(L"Memo_Sql", L"");
  PostMessageW(s.Control(L"Button13"), BM_CLICK, 0, 0);
  ExpectBox(s, kTitle, L"没有语言可以执行.");
  s.Answer(IDOK);
  E2E_CHECK(s.Close());
}

E2E_CASE(AnsweringNoChangesNothing) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  s.Type(L"ComboBox_DB_Words", L"Name");
  for (const wchar_t* b : {L"Button9", L"Button10"}) {
    PostMessageW(s.Control(b), BM_CLICK, 0, 0);
    MessageBoxInfo box =
        ExpectBox(s, L"提示", L"真的要删除重复记录吗？(删除重复记录过程请耐心等待程序处理完.)");
    E2E_CHECK(box.yesNo);
    s.Answer(IDNO);
    E2E_CHECK(!s.WaitIdleOrBox());
  }
  s.Choose(L"Edit_OldDatabaseTableName", L"Tags");
  PostMessageW(s.Control(L"Button14"), BM_CLICK, 0, 0);
  ExpectBox(s, L"提示", L"真的要删除[Tags]表吗?");
  s.Answer(IDNO);
  E2E_CHECK(!s.WaitIdleOrBox());
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(RowCount(ctx.database, "Customers"), size_t{11});
  E2E_CHECK_EQ(RowCount(ctx.database, "Tags"), size_t{3});
}

E2E_CASE(NonUniqueIdIsRefused) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  s.Type(L"ComboBox_DB_Words", L"Name");
  s.Type(L"ComboBox_ID", L"\b\bActive");
  PostMessageW(s.Control(L"Button9"), BM_CLICK, 0, 0);
  ExpectBox(s, kTitle, L"编号字段 Active 有重复的值，不能用来区分重复记录，没有删除任何记录.");
  s.Answer(IDOK);
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(RowCount(ctx.database, "Customers"), size_t{11});
}

E2E_CASE(KeepLowestLeavesTheLowestIdOfEachGroup) {
  Session s(ctx.app, ctx.work);
  DeleteDuplicatesByName(s, ctx, L"Button9");
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共5条信息"));
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(Join(ColumnTexts(ctx.database, "select ID from [Customers] order by ID", 0)),
               std::wstring(L"1,4,7,9,11"));
}

E2E_CASE(KeepHighestLeavesTheHighestIdOfEachGroup) {
  Session s(ctx.app, ctx.work);
  DeleteDuplicatesByName(s, ctx, L"Button10");
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(Join(ColumnTexts(ctx.database, "select ID from [Customers] order by ID", 0)),
               std::wstring(L"5,6,8,10,11"));
}

E2E_CASE(KeylessRebuildKeepsDistinctRows) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  s.Choose(L"Edit_OldDatabaseTableName", L"Tags");
  PostMessageW(s.Control(L"Button12"), BM_CLICK, 0, 0);
  ExpectWriteReport(s, L"新数据库表去重完毕.");
  E2E_CHECK_EQ(s.GridRows(), 2);
  E2E_CHECK_EQ(s.Panel(0), std::wstring(L"共2条信息"));
  E2E_CHECK_EQ(s.Text(L"Edit_OldDatabaseTableName"), std::wstring());
  E2E_CHECK_EQ(s.AskComponent(L"Button12", L"enabled"), std::wstring(L"1"));
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(RowCount(ctx.database, "Tags"), size_t{2});
  auto tables = TableNames(ctx.database);
  E2E_CHECK(std::find(tables.begin(), tables.end(), "Tags_new") == tables.end());
}

E2E_CASE(KeylessRebuildWithALeftoverSideTableChangesNothing) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  s.SetMemoText(L"Memo_Sql", L"select * into [Tags_new] from [Tags]");
  PostMessageW(s.Control(L"Button13"), BM_CLICK, 0, 0);
  ExpectWriteReport(s, L"语句执行完毕，影响了3条记录.");
  s.Click(L"Button_RefreshesTtable");
  s.Choose(L"Edit_OldDatabaseTableName", L"Tags");
  PostMessageW(s.Control(L"Button12"), BM_CLICK, 0, 0);
  ExpectErrorReport(s);
  E2E_CHECK_EQ(s.AskComponent(L"Button12", L"enabled"), std::wstring(L"1"));
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(RowCount(ctx.database, "Tags"), size_t{3});
  E2E_CHECK_EQ(RowCount(ctx.database, "Tags_new"), size_t{3});
}

E2E_CASE(DropTableAsksThenDrops) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  PostMessageW(s.Control(L"Button14"), BM_CLICK, 0, 0);
  ExpectBox(s, kTitle, L"请选择要删除的数据库表.");
  s.Answer(IDOK);
  s.Choose(L"Edit_OldDatabaseTableName", L"Tags");
  PostMessageW(s.Control(L"Button14"), BM_CLICK, 0, 0);
  ExpectBox(s, L"提示", L"真的要删除[Tags]表吗?");
  s.Answer(IDYES);
  ExpectWriteReport(s, L"数据库[Tags]表删除完成.");
  std::vector<std::wstring> items = Lines(s.Ask(s.Control(L"Edit_OldDatabaseTableName"), L"items"));
  E2E_CHECK(std::find(items.begin(), items.end(), L"Tags") == items.end());
  E2E_CHECK_EQ(s.GridCols(), 0);  // the grid showed Tags and was closed first
  E2E_CHECK(s.Close());
  auto tables = TableNames(ctx.database);
  E2E_CHECK(std::find(tables.begin(), tables.end(), "Tags") == tables.end());
}

E2E_CASE(BackupTableTwiceFailsTheSecondTime) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  s.Choose(L"Edit_OldDatabaseTableName", L"Tags");
  PostMessageW(s.Control(L"Button15"), BM_CLICK, 0, 0);
  ExpectWriteReport(s, L"Tags表备份成功.");
  s.Choose(L"Edit_OldDatabaseTableName", L"Tags");
  PostMessageW(s.Control(L"Button15"), BM_CLICK, 0, 0);
  ExpectErrorReport(s);
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(RowCount(ctx.database, "Tags_Bak"), size_t{3});
}

E2E_CASE(ConsoleUpdateTellsTheRecordsAffected) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  s.SetMemoText(L"Memo_Sql", L"update [Customers] set Name = 'Dave2' where ID = 11");
  PostMessageW(s.Control(L"Button13"), BM_CLICK, 0, 0);
  ExpectWriteReport(s, L"语句执行完毕，影响了1条记录.");
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(Join(ColumnTexts(ctx.database, "select Name from [Customers] where ID = 11", 0)),
               std::wstring(L"Dave2"));
}

E2E_CASE(GridCellEditIsWrittenBackOrRestored) {
  Session s(ctx.app, ctx.work);
  OpenDatabase(s, ctx);
  ChooseCustomers(s);
  HWND grid = s.Control(L"DBGrid1");
  auto edit = [&](int row, int col, const std::wstring& text) {
    std::wstring rect = s.Ask(grid, L"cellrect:" + std::to_wstring(row) + L":" + std::to_wstring(col));
    int l = 0, t = 0, r = 0, b = 0;
    swscanf(rect.c_str(), L"%d,%d,%d,%d", &l, &t, &r, &b);
    PostMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM((l + r) / 2, (t + b) / 2));
    s.WaitIdleOrBox();
    HWND editor = s.Control(L"DBGrid1Editor");
    E2E_CHECK(editor != nullptr);
    SendMessageTimeoutW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000,
                        nullptr);
    PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
  };
  // A text that is not a number cannot go into the Long column: reported, the cell shows its value again.
  edit(10, 0, L"abc");
  ExpectErrorReport(s);
  E2E_CHECK_EQ(s.Cell(10, 0), std::wstring(L"11"));
  edit(10, 1, L"Dave2");
  if (auto box = s.WaitIdleOrBox()) {
    SkipIfWritesRefused(*box);
    throw Failure("unexpected message: " + Narrow(box->text));
  }
  E2E_CHECK_EQ(s.Cell(10, 1), std::wstring(L"Dave2"));
  E2E_CHECK(s.Close());
  E2E_CHECK_EQ(Join(ColumnTexts(ctx.database, "select Name from [Customers] where ID = 11", 0)),
               std::wstring(L"Dave2"));
}

E2E_CASE(WebLinksOpenTheirAddresses) {
  Session s(ctx.app, ctx.work);
  std::wstring urls = ctx.runRoot + L"\\..\\prefix-urls.txt";
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring record = std::wstring(exe).substr(0, std::wstring(exe).find_last_of(L"\\") + 1) + L"urls.txt";
  DeleteFileW(record.c_str());
  // The about page, then a click on the web site's label.
  s.PressKey(s.Control(L"PageControl2"), VK_RIGHT);
  E2E_CHECK_EQ(s.AskComponent(L"PageControl2", L"prop:ActivePage"), std::wstring(L"TabSheet5"));
  Screenshot(ctx, "about-page");
  int x = _wtoi(s.AskComponent(L"Label2", L"prop:Left").c_str()) + 5;
  int y = _wtoi(s.AskComponent(L"Label2", L"prop:Top").c_str()) + 5;
  s.ClickAt(s.Control(L"GroupBox2"), x, y);
  s.MenuCommand(L"N4");
  s.MenuCommand(L"N5");
  s.MenuCommand(L"N6");
  std::vector<std::string> seen;
  for (int i = 0; i < 100 && seen.size() < 3; ++i) {
    Sleep(100);
    seen.clear();
    std::ifstream in(Narrow(record));
    for (std::string line; std::getline(in, line);) seen.push_back(line);
  }
  E2E_CHECK_EQ(seen.size(), size_t{3});
  std::sort(seen.begin(), seen.end());
  E2E_CHECK_EQ(seen[0], std::string("https://quellmark.app/?ref=Vantorel1.02 20000101"));
  E2E_CHECK_EQ(seen[1], std::string("https://vantorel.com/?ref=Vantorel1.02 20000101"));
  E2E_CHECK_EQ(seen[2], std::string("https://vantorel.com/?ref=Vantorel1.02 20000101"));
  E2E_CHECK(s.Close());
}

E2E_CASE(ClosingDeletesTempTxtBesideTheProgram) {
  std::wstring temp = ctx.app.substr(0, ctx.app.find_last_of(L"\\") + 1) + L"temp.txt";
  {
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    Session s(ctx.app, ctx.work);
    s.MenuCommand(L"N2");
    E2E_CHECK(s.Exited(10000));
  }
  E2E_CHECK(GetFileAttributesW(temp.c_str()) == INVALID_FILE_ATTRIBUTES);
  // Without the file the close button ends the program silently.
  Session s(ctx.app, ctx.work);
  E2E_CHECK(s.Close());
}

}  // namespace e2e

namespace e2e {

E2E_CASE(KeyboardMovesFocusInTabOrderAndAnswersDialogs) {
  Session s(ctx.app, ctx.work);
  auto focused = [&](const wchar_t* name) { return s.Ask(s.Control(name), L"focused") == L"1"; };
  // Focus starts on the first control of the tab order and Tab follows the definition's order.
  E2E_CHECK(focused(L"Edit_MDBPath"));
  s.PressKey(s.Control(L"Edit_MDBPath"), VK_TAB);
  E2E_CHECK(focused(L"Button11"));
  s.PressKey(s.Control(L"Button11"), VK_TAB);
  E2E_CHECK(focused(L"Edit_OldDatabaseTableName"));
  s.PressKey(FindWindowExW(s.Control(L"Edit_OldDatabaseTableName"), nullptr, L"Edit", nullptr), VK_TAB);
  E2E_CHECK(focused(L"Button_RefreshesTtable"));
  // Space presses the focused button: the open dialog, which Esc dismisses.
  s.PressKey(s.Control(L"Button_RefreshesTtable"), VK_TAB);
  s.PressKey(s.Control(L"Button14"), VK_TAB);
  s.PressKey(s.Control(L"Button15"), VK_TAB);
  E2E_CHECK(focused(L"Memo_Sql"));
  HWND open = s.Control(L"Button11");
  PostMessageW(open, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageW(open, WM_KEYUP, VK_SPACE, 0xC0000001);
  std::optional<MessageBoxInfo> dlg;
  for (int i = 0; i < 100 && !dlg; ++i) {
    dlg = s.WaitIdleOrBox(2000);
    if (!dlg) Sleep(50);
  }
  E2E_CHECK(dlg.has_value());
  HWND focus = nullptr;
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dlg->hwnd, nullptr), &gti)) focus = gti.hwndFocus;
  PostMessageW(focus ? focus : dlg->hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
  for (int i = 0; i < 100 && IsWindow(dlg->hwnd); ++i) Sleep(50);
  E2E_CHECK(!IsWindow(dlg->hwnd));
  E2E_CHECK_EQ(s.Text(L"Edit_MDBPath"), std::wstring());
  // Enter takes a message box's default button.
  PostMessageW(s.Control(L"Button3"), BM_CLICK, 0, 0);
  MessageBoxInfo box = ExpectBox(s, kTitle, L"请载入数据库文件或相关选项不可为空.");
  focus = nullptr;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(box.hwnd, nullptr), &gti)) focus = gti.hwndFocus;
  PostMessageW(focus ? focus : box.hwnd, WM_KEYDOWN, VK_RETURN, 1);
  for (int i = 0; i < 100 && IsWindow(box.hwnd); ++i) Sleep(50);
  E2E_CHECK(!IsWindow(box.hwnd));
  E2E_CHECK(s.Close());
}

}  // namespace e2e
