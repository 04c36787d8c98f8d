#include "app/Unit1.h"

#include <shellapi.h>

#include <stdexcept>

#include "db/WebLinks.h"
#include "gui/Application.h"
#include "gui/Text.h"

using fw::TObject;

const fw::TClassInfo& TForm1::StaticClass() {
  static const fw::TClassInfo info{L"TForm1", &fw::TForm::StaticClass(), {}};
  return info;
}

TForm1::TForm1(fw::TComponent* owner) : fw::TForm(owner) {
  // The definition binds events to these names.
  struct Entry {
    const wchar_t* name;
    void (TForm1::*method)(TObject*);
  };
  static const Entry kHandlers[] = {
      {L"FormCreate", &TForm1::FormCreate},
      {L"FormClose", &TForm1::FormClose},
      {L"Label2Click", &TForm1::Label2Click},
      {L"N2Click", &TForm1::N2Click},
      {L"N4Click", &TForm1::N4Click},
      {L"N5Click", &TForm1::N5Click},
      {L"Button11Click", &TForm1::Button11Click},
      {L"Edit_MDBPathChange", &TForm1::Edit_MDBPathChange},
      {L"Button_GetDB_AllBiaoClick", &TForm1::Button_GetDB_AllBiaoClick},
      {L"Button_RefreshesTtableClick", &TForm1::Button_RefreshesTtableClick},
      {L"Edit_OldDatabaseTableNameChange", &TForm1::Edit_OldDatabaseTableNameChange},
      {L"Button_RefreshClick", &TForm1::Button_RefreshClick},
      {L"Button_GetZiDuanClick", &TForm1::Button_GetZiDuanClick},
      {L"Button3Click", &TForm1::Button3Click},
      {L"Button9Click", &TForm1::Button9Click},
      {L"Button10Click", &TForm1::Button10Click},
      {L"Button12Click", &TForm1::Button12Click},
      {L"Button13Click", &TForm1::Button13Click},
      {L"Button14Click", &TForm1::Button14Click},
      {L"Button15Click", &TForm1::Button15Click},
  };
  for (const Entry& e : kHandlers)
    RegisterMethod(e.name, [this, m = e.method](TObject* sender) { (this->*m)(sender); });

  LoadFromResource(L"TFORM1");
  Label_Ver = Find<fw::TLabel>(L"Label_Ver");
  Edit_MDBPath = Find<fw::TEdit>(L"Edit_MDBPath");
  Edit_SoftVer = Find<fw::TEdit>(L"Edit_SoftVer");
  Edit_OldDatabaseTableName = Find<fw::TComboBox>(L"Edit_OldDatabaseTableName");
  ComboBox_ID = Find<fw::TComboBox>(L"ComboBox_ID");
  ComboBox_DB_Words = Find<fw::TComboBox>(L"ComboBox_DB_Words");
  Memo_Sql = Find<fw::TMemo>(L"Memo_Sql");
  Button12 = Find<fw::TButton>(L"Button12");
  PageControl3 = Find<fw::TPageControl>(L"PageControl3");
  TabSheet3 = Find<fw::TTabSheet>(L"TabSheet3");
  StatusBar1 = Find<fw::TStatusBar>(L"StatusBar1");
  DBGrid1 = Find<fw::TDBGrid>(L"DBGrid1");
  OpenDialog1 = Find<fw::TOpenDialog>(L"OpenDialog1");
  DBGrid1->SetSource(&gridSource_);
  HandleNeeded();
  fw::RunEvent(OnCreate, this);
}

TForm1::~TForm1() {
  // The grid must stop reading the query before the query goes.
  DBGrid1->SetSource(nullptr);
}

template <class T>
T* TForm1::Find(const wchar_t* name) {
  fw::TComponent* c = FindComponent(name);
  if (!c || !c->Is(T::StaticClass()))
    throw std::runtime_error(fw::Utf8(L"窗口定义缺少控件 " + std::wstring(name)));
  return static_cast<T*>(c);
}

// ---------------------------------------------------------------- the window itself

void TForm1::FormCreate(TObject*) {
  Label_Ver->SetCaption(L"Ver:" + Edit_SoftVer->Text());
  SetCaption(L"Quellmark");
}

void TForm1::FormClose(TObject*) {
  // "temp.txt" beside the program goes with it; whether it was there does not matter.
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe, n);
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"temp.txt";
  DeleteFileW(path.c_str());
}

void TForm1::OpenAddress(const std::string& address) {
  ShellExecuteW(Handle(), nullptr, fw::Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::Label2Click(TObject*) {
  OpenAddress(qm::db::productSiteAddress(fw::Utf8(Edit_SoftVer->Text())));
}
void TForm1::N2Click(TObject*) {
  Close();
}
void TForm1::N4Click(TObject*) {
  OpenAddress(qm::db::makerHomeAddress(fw::Utf8(Edit_SoftVer->Text())));
}
void TForm1::N5Click(TObject*) {
  OpenAddress(qm::db::makerHomeAddress(fw::Utf8(Edit_SoftVer->Text())));
}

// ---------------------------------------------------------------- database handlers

void TForm1::Button11Click(TObject*) {
  workspace_.chooseDatabaseFile();
}
void TForm1::Edit_MDBPathChange(TObject*) {
  workspace_.openDatabase();
}
void TForm1::Button_GetDB_AllBiaoClick(TObject*) {
  workspace_.refreshTableList();
}
void TForm1::Button_RefreshesTtableClick(TObject* sender) {
  Button_GetDB_AllBiaoClick(sender);
}
void TForm1::Edit_OldDatabaseTableNameChange(TObject*) {
  workspace_.tableChanged();
}
void TForm1::Button_RefreshClick(TObject*) {
  workspace_.reloadGrid();
}
void TForm1::Button_GetZiDuanClick(TObject*) {
  workspace_.refreshFieldLists();
}
void TForm1::Button3Click(TObject*) {
  workspace_.duplicateReport();
}
void TForm1::Button9Click(TObject*) {
  workspace_.keepLowest();
}
void TForm1::Button10Click(TObject*) {
  workspace_.keepHighest();
}
void TForm1::Button12Click(TObject*) {
  workspace_.keylessRebuild();
}
void TForm1::Button13Click(TObject*) {
  workspace_.runSql();
}
void TForm1::Button14Click(TObject*) {
  workspace_.dropTable();
}
void TForm1::Button15Click(TObject*) {
  workspace_.backupTable();
}

// ---------------------------------------------------------------- the workspace's view

std::string TForm1::databasePath() const {
  return fw::Utf8(Edit_MDBPath->Text());
}
std::string TForm1::tableText() const {
  return fw::Utf8(Edit_OldDatabaseTableName->Text());
}
std::string TForm1::idFieldText() const {
  return fw::Utf8(ComboBox_ID->Text());
}
std::string TForm1::keyFieldsText() const {
  return fw::Utf8(ComboBox_DB_Words->Text());
}
std::string TForm1::sqlText() const {
  return fw::Utf8(Memo_Sql->Text());
}

std::optional<std::string> TForm1::chooseDatabaseFile() {
  if (!OpenDialog1->Execute(Handle())) return std::nullopt;
  return fw::Utf8(OpenDialog1->FileName());
}

void TForm1::setDatabasePath(const std::string& path) {
  Edit_MDBPath->SetCaption(fw::Wide(path));
}

void TForm1::setTableList(const std::vector<std::string>& names) {
  Edit_OldDatabaseTableName->Clear();
  for (const std::string& n : names) Edit_OldDatabaseTableName->AddItem(fw::Wide(n));
}

void TForm1::clearFieldChoosers() {
  ComboBox_DB_Words->Clear();
  ComboBox_ID->Clear();
}

void TForm1::setFieldChoosers(const std::string& idField, const std::vector<std::string>& keyFields) {
  ComboBox_ID->AddItem(fw::Wide(idField));
  ComboBox_ID->SetText(fw::Wide(idField));
  for (const std::string& f : keyFields) ComboBox_DB_Words->AddItem(fw::Wide(f));
}

void TForm1::gridChanged() {
  DBGrid1->DataChanged();
}

void TForm1::setGridColumnWidths(int pixels) {
  for (int i = 0; i < DBGrid1->ColumnCount(); ++i) DBGrid1->SetColumnWidth(i, pixels);
}

void TForm1::setStatus(int panel, const std::string& text) {
  StatusBar1->SetPanelText(panel, fw::Wide(text));
}

void TForm1::showSqlResultPage() {
  PageControl3->SetActivePage(TabSheet3);
}

void TForm1::setKeylessButtonEnabled(bool enabled) {
  Button12->SetEnabled(enabled);
}

void TForm1::showMessage(const std::string& text) {
  fw::Application->ShowMessage(fw::Wide(text));
}

int TForm1::confirm(const std::string& text, const std::string& title) {
  return fw::Application->MessageDlg(fw::Wide(text), fw::Wide(title), MB_YESNO);
}

void TForm1::processMessages() {
  fw::Application->ProcessMessages();
}
