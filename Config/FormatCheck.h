// Compares an XML document with the format of its file kind (FileFormats.h) and reports the
// elements and attributes that the readers of that kind do not know.
#pragma once

#include <functional>
#include <vector>

#include <siteconfig/CString.h>

#include "FileFormats.h"

namespace TOOLS {
class IXMLTree;
}

namespace CONFIG {

// The codes of FormatIssue.
inline constexpr wchar_t kUnknownRootCode[] = L"unknown-root";
inline constexpr wchar_t kUnknownTagCode[] = L"unknown-tag";
inline constexpr wchar_t kUnknownAttributeCode[] = L"unknown-attribute";
inline constexpr wchar_t kUnknownParamCode[] = L"unknown-param";

struct FormatIssue {
    // kUnknownRootCode: the root is not the kind's root; nothing of the file is read.
    // kUnknownTagCode: an element the readers do not read where it stands.
    // kUnknownAttributeCode: an attribute the readers do not read, or where any attribute is
    // kept, one that looks like a slip of an absent attribute they read.
    // kUnknownParamCode: an instance attribute that names no parameter type.
    CString code;
    // Where the element (its "<") or the attribute (its name) stands; 0 and 0 when the file no
    // longer holds the text that was loaded.
    int line = 0;
    int column = 0;
    CString text;  // the offending tag or attribute name
    // For the author: what is wrong, in which kind of file, and the likely fix when there is
    // one ("unknown tag "ClsNme" in a property file; did you mean "ClsName"?").
    CString message;
};

// The candidate closest to `name`, when it is close enough to be a slip of the keyboard (one
// edit in a short name, two in a longer one; swapping two neighbours is one edit); empty
// otherwise.
CString ClosestName(const CString& name, const std::vector<CString>& candidates);

// Walks the whole document of `tree` from its root, as loaded from a file of `kind`, and calls
// `report` once for each element and attribute the readers of that kind do not know, in
// document order. An unknown element is reported once and not entered; elements nested deeper
// than the readers read (TOOLS::kMaxReadDepth) are not checked. A document that did not load
// has nothing to report. The cursor may stand anywhere in the document; it ends above the root.
// Reports and diagnostics are not raised.
void CheckDocument(TOOLS::IXMLTree& tree, FileKind kind,
                   const std::function<void(const FormatIssue&)>& report);

}  // namespace CONFIG
