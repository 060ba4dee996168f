// The dropped-file list: one record per drop with its files in order, the
// first name for the open command, and a complete release.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/drop_list.h"

namespace {

class FakeDrop : public DropSource {
 public:
  explicit FakeDrop(std::vector<std::string> names) : names_(std::move(names)) {}
  uint32_t FileCount() override { return static_cast<uint32_t>(names_.size()); }
  bool FileName(uint32_t index, std::string* name) override {
    if (names_[index].empty()) return false;
    *name = names_[index];
    return true;
  }
  int32_t DropPoint(int32_t* x, int32_t* y) override {
    *x = 12;
    *y = 34;
    return 1;
  }

 private:
  std::vector<std::string> names_;
};

std::vector<std::string> Names(const DropRecord* record) {
  std::vector<std::string> names;
  for (const FileNode* node = record->files.get(); node != nullptr; node = node->next.get())
    names.push_back(node->name);
  return names;
}

TEST(DropList, OneRecordPerDropWithItsFilesInOrder) {
  DropList list;
  EXPECT_EQ(list.FirstDroppedName(), nullptr);
  FakeDrop drop({"C:\\a.pmf", "C:\\b.bmp", "C:\\c.txt"});
  list.ReadDrop(drop);
  ASSERT_NE(list.First(), nullptr);
  EXPECT_EQ(list.First()->next, nullptr);
  EXPECT_EQ(Names(list.First()), (std::vector<std::string>{"C:\\a.pmf", "C:\\b.bmp", "C:\\c.txt"}));
  EXPECT_STREQ(list.FirstDroppedName(), "C:\\a.pmf");
  const FileNode& first = *list.First()->files;
  EXPECT_EQ(first.x, 12);
  EXPECT_EQ(first.y, 34);
  EXPECT_EQ(first.inClient, 1);
}

TEST(DropList, AFreedListTakesTheNextDropAsItsFirst) {
  DropList list;
  FakeDrop first({"C:\\old.pmf"});
  FakeDrop second({"C:\\new.pmf", "C:\\other.pmf"});
  list.ReadDrop(first);
  list.ReadDrop(second);  // without a release the new drop goes behind
  EXPECT_STREQ(list.FirstDroppedName(), "C:\\old.pmf");
  ASSERT_NE(list.First()->next, nullptr);
  EXPECT_EQ(Names(list.First()->next.get()).size(), 2u);
  list.Free();
  EXPECT_EQ(list.First(), nullptr);
  list.ReadDrop(second);
  EXPECT_STREQ(list.FirstDroppedName(), "C:\\new.pmf");
}

TEST(DropList, ANameThePlatformDoesNotGiveStaysEmptyAndAFilelessDropHasNoName) {
  DropList list;
  FakeDrop unreadable({""});
  list.ReadDrop(unreadable);
  EXPECT_STREQ(list.FirstDroppedName(), "");
  list.Free();
  FakeDrop empty({});
  list.ReadDrop(empty);
  ASSERT_NE(list.First(), nullptr);
  EXPECT_EQ(list.FirstDroppedName(), nullptr);
}

TEST(DropList, ALongChainIsReleasedWithoutDeepRecursion) {
  DropList list;
  std::vector<std::string> names(200000, "C:\\f.pmf");
  FakeDrop drop(names);
  list.ReadDrop(drop);
  list.Free();
  EXPECT_EQ(list.First(), nullptr);
}

}  // namespace
