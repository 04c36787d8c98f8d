// The main window: its controls come from the stored definition "TFORM1";
// its handlers are published by name for the definition to bind, and the
// database ones hand over to the workspace logic, for which this window is
// the view.
#pragma once

#include <memory>

#include "app/QueryGridSource.h"
#include "app/WinFiles.h"
#include "db/AdoPorts.h"
#include "db/LocalFiles.h"
#include "db/Workspace.h"
#include "gui/Button.h"
#include "gui/ComboBox.h"
#include "gui/DBGrid.h"
#include "gui/Edit.h"
#include "gui/Form.h"
#include "gui/Label.h"
#include "gui/Memo.h"
#include "gui/OpenDialog.h"
#include "gui/PageControl.h"
#include "gui/StatusBar.h"
#include "jet/ado/Connection.h"
#include "jet/ado/Query.h"

class TForm1 : public fw::TForm, public qm::db::WorkspaceView {
  FW_CLASS(TForm1)
 public:
  explicit TForm1(fw::TComponent* owner);
  ~TForm1() override;

  // Controls the handlers use, found by name once the definition is read.
  fw::TLabel* Label_Ver = nullptr;
  fw::TEdit* Edit_MDBPath = nullptr;
  fw::TEdit* Edit_SoftVer = nullptr;
  fw::TComboBox* Edit_OldDatabaseTableName = nullptr;
  fw::TComboBox* ComboBox_ID = nullptr;
  fw::TComboBox* ComboBox_DB_Words = nullptr;
  fw::TMemo* Memo_Sql = nullptr;
  fw::TButton* Button12 = nullptr;
  fw::TPageControl* PageControl3 = nullptr;
  fw::TTabSheet* TabSheet3 = nullptr;
  fw::TStatusBar* StatusBar1 = nullptr;
  fw::TDBGrid* DBGrid1 = nullptr;
  fw::TOpenDialog* OpenDialog1 = nullptr;

  // The data components, owned by the window for the program's life.
  jet::ado::Connection ADOConnection1;
  jet::ado::Query ADOQuery1{ADOConnection1};
  jet::ado::Query ADOQuery2{ADOConnection1};

  // Handlers.
  void FormCreate(fw::TObject* sender);
  void FormClose(fw::TObject* sender);
  void Label2Click(fw::TObject* sender);
  void N2Click(fw::TObject* sender);
  void N4Click(fw::TObject* sender);
  void N5Click(fw::TObject* sender);
  void Button11Click(fw::TObject* sender);
  void Edit_MDBPathChange(fw::TObject* sender);
  void Button_GetDB_AllBiaoClick(fw::TObject* sender);
  void Button_RefreshesTtableClick(fw::TObject* sender);
  void Edit_OldDatabaseTableNameChange(fw::TObject* sender);
  void Button_RefreshClick(fw::TObject* sender);
  void Button_GetZiDuanClick(fw::TObject* sender);
  void Button3Click(fw::TObject* sender);
  void Button9Click(fw::TObject* sender);
  void Button10Click(fw::TObject* sender);
  void Button12Click(fw::TObject* sender);
  void Button13Click(fw::TObject* sender);
  void Button14Click(fw::TObject* sender);
  void Button15Click(fw::TObject* sender);

  // qm::db::WorkspaceView
  std::string databasePath() const override;
  std::string tableText() const override;
  std::string idFieldText() const override;
  std::string keyFieldsText() const override;
  std::string sqlText() const override;
  std::optional<std::string> chooseDatabaseFile() override;
  void setDatabasePath(const std::string& path) override;
  void setTableList(const std::vector<std::string>& names) override;
  void clearFieldChoosers() override;
  void setFieldChoosers(const std::string& idField, const std::vector<std::string>& keyFields) override;
  void gridChanged() override;
  void setGridColumnWidths(int pixels) override;
  void setStatus(int panel, const std::string& text) override;
  void showSqlResultPage() override;
  void setKeylessButtonEnabled(bool enabled) override;
  void showMessage(const std::string& text) override;
  int confirm(const std::string& text, const std::string& title) override;
  void processMessages() override;

 private:
  template <class T>
  T* Find(const wchar_t* name);
  void OpenAddress(const std::string& address);

  QueryGridSource gridSource_{ADOQuery1};
  qm::db::AdoConnection connectionPort_{ADOConnection1};
  qm::db::AdoQuery gridPort_{ADOQuery1};
  qm::db::AdoQuery statementPort_{ADOQuery2};
  WinFiles files_;
  qm::db::LocalClock clock_;
  qm::db::Workspace workspace_{*this, connectionPort_, gridPort_, statementPort_, files_, clock_};
};
