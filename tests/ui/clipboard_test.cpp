#include "ui/clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

TEST(Clipboard, CopiedTextIsMarkedSecretAndEmptyTextLeavesTheClipboardEmpty) {
  ASSERT_TRUE(clipboard::PutClipboardText(QStringLiteral("s3cret")));
  ASSERT_TRUE(clipboard::ClipboardHasText());
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(data->text(), QStringLiteral("s3cret"));
  EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));

  EXPECT_FALSE(clipboard::PutClipboardText(QString()));
  EXPECT_FALSE(clipboard::ClipboardHasText());

  clipboard::PutClipboardText(QStringLiteral("again"));
  EXPECT_TRUE(clipboard::ClearClipboard());
  EXPECT_FALSE(clipboard::ClipboardHasText());
}

}  // namespace
