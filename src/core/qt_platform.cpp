#include "core/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>

#include "core/qsettings_profile_store.h"
#include "platform/profile_store.h"

namespace qtplatform {
namespace {

QString ToQString(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

QMessageBox::Icon BoxIcon(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Information:
      return QMessageBox::Information;
    case platform::MessageIcon::Warning:
      return QMessageBox::Warning;
    case platform::MessageIcon::Error:
      return QMessageBox::Critical;
    case platform::MessageIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QWidget* OwnerWindow(platform::ParentWindow parent) {
  if (parent != nullptr) {
    return static_cast<QWidget*>(parent);
  }
  return QApplication::activeWindow();
}

void CKQtMessages::ShowMessage(const std::u16string& text, platform::MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), QString::fromUtf16(kProgramName), ToQString(text), QMessageBox::Ok,
                  OwnerWindow(nullptr));
  box.exec();
}

bool CKQtMessages::Ask(const std::u16string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf16(kProgramName), ToQString(text),
                  QMessageBox::Yes | QMessageBox::No, OwnerWindow(nullptr));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

bool CKQtChoosers::ChooseFolder(platform::ParentWindow parent, std::u16string& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(OwnerWindow(parent), QString());
  if (chosen.isEmpty()) {
    return false;
  }
  folder = chosen.toStdU16String();
  return true;
}

bool CKQtChoosers::ChooseOpenFile(platform::ParentWindow parent,
                                  const std::vector<platform::FileFilter>& filters,
                                  std::u16string& path) {
  const QString chosen = QFileDialog::getOpenFileName(OwnerWindow(parent), QString(), QString(),
                                                      FilterString(filters));
  if (chosen.isEmpty()) {
    return false;
  }
  path = chosen.toStdU16String();
  return true;
}

bool CKQtChoosers::ChooseSaveFile(platform::ParentWindow parent,
                                  const platform::SaveFileOptions& options, std::u16string& path) {
  QFileDialog::Options flags;
  if (!options.confirm_overwrite) {
    flags |= QFileDialog::DontConfirmOverwrite;
  }
  const QString chosen = QFileDialog::getSaveFileName(
      OwnerWindow(parent), ToQString(options.title), ToQString(options.initial_name),
      FilterString(options.filters), nullptr, flags);
  if (chosen.isEmpty()) {
    return false;
  }
  path = chosen.toStdU16String();
  return true;
}

std::optional<platform::PointerPosition> CKQtPointer::CurrentPosition() const {
  if (qGuiApp == nullptr) {
    return std::nullopt;
  }
  const QPoint position = QCursor::pos();
  return platform::PointerPosition{position.x(), position.y()};
}

bool CKQtTrayProbe::IsTrayAvailable() const {
  return qApp != nullptr && QSystemTrayIcon::isSystemTrayAvailable();
}

QString FilterString(const std::vector<platform::FileFilter>& filters) {
  QStringList parts;
  for (const platform::FileFilter& filter : filters) {
    const QString name = ToQString(filter.name);
    QString patterns = ToQString(filter.pattern);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // A name that already shows its patterns ("Users (*.VaultQuill)") keeps its own words.
    if (name.endsWith(QLatin1Char(')')) && name.contains(QLatin1Char('('))) {
      const qsizetype open = name.lastIndexOf(QLatin1Char('('));
      parts.append(name.left(open).trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    } else {
      parts.append(name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
  }
  return parts.join(QStringLiteral(";;"));
}

}  // namespace qtplatform

CKQtPlatform::CKQtPlatform()
    : profile_(std::make_unique<QSettingsProfileStore>()),
      previous_messages_(platform::InstallMessages(&messages_)),
      previous_choosers_(platform::InstallChoosers(&choosers_)),
      previous_pointer_(platform::InstallPointer(&pointer_)),
      previous_tray_(platform::InstallTrayProbe(&tray_)),
      previous_profile_(platform::InstallProfile(profile_.get())) {}

CKQtPlatform::~CKQtPlatform() {
  platform::InstallProfile(previous_profile_);
  platform::InstallTrayProbe(previous_tray_);
  platform::InstallPointer(previous_pointer_);
  platform::InstallChoosers(previous_choosers_);
  platform::InstallMessages(previous_messages_);
}
