#pragma once

#include <QIcon>
#include <QList>
#include <QSize>

// A list of small images addressed by index, as the entry lists and the folder combo box
// show them. The core builds the shared one at start-up and installs it here, so
// that the controls find it without knowing the core.
class CKImageList {
 public:
  CKImageList() = default;

  // Empties the list and fixes the size of its images.
  void Create(QSize size);
  // Appends an image; returns its index.
  int Add(const QIcon& icon);
  int GetImageCount() const { return static_cast<int>(images_.size()); }
  QSize GetImageSize() const { return size_; }
  // The image at the index; a null icon outside the list.
  QIcon GetIcon(int index) const;

  // The list the controls use; null until one is installed.
  static const CKImageList* Shared();
  // Installs a list (not owned) and returns the one it replaces.
  static const CKImageList* InstallShared(const CKImageList* list);

 private:
  QSize size_{16, 16};
  QList<QIcon> images_;
};
