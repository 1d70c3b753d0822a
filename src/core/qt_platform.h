#pragma once

#include <QString>
#include <memory>

#include "platform/choosers.h"
#include "platform/messages.h"
#include "platform/pointer.h"
#include "platform/profile_store.h"
#include "platform/tray.h"

class QSettingsProfileStore;
class QWidget;

// The desktop's answers to what the lower layers ask of the platform: message boxes titled with
// the program's name, Yes/No questions, folder and file choosers, the pointer position, whether
// a tray is shown, and the settings store. A window handed to a chooser as its parent is a
// QWidget.
namespace qtplatform {

inline constexpr char16_t kProgramName[] = u"VaultQuill";

// The window a message box or chooser belongs to: the given one, else the window that has the
// focus.
QWidget* OwnerWindow(platform::ParentWindow parent);

class CKQtMessages final : public platform::MessageSink {
 public:
  void ShowMessage(const std::u16string& text, platform::MessageIcon icon) override;
  bool Ask(const std::u16string& text) override;
};

class CKQtChoosers final : public platform::Choosers {
 public:
  bool ChooseFolder(platform::ParentWindow parent, std::u16string& folder) override;
  bool ChooseOpenFile(platform::ParentWindow parent,
                      const std::vector<platform::FileFilter>& filters,
                      std::u16string& path) override;
  bool ChooseSaveFile(platform::ParentWindow parent, const platform::SaveFileOptions& options,
                      std::u16string& path) override;
};

class CKQtPointer final : public platform::PointerSource {
 public:
  std::optional<platform::PointerPosition> CurrentPosition() const override;
};

class CKQtTrayProbe final : public platform::TrayProbe {
 public:
  bool IsTrayAvailable() const override;
};

// A chooser's type list in Qt's form: "Name (*.a *.b);;...".
QString FilterString(const std::vector<platform::FileFilter>& filters);

}  // namespace qtplatform

// Installs all of the above (and the user's settings store) for its lifetime and puts back
// what was installed before.
class CKQtPlatform {
 public:
  CKQtPlatform();
  ~CKQtPlatform();
  CKQtPlatform(const CKQtPlatform&) = delete;
  CKQtPlatform& operator=(const CKQtPlatform&) = delete;

 private:
  qtplatform::CKQtMessages messages_;
  qtplatform::CKQtChoosers choosers_;
  qtplatform::CKQtPointer pointer_;
  qtplatform::CKQtTrayProbe tray_;
  std::unique_ptr<QSettingsProfileStore> profile_;

  platform::MessageSink* previous_messages_;
  platform::Choosers* previous_choosers_;
  const platform::PointerSource* previous_pointer_;
  const platform::TrayProbe* previous_tray_;
  platform::ProfileStore* previous_profile_;
};
