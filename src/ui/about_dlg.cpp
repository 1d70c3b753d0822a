#include "ui/about_dlg.h"

#include <QFont>
#include <QLabel>
#include <QRegularExpression>

#include "core/core.h"
#include "languages/text_ids.h"
#include "ui/controls/hyperlink.h"
#include "ui/help.h"
#include "ui/version.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CKDialog(kTemplateId, parent) {}

bool CAboutDlg::OnInitDialog() {
  CKDialog::OnInitDialog();
  if (auto* label = Item<QLabel>(kVersion)) {
    label->setText(QString::fromLatin1(version::kVersionText));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
  }
  const QString site = QString::fromLatin1(version::kMakerSite);
  const QString product = QString::fromLatin1(version::kProductPage);
  const QString support = QString::fromLatin1(version::kSupportAddress);
  if (auto* link = Item<CHyperLink>(kProductLink)) {
    // Shown without the scheme and the query, which say nothing to the reader.
    QString shown = product.section(QLatin1Char('?'), 0, 0);
    shown.remove(QRegularExpression(QStringLiteral("^[a-z]+://")));
    link->SetLink(shown, product);
  }
  if (auto* link = Item<CHyperLink>(kMakerLink)) {
    link->SetLink(QString::fromLatin1(version::kMakerName), site);
  }
  if (auto* link = Item<CHyperLink>(kSupportLink)) {
    link->SetLink(support, QStringLiteral("mailto:") + support);
  }
  if (CKCore* core = TheCore()) {
    // The About item's text makes the title, without its ellipsis and access key.
    std::u16string text;
    if (core->m_Languages.GetText(texts::kMsgAboutMenuItem.group, texts::kMsgAboutMenuItem.entry,
                                  text)) {
      QString title = QString::fromStdU16String(text);
      title.remove(QLatin1Char('&'));
      while (title.endsWith(QLatin1Char('.')) || title.endsWith(QChar(0x2026))) {
        title.chop(1);
      }
      setWindowTitle(title.trimmed());
    }
    if (core->m_Languages.GetText(texts::kButtonOk.group, texts::kButtonOk.entry, text)) {
      if (auto* ok = GetDlgItem(kIdOk)) {
        ok->setProperty("text", QString::fromStdU16String(text));
      }
    }
  }
  if (windowTitle().isEmpty()) {
    setWindowTitle(QString::fromLatin1(version::kProgramName));
  }
  return true;
}

bool CAboutDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("about"));
}
