#pragma once

#include <QUrl>
#include <cstdint>
#include <optional>
#include <string>

#include "updater/http_get.h"
#include "updater/memory_buffer.h"

// One update check, as it runs on the checker's own thread: read the build file, offer a new
// build with its release notes, download the installer and put it in place.
namespace updater {

// The maker's web server when the build names no other (VQ_UPDATE_SERVER in CMake).
QUrl DefaultServer();

// The fixed paths on the server.
QUrl BuildFileAddress(const QUrl& server);
QUrl ReleaseNotesAddress(const QUrl& server);
QUrl InstallerAddress(const QUrl& server);

// The release notes are read into a zero-filled block of this size.
inline constexpr std::uint32_t kReleaseNotesSize = 16384;

// One week in seconds; a check runs only when more time than this has passed since the last.
inline constexpr std::uint32_t kCheckInterval = 604800;

// Whether a check is due at now (seconds since 1970, cut to 32 bits) after the last one at
// last_check. The difference is taken as unsigned 32-bit, so a clock set back before the last
// check (and the wrap of the 32-bit time in 2106) makes a check due.
bool IsCheckDue(std::uint32_t now, std::uint32_t last_check);

// The installer's path in the folder (a separator added when the folder needs one) and the
// path it is downloaded to first: the installer's path and ".download".
struct KInstallerPaths {
  std::u16string installer;
  std::u16string download;
};
KInstallerPaths InstallerPaths(std::u16string folder, std::uint32_t build);

// What a check starts from: copies taken on the user-interface thread, so that the checker's
// thread never reads the settings.
struct KUpdateCheckInput {
  QUrl server;
  std::uint32_t own_build = 0;
  std::uint32_t offered_build = 0;  // the newest build offered before
  KHttpOptions http;
};

}  // namespace updater

// What a check needs from the user-interface thread. The check calls these on its own
// thread; an implementation does the work on the user-interface thread (see
// CKGuiThreadHost), where the settings, the messages and the windows live.
class CKUpdaterHost {
 public:
  virtual ~CKUpdaterHost() = default;
  // The server offers a build newer than every build offered before.
  virtual void RecordOfferedBuild(std::uint32_t build) = 0;
  // Shows the release notes and returns the folder the user chose for the download, or
  // nothing when the user closed the dialog (or the program is ending).
  virtual std::optional<std::u16string> OfferUpdate(const CKMemoryBuffer& notes) = 0;
  // Shows the file message for a failure of the download's file.
  virtual void ReportFileError(const std::u16string& path, int system_error) = 0;
  // Replaces the installer (when present) with the downloaded file; false after a file error,
  // which has been shown.
  virtual bool InstallDownload(const std::u16string& download, const std::u16string& installer) = 0;
  // Tells the user where the installer is and opens its folder when asked to.
  virtual void AnnounceInstaller(const std::u16string& installer) = 0;
};

namespace updater {

// The check, from the build file to the announced installer. Network failures, a build file
// other than five digits and a build offered before end it silently; a failed download
// removes what it wrote, so no installer and no partial file is left.
void RunUpdateCheck(const KUpdateCheckInput& input, CKUpdaterHost& host);

// Puts a downloaded installer in place: an installer already at the path is deleted, then the
// download is renamed to it. File errors are shown by the file functions; false after one.
// Runs on the user-interface thread.
bool InstallDownloadedFile(const std::u16string& download, const std::u16string& installer);

}  // namespace updater
