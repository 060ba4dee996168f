#pragma once
// The dropped-file list: every drop on the main window becomes a drop record
// holding one file node per dropped file, in the order the platform reports
// them. The list owns its records, nodes and names.

#include <cstdint>
#include <memory>
#include <string>

struct FileNode {
  std::string name;  // the full path as the platform reports it
  int32_t x = 0;     // the drop point in client coordinates
  int32_t y = 0;
  int32_t inClient = 0;  // non-zero when the point lies in the client area
  std::unique_ptr<FileNode> next;
};

struct DropRecord {
  std::unique_ptr<DropRecord> next;
  std::unique_ptr<FileNode> files;
};

// What a drop tells about its files; the window reads it from the drop handle.
class DropSource {
 public:
  virtual ~DropSource() = default;
  virtual uint32_t FileCount() = 0;
  // The name of file `index`; false when the platform gives none.
  virtual bool FileName(uint32_t index, std::string* name) = 0;
  // The drop point and whether it lies in the client area.
  virtual int32_t DropPoint(int32_t* x, int32_t* y) = 0;
};

class DropList {
 public:
  DropList() = default;
  ~DropList() { Free(); }
  DropList(const DropList&) = delete;
  DropList& operator=(const DropList&) = delete;

  // Reads every file of a drop into a new record at the end of the list. When
  // memory runs out the record is dropped whole: the list never holds part
  // of a drop.
  void ReadDrop(DropSource& source);
  void Append(std::unique_ptr<DropRecord> record);
  // Releases every record, node and name; the list is empty afterwards.
  void Free();

  const DropRecord* First() const { return first_.get(); }
  // The name of the first file of the first drop; nullptr when there is none.
  const char* FirstDroppedName() const;

 private:
  std::unique_ptr<DropRecord> first_;
};

// Releases a chain of records one after another (a long chain would otherwise
// be released by nested destructor calls).
void FreeDropList(std::unique_ptr<DropRecord> first);
