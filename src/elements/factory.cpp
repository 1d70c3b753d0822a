#include <new>

#include "elements/scalars.h"
#include "elements/tlv.h"
#include "elements/tlv_array.h"

CKTLV* CreateElement(std::uint32_t tag, std::uint8_t type) {
  CKTLV* element = nullptr;
  switch (type) {
    case TLV_ARRAY:
      element = new (std::nothrow) CKTLVARRAY;
      break;
    case TLV_DWORD:
      element = new (std::nothrow) CKTLVDWORD;
      break;
    case TLV_DWORD64:
      element = new (std::nothrow) CKTLVDWORD64;
      break;
    case TLV_STRING:
      element = new (std::nothrow) CKTLVSTRING;
      break;
    default:
      // TLV_BINARY, and every code that no class knows: kept as bytes with its code.
      element = new (std::nothrow) CKTLVBINARY;
      if (element != nullptr) {
        element->SetType(type);
      }
      break;
  }
  if (element != nullptr) {
    element->SetTag(tag);
  }
  return element;
}

CKTLV* CreateFromHeader(std::uint32_t header_word) {
  CKTLV* element = CreateElement((header_word >> 8) & CKTLV::kMaxTag,
                                 static_cast<std::uint8_t>(header_word & 0xFF));
  if (element != nullptr) {
    element->SetHeaderWord(header_word);
  }
  return element;
}
