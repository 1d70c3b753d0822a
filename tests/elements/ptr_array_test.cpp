#include "elements/ptr_array.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Counted {
  explicit Counted(std::vector<int>& log, int id) : log_(log), id_(id) {}
  ~Counted() { log_.push_back(id_); }
  std::vector<int>& log_;
  int id_;
};

TEST(CKPtrArray, GrowthRule) {
  CKPtrArray<int*> array;
  array.SetCount(3);  // first storage: exactly what is asked for
  EXPECT_EQ(array.GetCapacity(), 3u);
  EXPECT_EQ(array[2], nullptr);
  array.Add(nullptr);  // count 3 / 8 = 0, at least 4
  EXPECT_EQ(array.GetCapacity(), 7u);
  array.SetCount(100);  // 7 + 4 is not enough: exactly 100
  EXPECT_EQ(array.GetCapacity(), 100u);
  array.Add(nullptr);  // 100 / 8 = 12
  EXPECT_EQ(array.GetCapacity(), 112u);
  array.SetCount(20000);
  array.Add(nullptr);  // bounded to 1,024
  EXPECT_EQ(array.GetCapacity(), 21024u);
  array.SetCount(0);
  EXPECT_EQ(array.GetCapacity(), 0u);

  CKPtrArray<int*> stepped;
  stepped.SetGrowBy(50);
  stepped.SetCount(1);
  stepped.Add(nullptr);
  EXPECT_EQ(stepped.GetCapacity(), 51u);
}

TEST(CKPtrArray, RemoveAtMovesTheRestDown) {
  int values[4] = {};
  CKPtrArray<int*> array;
  for (int& value : values) {
    array.Add(&value);
  }
  array.RemoveAt(1);
  array.RemoveAt(9);  // out of range: nothing
  ASSERT_EQ(array.GetCount(), 3u);
  EXPECT_EQ(array[0], &values[0]);
  EXPECT_EQ(array[1], &values[2]);
  EXPECT_EQ(array[2], &values[3]);
  EXPECT_EQ(array.Find(&values[3]), 2);
  EXPECT_EQ(array.Find(&values[1]), -1);
}

TEST(CKPtrAutoArray, DestroysItsElementsFirstToLast) {
  std::vector<int> log;
  {
    CKPtrAutoArray<Counted*> array;
    for (int i = 0; i < 4; ++i) {
      array.Add(new Counted(log, i));
    }
    array.DeleteAt(2);
    EXPECT_EQ(log, std::vector<int>{2});
  }
  EXPECT_EQ(log, (std::vector<int>{2, 0, 1, 3}));
}

}  // namespace
