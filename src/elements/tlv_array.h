#pragma once

#include <cstdint>
#include <string>

#include "elements/ptr_array.h"
#include "elements/tlv.h"

// The element of type 0: an ordered list of children that it owns. On the stream its length
// field holds the number of children, each of which follows as header word, length and
// payload. Every folder, note, attachment and stored setting of a user file is one, named by
// its tag; the rest of the program reaches their fields through the by-tag operations, which
// work on the first child with the tag.
class CKTLVARRAY : public CKTLV {
 public:
  static constexpr std::uint32_t kMaxChildren = 0xFFFFFF;
  // Deeper nesting fails to read (and to write), so a crafted file cannot exhaust the stack.
  static constexpr int kMaxDepth = 1024;

  CKTLVARRAY();
  // Wipes the display caches and destroys every child.
  ~CKTLVARRAY() override;

  // The child count, then every child: its header word (GetHeaderWord), then its own Write.
  // Stops at the first failure; what was written stays written.
  bool Write(CKFile& stream) override;
  // Reads the children and returns CheckSchema. A child that cannot be read is dropped with
  // every child after it; the ones before it stay.
  bool Read(CKFile& stream) override;
  // Whether the last Read took every child the stream declared, each child array whole too. An
  // array that breaks off inside a child may still pass its schema check; this tells it is not
  // whole. True for an array that was never read.
  bool IsWhole() const { return m_bWhole; }
  // The children container itself, whatever size is asked.
  void* GetBuffer(std::uint32_t size) override;
  std::uint32_t GetSize() const override { return m_Children.GetCount(); }
  std::uint32_t GetMaxSize() const override { return kMaxChildren; }
  Kind GetKind() const override { return Kind::kArray; }

  // The typed by-tag operations: false, and nothing changed, when no child has the tag;
  // otherwise the first such child's own operation (false when its type has no such value).
  virtual bool GetStringByTag(std::uint32_t tag, std::u16string& value) const;
  virtual bool GetBinaryByTag(std::uint32_t tag, const std::uint8_t*& data,
                              std::uint32_t& size) const;
  virtual bool GetDword64ByTag(std::uint32_t tag, std::uint64_t& value) const;
  virtual bool GetDwordByTag(std::uint32_t tag, std::uint32_t& value) const;
  virtual bool HasChild(std::uint32_t tag) const;
  // The setters never create a missing child.
  virtual bool SetDword64ByTag(std::uint32_t tag, std::uint32_t low, std::uint32_t high);
  virtual bool SetDwordByTag(std::uint32_t tag, std::uint32_t value);
  virtual bool SetStringByTag(std::uint32_t tag, const char16_t* value);
  // Appends, in child order, every child of the type code; they stay owned here. Always true.
  virtual bool CollectByType(std::uint8_t type, CKPtrArray<CKTLV*>& found) const;

  // The first child with the tag, or null.
  CKTLV* FindChild(std::uint32_t tag) const;
  // Appends the element as the last child and makes this array its parent and owner. Refused
  // (false, not taken) for null, for this array or one above it, and for an element that
  // another array holds. Out of memory throws std::bad_alloc with the element not taken.
  bool AddChild(CKTLV* element);
  // Destroys a child (compared by identity) and closes the gap; false when it is not one.
  bool RemoveChild(CKTLV* element);
  // Moves a child, undestroyed, to the end of another array. False when it is not a child, or
  // when the other array is the child itself or lies below it (that would make a cycle).
  bool MoveChild(CKTLV* element, CKTLVARRAY& other);
  void RemoveAllChildren();
  std::uint32_t GetChildCount() const { return m_Children.GetCount(); }
  CKTLV* GetChild(std::uint32_t index) const { return m_Children.GetAt(index); }
  const CKPtrAutoArray<CKTLV*>& GetChildren() const { return m_Children; }

  // Display caches, filled by the entry operations of the user database and never written to
  // a stream: display name, description, kind word, icon.
  std::u16string& NameCache() { return m_csName; }
  std::u16string& DescriptionCache() { return m_csDescription; }
  std::u16string& KindCache() { return m_csKind; }
  std::uint32_t& IconCache() { return m_dwIcon; }

 private:
  // Whether element is this array or one of the arrays above it.
  bool IsSelfOrAncestor(const CKTLV* element) const;

  CKPtrAutoArray<CKTLV*> m_Children;
  bool m_bWhole = true;
  std::u16string m_csName;
  std::u16string m_csDescription;
  std::u16string m_csKind;
  std::uint32_t m_dwIcon = 0;
};
