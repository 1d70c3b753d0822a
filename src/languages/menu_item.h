#pragma once

#include <cstdint>
#include <string>

// One item of a popup menu built from a language group: the command is the entry number;
// a text of exactly "%" makes the item a separator. The interface turns a list of these
// into a real menu.
struct KMenuItem {
  std::uint32_t command = 0;
  std::u16string text;
  bool separator = false;
};
