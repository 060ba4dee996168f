#include "shell/drop_list.h"

#include <new>

namespace {

void FreeFileNodes(std::unique_ptr<FileNode> node) {
  while (node != nullptr) node = std::move(node->next);
}

// The files of one drop, in the platform's order; nullptr when memory ran out.
std::unique_ptr<DropRecord> ReadRecord(DropSource& source) {
  std::unique_ptr<DropRecord> record(new (std::nothrow) DropRecord);
  if (record == nullptr) return nullptr;
  const uint32_t count = source.FileCount();
  std::unique_ptr<FileNode>* link = &record->files;
  for (uint32_t index = 0; index < count; ++index) {
    std::unique_ptr<FileNode> node(new (std::nothrow) FileNode);
    if (node == nullptr) return nullptr;
    // A name the platform does not give stays empty, and no command accepts it.
    source.FileName(index, &node->name);
    node->inClient = source.DropPoint(&node->x, &node->y);
    *link = std::move(node);
    link = &(*link)->next;
  }
  return record;
}

}  // namespace

void FreeDropList(std::unique_ptr<DropRecord> first) {
  while (first != nullptr) {
    FreeFileNodes(std::move(first->files));
    first = std::move(first->next);
  }
}

void DropList::ReadDrop(DropSource& source) {
  std::unique_ptr<DropRecord> record = ReadRecord(source);
  if (record != nullptr) Append(std::move(record));
}

void DropList::Append(std::unique_ptr<DropRecord> record) {
  std::unique_ptr<DropRecord>* link = &first_;
  while (*link != nullptr) link = &(*link)->next;
  *link = std::move(record);
}

void DropList::Free() { FreeDropList(std::move(first_)); }

const char* DropList::FirstDroppedName() const {
  if (first_ == nullptr || first_->files == nullptr) return nullptr;
  return first_->files->name.c_str();
}
