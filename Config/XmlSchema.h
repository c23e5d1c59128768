// Writes the format of one XML file kind (FileFormats.h) as an XML Schema (XSD 1.0).
#pragma once

#include <string>

#include "FileFormats.h"

namespace CONFIG {

// The schema of `format`, a UTF-8 XML document. Children may stand in any order and every
// element and attribute is optional, as to the readers; a tag the readers do not read where it
// stands is rejected. What XSD 1.0 cannot state lets its content pass unchecked: a tag that is
// any name or a parent's attribute, and content kept but never read.
std::string WriteSchema(const FileFormat& format);

}  // namespace CONFIG
