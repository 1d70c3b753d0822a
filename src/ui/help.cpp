#include "ui/help.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "platform/program_folder.h"

namespace help {

QString PagePath(const QString& page) {
  const QDir folder(QString::fromStdU16String(platform::ProgramFolder()));
  return folder.filePath(QStringLiteral("html/") + page + QStringLiteral(".html"));
}

bool ShowPage(const QString& page) {
  const QFileInfo file(PagePath(page));
  if (page.isEmpty() || !file.isFile()) {
    return false;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

}  // namespace help
