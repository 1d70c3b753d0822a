#include "ui/controls/image_list.h"

namespace {

const CKImageList* g_shared = nullptr;

}  // namespace

void CKImageList::Create(QSize size) {
  size_ = size;
  images_.clear();
}

int CKImageList::Add(const QIcon& icon) {
  images_.append(icon);
  return static_cast<int>(images_.size()) - 1;
}

QIcon CKImageList::GetIcon(int index) const {
  if (index < 0 || index >= images_.size()) {
    return QIcon();
  }
  return images_.at(index);
}

const CKImageList* CKImageList::Shared() {
  return g_shared;
}

const CKImageList* CKImageList::InstallShared(const CKImageList* list) {
  const CKImageList* previous = g_shared;
  g_shared = list;
  return previous;
}
