#include "ui/controls/hyperlink.h"

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::RichText);
  setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  setOpenExternalLinks(true);
}

void CHyperLink::SetLink(const QString& text, const QString& url) {
  url_ = url;
  const QString shown = text.isEmpty() ? url : text;
  setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), shown.toHtmlEscaped()));
  setToolTip(url);
}
