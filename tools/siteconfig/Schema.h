// siteconfig schema: the XML Schemas of the configuration's XML files, for editors.
#pragma once

#include <string>

#include "Commands.h"

namespace sctool {

// Without `kind` and `outputDir`: lists the kinds, their schema files and the files they apply
// to. With `kind`: prints its schema. With `outputDir`: writes the schema of `kind`, or of every
// kind, into that folder under its file name. An unknown kind is a usage error.
int RunSchema(const Options& options, const std::string& kind, const std::string& outputDir);

}  // namespace sctool
