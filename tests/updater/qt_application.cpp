// The updater's tests use Qt's event loops and widgets: one application object for the whole
// test program (the tests run with QT_QPA_PLATFORM=offscreen).
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtApplication final : public ::testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "test_updater";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
