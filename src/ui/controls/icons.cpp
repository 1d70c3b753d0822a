#include "ui/controls/icons.h"

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

namespace {

QString ResourcePath(int id) {
  return QStringLiteral(":/icons/%1.svg").arg(id);
}

}  // namespace

namespace icons {

bool Exists(int id) {
  return QFile::exists(ResourcePath(id));
}

QIcon Load(int id) {
  return Exists(id) ? QIcon(ResourcePath(id)) : QIcon();
}

QSize NaturalSize(int id) {
  if (!Exists(id)) {
    return QSize();
  }
  const QSvgRenderer renderer(ResourcePath(id));
  return renderer.defaultSize();
}

QPixmap Pixmap(int id, int size) {
  const QIcon icon = Load(id);
  if (icon.isNull()) {
    return QPixmap();
  }
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  return icon.pixmap(QSize(size, size), ratio);
}

QImage GreyCopy(const QImage& image) {
  QImage grey = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb pixel = line[x];
      // Computed on the colour as stored, so that a half-transparent edge keeps its shade.
      const int value =
          static_cast<int>(0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel));
      line[x] = qRgba(value, value, value, qAlpha(pixel));
    }
  }
  return grey;
}

}  // namespace icons
