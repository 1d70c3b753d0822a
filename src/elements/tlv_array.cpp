#include "elements/tlv_array.h"

#include <algorithm>
#include <memory>

#include "elements/schema.h"
#include "elements/stream_io.h"
#include "elements/wipe_string.h"
#include "files/file.h"

namespace {

// Children made room for before they are read: as many as an entry usually has.
constexpr std::uint32_t kReservedChildren = 16;

// Arrays being read or written on this thread, one inside the other.
thread_local int nesting = 0;

class NestingLevel {
 public:
  NestingLevel() : allowed_(++nesting <= CKTLVARRAY::kMaxDepth) {}
  ~NestingLevel() { --nesting; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;
  bool allowed() const { return allowed_; }

 private:
  bool allowed_;
};

}  // namespace

CKTLVARRAY::CKTLVARRAY() {
  SetType(TLV_ARRAY);
}

CKTLVARRAY::~CKTLVARRAY() {
  WipeString(m_csName);
  WipeString(m_csDescription);
  WipeString(m_csKind);
}

bool CKTLVARRAY::Write(CKFile& stream) {
  try {
    const NestingLevel level;
    const std::uint32_t count = GetChildCount();
    if (!level.allowed() || count > kMaxChildren || !WriteLength(stream, count)) {
      return false;
    }
    for (CKTLV* child : m_Children) {
      std::uint8_t header[4];
      elements::StoreLittleEndian32(child->GetHeaderWord(), header);
      if (!stream.Write(header, sizeof header) || !child->Write(stream)) {
        return false;
      }
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool CKTLVARRAY::Read(CKFile& stream) {
  m_bWhole = false;
  try {
    const NestingLevel level;
    std::uint32_t count = 0;
    if (!level.allowed() || !ReadLength(stream, count) || count > kMaxChildren) {
      return false;
    }
    // Children are added one by one as they arrive: the declared count reserves no more than
    // a usual entry has, so a crafted count costs nothing.
    m_Children.Reserve(std::min(count, kReservedChildren));
    bool whole = true;
    std::uint32_t read = 0;
    for (; read < count; ++read) {
      std::uint8_t header[4];
      if (!elements::ReadExactly(stream, header, sizeof header)) {
        break;
      }
      std::unique_ptr<CKTLV> child(CreateFromHeader(elements::LoadLittleEndian32(header)));
      if (child == nullptr || !child->Read(stream)) {
        break;
      }
      if (const CKTLVARRAY* array = child->AsArray()) {
        whole = whole && array->IsWhole();
      }
      m_Children.Add(child.get());
      child.release()->SetParent(this);
    }
    m_bWhole = whole && read == count;
    return CheckSchema(*this);
  } catch (...) {
    return false;
  }
}

void* CKTLVARRAY::GetBuffer(std::uint32_t) {
  return &m_Children;
}

bool CKTLVARRAY::GetStringByTag(std::uint32_t tag, std::u16string& value) const {
  const CKTLV* child = FindChild(tag);
  return child != nullptr && child->GetString(value);
}

bool CKTLVARRAY::GetBinaryByTag(std::uint32_t tag, const std::uint8_t*& data,
                                std::uint32_t& size) const {
  const CKTLV* child = FindChild(tag);
  return child != nullptr && child->GetBinary(data, size);
}

bool CKTLVARRAY::GetDword64ByTag(std::uint32_t tag, std::uint64_t& value) const {
  const CKTLV* child = FindChild(tag);
  return child != nullptr && child->GetDword64(value);
}

bool CKTLVARRAY::GetDwordByTag(std::uint32_t tag, std::uint32_t& value) const {
  const CKTLV* child = FindChild(tag);
  return child != nullptr && child->GetDword(value);
}

bool CKTLVARRAY::HasChild(std::uint32_t tag) const {
  return FindChild(tag) != nullptr;
}

bool CKTLVARRAY::SetDword64ByTag(std::uint32_t tag, std::uint32_t low, std::uint32_t high) {
  CKTLV* child = FindChild(tag);
  return child != nullptr && child->SetDword64(low, high);
}

bool CKTLVARRAY::SetDwordByTag(std::uint32_t tag, std::uint32_t value) {
  CKTLV* child = FindChild(tag);
  return child != nullptr && child->SetDword(value);
}

bool CKTLVARRAY::SetStringByTag(std::uint32_t tag, const char16_t* value) {
  CKTLV* child = FindChild(tag);
  return child != nullptr && child->SetString(value);
}

bool CKTLVARRAY::CollectByType(std::uint8_t type, CKPtrArray<CKTLV*>& found) const {
  for (CKTLV* child : m_Children) {
    if (child->GetType() == type) {
      found.Add(child);
    }
  }
  return true;
}

CKTLV* CKTLVARRAY::FindChild(std::uint32_t tag) const {
  for (CKTLV* child : m_Children) {
    if (child->GetTag() == tag) {
      return child;
    }
  }
  return nullptr;
}

bool CKTLVARRAY::IsSelfOrAncestor(const CKTLV* element) const {
  for (const CKTLV* array = this; array != nullptr; array = array->GetParent()) {
    if (array == element) {
      return true;
    }
  }
  return false;
}

bool CKTLVARRAY::AddChild(CKTLV* element) {
  if (element == nullptr || IsSelfOrAncestor(element)) {
    return false;
  }
  // An element may know its parent before it is added (a new entry does), but it must not be
  // held by an array already: two owners would destroy it twice.
  if (const CKTLVARRAY* holder = element->GetParent();
      holder != nullptr && holder->m_Children.Find(element) >= 0) {
    return false;
  }
  m_Children.Add(element);
  element->SetParent(this);
  return true;
}

bool CKTLVARRAY::RemoveChild(CKTLV* element) {
  const std::int64_t index = m_Children.Find(element);
  if (index < 0) {
    return false;
  }
  m_Children.DeleteAt(static_cast<std::uint32_t>(index));
  return true;
}

bool CKTLVARRAY::MoveChild(CKTLV* element, CKTLVARRAY& other) {
  const std::int64_t index = m_Children.Find(element);
  if (index < 0 || other.IsSelfOrAncestor(element)) {
    return false;
  }
  other.m_Children.Add(element);  // first, so that running out of memory changes nothing
  m_Children.RemoveAt(static_cast<std::uint32_t>(index));
  element->SetParent(&other);
  return true;
}

void CKTLVARRAY::RemoveAllChildren() {
  m_Children.DeleteAll();
}
