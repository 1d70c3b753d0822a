#include "updater/updater_dlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <optional>

#include "languages/text_ids.h"
#include "platform/choosers.h"
#include "ui/controls/rich_edit.h"
#include "updater_fixture.h"

namespace {

using Answer = std::optional<std::optional<std::u16string>>;  // outer: was done called

class UpdaterDlgTest : public test::UpdaterFixture {
 protected:
  // Offers the dialog as a check does; the answer lands in answer_.
  CKUpdaterDlg* Offer() {
    CKUpdaterDlg::Offer(interface_, system_, run_time_, languages_,
                        NotesBlock("{\\rtf1 \\b New\\b0  in this build\\par}"), &context_,
                        [this](std::optional<std::u16string> folder) { answer_ = folder; });
    return OpenDialog();
  }

  static void Click(CKUpdaterDlg* dialog, int id) {
    auto* button = dialog->Item<QAbstractButton>(id);
    ASSERT_NE(button, nullptr);
    button->click();
  }

  static void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  QObject context_;
  Answer answer_;
};

// Answers the folder chooser with one folder.
class ChosenFolder final : public platform::Choosers {
 public:
  explicit ChosenFolder(std::u16string folder)
      : folder_(std::move(folder)), previous_(platform::InstallChoosers(this)) {}
  ~ChosenFolder() override { platform::InstallChoosers(previous_); }
  bool ChooseFolder(platform::ParentWindow, std::u16string& folder) override {
    folder = folder_;
    return true;
  }
  bool ChooseOpenFile(platform::ParentWindow, const std::vector<platform::FileFilter>&,
                      std::u16string&) override {
    return false;
  }
  bool ChooseSaveFile(platform::ParentWindow, const platform::SaveFileOptions&,
                      std::u16string&) override {
    return false;
  }

 private:
  std::u16string folder_;
  platform::Choosers* previous_;
};

TEST_F(UpdaterDlgTest, TheFolderIsTheStoredOneElseDocumentsElseHome) {
  auto folder_shown = [this] {
    CKUpdaterDlg dialog(interface_, system_, run_time_, languages_, QByteArray());
    dialog.OnInitDialog();
    return dialog.Item<QLineEdit>(CKUpdaterDlg::kFolder)->text();
  };
  EXPECT_EQ(folder_shown(), QDir::homePath());
  run_time_.m_csDocumentsFolder = u"/home/a/Documents/";
  EXPECT_EQ(folder_shown(), QStringLiteral("/home/a/Documents/"));
  system_.m_csUpdateSavePath = u"/srv/downloads";
  EXPECT_EQ(folder_shown(), QStringLiteral("/srv/downloads"));
}

TEST_F(UpdaterDlgTest, ShowsTheNotesAndDownloadAndCloseStoreTheFolderAndTheCheckBox) {
  CKUpdaterDlg* dialog = Offer();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), QString::fromStdU16String(Text(texts::kUpdTitle)));
  EXPECT_EQ(dialog->Item<QAbstractButton>(CKDialog::kIdOk)->text(),
            QString::fromStdU16String(Text(texts::kUpdDownloadButton)));
  EXPECT_EQ(dialog->Item<CKRichEditCtrl>(CKUpdaterDlg::kNotes)->toPlainText(),
            QStringLiteral("New in this build"));
  EXPECT_EQ(dialog->Item<QLineEdit>(CKUpdaterDlg::kFolder)->maxLength(), 250);
  EXPECT_EQ(QString::fromStdU16String(interface_.m_csFontDescription), dialog->font().toString());
  EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
  const QPointer<CKUpdaterDlg> guard(dialog);
  {
    ChosenFolder chooser(u"/srv/chosen");
    Click(dialog, CKUpdaterDlg::kBrowse);
  }
  EXPECT_EQ(dialog->Item<QLineEdit>(CKUpdaterDlg::kFolder)->text(), QStringLiteral("/srv/chosen"));
  dialog->Item<QCheckBox>(CKUpdaterDlg::kCheckForUpdates)->setChecked(false);
  Click(dialog, CKDialog::kIdOk);
  EXPECT_EQ(answer_, Answer(std::u16string(u"/srv/chosen")));
  EXPECT_EQ(system_.m_csUpdateSavePath, u"/srv/chosen");
  EXPECT_FALSE(interface_.m_boolCheckForUpdates);
  // The notice of message 0.41, with 64 MB.
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_NE(messages_.Texts()[0].find("64"), std::string::npos) << messages_.Texts()[0];
  DeleteLater();
  EXPECT_TRUE(guard.isNull());

  // Close stores the same two settings and gives no folder; so does the close box.
  for (const bool close_box : {false, true}) {
    answer_.reset();
    dialog = Offer();
    ASSERT_NE(dialog, nullptr);
    dialog->Item<QLineEdit>(CKUpdaterDlg::kFolder)->setText(QStringLiteral("/srv/other"));
    dialog->Item<QCheckBox>(CKUpdaterDlg::kCheckForUpdates)->setChecked(close_box);
    if (close_box) {
      dialog->close();
    } else {
      Click(dialog, CKDialog::kIdCancel);
    }
    EXPECT_EQ(answer_, Answer(std::in_place, std::nullopt));
    EXPECT_EQ(system_.m_csUpdateSavePath, u"/srv/other");
    EXPECT_EQ(interface_.m_boolCheckForUpdates, close_box);
    DeleteLater();
  }
  EXPECT_EQ(messages_.shown().size(), 1u);

  // An emptied folder downloads into the usual one and is not stored.
  run_time_.m_csDocumentsFolder = u"/home/a/Documents/";
  dialog = Offer();
  ASSERT_NE(dialog, nullptr);
  dialog->Item<QLineEdit>(CKUpdaterDlg::kFolder)->clear();
  Click(dialog, CKDialog::kIdOk);
  EXPECT_EQ(answer_, Answer(std::u16string(u"/home/a/Documents/")));
  EXPECT_EQ(system_.m_csUpdateSavePath, u"");
  DeleteLater();

  answer_.reset();
  dialog = Offer();
  ASSERT_NE(dialog, nullptr);
  delete dialog;  // gone without an answer, as when the program ends
  EXPECT_FALSE(answer_.has_value());
}

}  // namespace
