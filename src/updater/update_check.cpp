#include "updater/update_check.h"

#include <span>
#include <string>

#include "files/file.h"
#include "files/file_utils.h"
#include "updater/build_number.h"
#include "updater/http_reader.h"

#ifndef VQ_UPDATE_SERVER
#define VQ_UPDATE_SERVER "https://www.orlavo-software.example"
#endif

namespace updater {
namespace {

QUrl At(const QUrl& server, const char* path_and_query) {
  return server.resolved(QUrl(QString::fromLatin1(path_and_query)));
}

}  // namespace

QUrl DefaultServer() {
  return QUrl(QStringLiteral(VQ_UPDATE_SERVER));
}

QUrl BuildFileAddress(const QUrl& server) {
  return At(server, "/files/vaultquill.build");
}
QUrl ReleaseNotesAddress(const QUrl& server) {
  return At(server, "/files/vaultquill.info");
}
QUrl InstallerAddress(const QUrl& server) {
  return At(server, "/downloads/vaultquill.exe?event3=vaultquill20");
}

bool IsCheckDue(std::uint32_t now, std::uint32_t last_check) {
  return static_cast<std::uint32_t>(now - last_check) > kCheckInterval;
}

KInstallerPaths InstallerPaths(std::u16string folder, std::uint32_t build) {
  AddBackslash(folder);
  KInstallerPaths paths;
  paths.installer = folder + InstallerFileName(build);
  paths.download = paths.installer + u".download";
  return paths;
}

void RunUpdateCheck(const KUpdateCheckInput& input, CKUpdaterHost& host) {
  CKHTTPReader reader(input.http);
  if (!reader.GetBuffer().Allocate(kBuildFileReadSize)) {
    return;
  }
  const std::uint32_t got = reader.ReadToBuffer(BuildFileAddress(input.server));
  const auto build = ParseBuildNumber(std::span(reader.GetBuffer().GetData(), got));
  if (!build || !IsBuildToOffer(*build, input.own_build, input.offered_build)) {
    return;
  }
  // Whatever the user does now, this build is not offered again.
  host.RecordOfferedBuild(*build);

  if (!reader.GetBuffer().Allocate(kReleaseNotesSize)) {
    return;
  }
  reader.ReadToBuffer(ReleaseNotesAddress(input.server));  // nothing shown when it fails
  const std::optional<std::u16string> folder = host.OfferUpdate(reader.GetBuffer());
  reader.GetBuffer().Release();
  if (!folder) {
    return;
  }

  const KInstallerPaths paths = InstallerPaths(*folder, *build);
  CKHTTPReader downloader(input.http);
  KFileFailure failure;
  if (downloader.DownloadToFile(InstallerAddress(input.server), paths.download, &failure) == 0) {
    if (failure.error != 0) {
      host.ReportFileError(failure.path, failure.error);
    }
    return;
  }
  if (host.InstallDownload(paths.download, paths.installer)) {
    host.AnnounceInstaller(paths.installer);
  }
}

bool InstallDownloadedFile(const std::u16string& download, const std::u16string& installer) {
  try {
    if (FileExists(installer)) {
      DeleteFile(installer);
    }
    MoveFile(download, installer);
    return true;
  } catch (CKFile::ErrorExceptions) {
    return false;  // the file functions have shown their message
  }
}

}  // namespace updater
