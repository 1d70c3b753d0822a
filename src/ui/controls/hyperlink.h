#pragma once

#include <QLabel>
#include <QString>

// A text that opens a link (a web page or an e-mail address) in the desktop's program for it.
class CHyperLink : public QLabel {
  Q_OBJECT

 public:
  explicit CHyperLink(QWidget* parent = nullptr);

  // The text shown, and the address it opens; the address is shown when the text is empty.
  void SetLink(const QString& text, const QString& url);
  const QString& GetUrl() const { return url_; }

 private:
  QString url_;
};
