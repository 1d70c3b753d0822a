#include "ui/entry_editors_qt.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include "elements/tlv_array.h"
#include "ui/controls/image_list.h"
#include "ui/folder_editor.h"
#include "ui/note_editor.h"

namespace {

// Calls its action at each left click on the object it watches.
class ClickFilter final : public QObject {
 public:
  ClickFilter(QObject* parent, std::function<void()> on_click)
      : QObject(parent), on_click_(std::move(on_click)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      on_click_();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> on_click_;
};

bool IsChildOfItsParent(const CKTLVARRAY& entry) {
  const CKTLVARRAY* parent = entry.GetParent();
  return parent != nullptr && parent->GetChildren().Find(const_cast<CKTLVARRAY*>(&entry)) >= 0;
}

}  // namespace

CKQtEntryEditors::CKQtEntryEditors() : previous_(platform::InstallEditors(this)) {}

CKQtEntryEditors::~CKQtEntryEditors() {
  platform::InstallEditors(previous_);
}

bool CKQtEntryEditors::EditFolder(CKTLVARRAY& folder) {
  CKFolderDlg dialog(folder, editors::OwnerWindow());
  return dialog.DoModal() == CKDialog::kIdOk;
}

bool CKQtEntryEditors::EditNote(CKTLVARRAY& note) {
  CKNoteDlg dialog(note, editors::OwnerWindow());
  const bool confirmed = dialog.DoModal() == CKDialog::kIdOk;
  // A new note is not among its folder's children yet: cancelled, it goes with its files.
  return confirmed || (dialog.AttachmentsChanged() && IsChildOfItsParent(note));
}

namespace editors {

QWidget* OwnerWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) {
    return modal;
  }
  return QApplication::activeWindow();
}

void MakeClickable(QLabel* icon, std::function<void()> on_click) {
  if (icon == nullptr) {
    return;
  }
  icon->setCursor(Qt::PointingHandCursor);
  icon->installEventFilter(new ClickFilter(icon, std::move(on_click)));
}

void ShowImage(QLabel* icon, std::uint32_t index) {
  if (icon == nullptr) {
    return;
  }
  icon->setAlignment(Qt::AlignCenter);
  const CKImageList* images = CKImageList::Shared();
  if (images == nullptr) {
    icon->clear();
    return;
  }
  const QSize size = images->GetImageSize();
  icon->setPixmap(images->GetIcon(static_cast<int>(index)).pixmap(size));
}

}  // namespace editors
