#include "main_window_fixture.h"

#include <QTest>

#include "core/core.h"
#include "database/entries.h"
#include "elements/tags.h"
#include "platform/utf.h"
#include "support/dialog_driver.h"
#include "ui/controls/list_ctrl.h"

namespace test {

ScriptedEditors::ScriptedEditors() : previous_(platform::InstallEditors(this)) {}

ScriptedEditors::~ScriptedEditors() {
  platform::InstallEditors(previous_);
}

bool ScriptedEditors::Next(CKTLVARRAY& entry) {
  ++opened_;
  if (edits_.empty()) {
    return false;
  }
  const Edit edit = std::move(edits_.front());
  edits_.pop_front();
  return edit(entry);
}

ScriptedEditors::Edit Named(const std::u16string& name, const std::u16string& password) {
  return [name, password](CKTLVARRAY& entry) {
    entry.SetStringByTag(TAG_NAME, name.c_str());
    if (!password.empty()) {
      entry.SetStringByTag(TAG_PASSWORD, password.c_str());
    }
    return true;
  };
}

bool MainWindowTest::Run(const std::function<void(CVaultQuillDlg&)>& journey) {
  WhenRunning<CVaultQuillDlg>(journey);
  CVaultQuillDlg::Run(core());
  return core().m_SettingsRunTime.m_boolRelogin;
}

namespace {

std::u16string RowName(CKTLVARRAY& entry) {
  return entry.GetTag() == ENTRY_UP ? u"[up]" : database::GetName(entry);
}

}  // namespace

std::vector<std::string> Rows(CVaultQuillDlg& window) {
  std::vector<std::string> rows;
  for (int row = 0; row < window.List()->GetRowCount(); ++row) {
    rows.push_back(platform::ToUtf8(RowName(*window.List()->GetEntryAt(row))));
  }
  return rows;
}

QRect RowPlace(CVaultQuillDlg& window, const std::u16string& name) {
  CKListCtrl* list = window.List();
  for (int row = 0; row < list->GetRowCount(); ++row) {
    if (RowName(*list->GetEntryAt(row)) == name) {
      return list->visualRect(list->Model()->index(row, 0));
    }
  }
  ADD_FAILURE() << "no row " << platform::ToUtf8(name);
  return QRect();
}

void Select(CVaultQuillDlg& window, const std::u16string& name) {
  const QRect place = RowPlace(window, name);
  if (place.isValid()) {
    window.List()->selectRow(window.List()->rowAt(place.center().y()));
  }
}

void ClickRow(CVaultQuillDlg& window, const std::u16string& name, bool double_click) {
  const QRect place = RowPlace(window, name);
  QWidget* viewport = window.List()->viewport();
  // As the window system reports a double click: click, double click, release.
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, place.center());
  if (double_click) {
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, place.center());
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, place.center());
  }
}

void Press(CVaultQuillDlg& window, QKeyCombination key) {
  QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
  QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void Search(CVaultQuillDlg& window, const QString& text) {
  QWidget* box = window.GetDlgItem(CVaultQuillDlg::kSearch);
  box->setFocus();
  QTest::keyClicks(box, text);
}

}  // namespace test
