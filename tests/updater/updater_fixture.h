#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <filesystem>

#include "languages/languages.h"
#include "languages/text_ids.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"
#include "settings/settings_system.h"
#include "support/recording_messages.h"
#include "updater/updater_dlg.h"

namespace test {

// The settings groups, the shipped English texts and recorded messages, as the updater finds
// them in the program.
class UpdaterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path languages_folder = VQ_LANGUAGES_DIR;
    ASSERT_TRUE(languages_.ScanFolder(languages_folder.parent_path().u16string() + u"/"));
    ASSERT_TRUE(languages_.Activate(u"English"));
  }

  std::u16string Text(TextId id) const {
    std::u16string text;
    languages_.GetText(id.group, id.entry, text);
    return text;
  }

  // The update dialog on the screen, if any.
  static CKUpdaterDlg* OpenDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<CKUpdaterDlg*>(window);
          dialog != nullptr && dialog->isVisible()) {
        return dialog;
      }
    }
    return nullptr;
  }

  // Release notes as the checker hands them over: a zero-filled block of 16 KiB.
  static QByteArray NotesBlock(const QByteArray& notes) {
    QByteArray block = notes;
    block.append(16384 - block.size(), '\0');
    return block;
  }

  CKSettingsRunTime run_time_;
  CKSettingsInterface interface_{run_time_};
  CKSettingsSystem system_;
  CKLanguages languages_;
  RecordingMessages messages_;
};

}  // namespace test
