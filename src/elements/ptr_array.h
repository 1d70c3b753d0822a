#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// A growable array of pointers that does not own what they point to.
//
// Growth: the first storage holds exactly the count asked for; beyond the capacity it grows
// by the step, or with step 0 by the old count / 8 bounded to 4 to 1,024, and at least to the
// count asked for. New entries are null. A count of 0 frees the storage. Out of memory throws
// std::bad_alloc and leaves the array as it was.
template <typename T>
class CKPtrArray {
  static_assert(std::is_pointer_v<T>, "CKPtrArray holds pointers");

 public:
  CKPtrArray() = default;
  CKPtrArray(const CKPtrArray&) = delete;
  CKPtrArray& operator=(const CKPtrArray&) = delete;
  virtual ~CKPtrArray() { std::free(m_pData); }

  std::uint32_t GetCount() const { return m_nCount; }
  std::uint32_t GetCapacity() const { return m_nCapacity; }
  bool IsEmpty() const { return m_nCount == 0; }
  void SetGrowBy(std::uint32_t step) { m_nGrowBy = step; }

  T GetAt(std::uint32_t index) const { return m_pData[index]; }
  T& operator[](std::uint32_t index) { return m_pData[index]; }
  T operator[](std::uint32_t index) const { return m_pData[index]; }
  T* begin() { return m_pData; }
  T* end() { return m_pData + m_nCount; }
  const T* begin() const { return m_pData; }
  const T* end() const { return m_pData + m_nCount; }

  void SetCount(std::uint32_t count) {
    if (count == 0) {
      std::free(m_pData);
      m_pData = nullptr;
      m_nCount = m_nCapacity = 0;
      return;
    }
    if (m_pData == nullptr) {
      m_pData = Allocate(count);
      m_nCapacity = count;
    } else if (count > m_nCapacity) {
      std::uint32_t step = m_nGrowBy;
      if (step == 0) {
        step = m_nCount / 8;
        step = step < 4 ? 4 : step > 1024 ? 1024 : step;
      }
      std::uint64_t capacity = std::uint64_t{m_nCapacity} + step;
      if (capacity < count) {
        capacity = count;
      }
      if (capacity > UINT32_MAX) {
        capacity = UINT32_MAX;
      }
      T* larger = Allocate(static_cast<std::uint32_t>(capacity));
      std::memcpy(static_cast<void*>(larger), m_pData, sizeof(T) * m_nCount);
      std::free(m_pData);
      m_pData = larger;
      m_nCapacity = static_cast<std::uint32_t>(capacity);
    } else if (count > m_nCount) {
      std::memset(static_cast<void*>(m_pData + m_nCount), 0, sizeof(T) * (count - m_nCount));
    }
    m_nCount = count;
  }

  // Makes room for count entries in all, without changing the count.
  void Reserve(std::uint32_t count) {
    if (count <= m_nCapacity) {
      return;
    }
    T* larger = Allocate(count);
    if (m_pData != nullptr) {
      std::memcpy(static_cast<void*>(larger), m_pData, sizeof(T) * m_nCount);
      std::free(m_pData);
    }
    m_pData = larger;
    m_nCapacity = count;
  }

  // Appends at index count; returns that index.
  std::uint32_t Add(T element) {
    if (m_nCount == UINT32_MAX) {
      throw std::bad_alloc();
    }
    const std::uint32_t index = m_nCount;
    SetCount(m_nCount + 1);
    m_pData[index] = element;
    return index;
  }

  // Takes the entry out; the later ones move down by one.
  void RemoveAt(std::uint32_t index) {
    if (index >= m_nCount) {
      return;
    }
    std::memmove(static_cast<void*>(m_pData + index), m_pData + index + 1,
                 sizeof(T) * (m_nCount - index - 1));
    --m_nCount;
    m_pData[m_nCount] = nullptr;
  }

  // Index of the first entry equal to element, or -1.
  std::int64_t Find(T element) const {
    for (std::uint32_t i = 0; i < m_nCount; ++i) {
      if (m_pData[i] == element) {
        return i;
      }
    }
    return -1;
  }

 private:
  static T* Allocate(std::uint32_t count) {
    void* data = std::calloc(count, sizeof(T));
    if (data == nullptr) {
      throw std::bad_alloc();
    }
    return static_cast<T*>(data);
  }

  T* m_pData = nullptr;
  std::uint32_t m_nCount = 0;
  std::uint32_t m_nCapacity = 0;
  std::uint32_t m_nGrowBy = 0;
};

// A CKPtrArray that owns its elements: they are destroyed, first to last, with the array.
template <typename T>
class CKPtrAutoArray : public CKPtrArray<T> {
 public:
  CKPtrAutoArray() = default;
  ~CKPtrAutoArray() override { DeleteAll(); }

  // Destroys the element at index and closes the gap.
  void DeleteAt(std::uint32_t index) {
    if (index >= this->GetCount()) {
      return;
    }
    T element = this->GetAt(index);
    this->RemoveAt(index);
    delete element;
  }

  // Destroys every element, first to last, and frees the storage.
  void DeleteAll() {
    for (std::uint32_t i = 0; i < this->GetCount(); ++i) {
      delete (*this)[i];
    }
    this->SetCount(0);
  }
};
