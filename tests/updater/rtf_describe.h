#pragma once

#include <string>

#include "updater/rtf_document.h"

namespace test {

// A document in a compact form for readable expectations: one line per paragraph, led by
// "center:", "right:" or "justify:" when not left-aligned; a run with attributes is written
// "[b i u 16pt #rrggbb ->link]text", a plain run as "[]text" (as its text alone when it
// leads its paragraph).
std::string Describe(const rtf::KDocument& document);

}  // namespace test
