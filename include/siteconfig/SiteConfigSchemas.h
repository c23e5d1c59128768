// XML Schemas (XSD 1.0) of the configuration's XML files, one per file kind, for editors that
// validate and complete a file as its author types. Each is written from the tables that the
// readers and the format check of CheckConfiguration use, so a schema accepts what the readers
// read and rejects a tag they do not know. Where XSD cannot say what the readers do (a tag that
// is any key, or the value of a parent's attribute), the schema lets the content pass unchecked.
#pragma once

#include <string>
#include <vector>

#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

struct SchemaKind {
    std::string name;       // stable, lowercase: "property", "edit-view", ...
    std::string fileName;   // the schema's file name: "property.xsd"
    std::string root;       // the root element of the files of this kind: "Property"
    std::string appliesTo;  // the files of this kind, in words (UTF-8)
};

// Every XML file kind of a configuration, in a stable order. The plug-in list is an INI file
// and has no schema.
SITECONFIG_API std::vector<SchemaKind> GetSchemaKinds();

// The schema of the kind named `name`, as a UTF-8 XML document, into `xsd`; false, and `xsd`
// left as it was, when no kind has that name.
SITECONFIG_API bool GetSchema(const std::string& name, std::string& xsd);

}  // namespace CONFIG
