#include "ui/main_window_web.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QString>

namespace main_window {
namespace {

bool IsWebScheme(const QString& scheme) {
  return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
         scheme == QLatin1String("ftp");
}

}  // namespace

QUrl WebAddressUrl(std::u16string_view address) {
  const QString text =
      QString::fromUtf16(address.data(), static_cast<qsizetype>(address.size())).trimmed();
  if (text.isEmpty()) {
    return QUrl();
  }
  // "name:" that is not a port ("host:8080") names a scheme; without one the text is a host.
  static const QRegularExpression kScheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(?!\\d)"));
  const QRegularExpressionMatch scheme = kScheme.match(text);
  const QUrl url(scheme.hasMatch() ? text : QStringLiteral("http://") + text, QUrl::StrictMode);
  if (!url.isValid() || !IsWebScheme(url.scheme().toLower()) || url.host().isEmpty()) {
    return QUrl();
  }
  return url;
}

bool OpenWebAddress(std::u16string_view address) {
  const QUrl url = WebAddressUrl(address);
  return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace main_window
