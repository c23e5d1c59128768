// The elements and attributes that the readers know, one table per XML file kind: what the
// format check compares documents with, and what describes each format to a tool that writes a
// schema (element names, nesting, attributes, text, repetition).
#pragma once

#include <cstddef>

#include "DisplayNames.h"

namespace CONFIG {

enum class FileKind {
    kProperty,         // root "Property": definitions, templates, property models, shape pool
    kFileList,         // "filelist.cfg" of the template and property-model folders
    kGraphLibrary,     // root "GraphLibrary" with "Model" entries
    kItemTemplate,     // "ItemTemplate.xml"
    kEditView,         // root "PropEditView": "GridTemplate.xml" and the location views
    kLocationShow,     // "PropertyLocShow.xml"
    kEnableContainer,  // "EnableContainer.xml"
    kResource,         // resource settings, root "Config"
};

// A constant array seen from outside: where it begins and how many entries it has.
template <typename T>
struct TableSpan {
    constexpr TableSpan() = default;
    template <size_t N>
    constexpr TableSpan(const T (&array)[N]) : data(array), size(N) {}  // NOLINT: tables convert

    constexpr const T* begin() const { return data; }
    constexpr const T* end() const { return data + size; }
    constexpr bool empty() const { return size == 0; }

    const T* data = nullptr;
    size_t size = 0;
};

// How an element's tag is given.
enum class TagRule {
    kFixed,            // the tag is `tag`
    kOneOf,            // the tag is one of `names` (view modes, part kinds)
    kAny,              // any tag: the tag itself is the data (a settings key)
    kParentAttribute,  // the tag is the value of the parent's attribute named `tag`
};

// Which attributes besides the listed ones an element may carry.
enum class OtherAttributes {
    kNone,
    kParameterNames,  // attributes named after parameter types: an instance's parameters
    // Any: kept when the file is written back, never read. An attribute that looks like a slip
    // of a listed one that is absent ("value" for "val") is still taken for a mistake.
    kAny,
};

// Every attribute is optional to its reader: a missing one reads as empty text.
struct AttributeFormat {
    const wchar_t* name;
};

// One element as its reader reads it. Every element is optional to its reader: a missing one
// reads as absent or empty.
struct ElementFormat {
    TagRule tagRule = TagRule::kFixed;
    const wchar_t* tag = nullptr;  // kFixed: the tag; kParentAttribute: the parent's attribute
    TableSpan<NamedCode> names;    // kOneOf: the tags
    TableSpan<AttributeFormat> attributes;
    OtherAttributes otherAttributes = OtherAttributes::kNone;
    bool text = false;  // its text is read
    // Every occurrence is read. Otherwise only the first child of its parent with its tag (for
    // kOneOf: the first of each name) is read and later ones are passed over.
    bool repeated = false;
    TableSpan<const ElementFormat*> children;
    bool anyContent = false;  // children of any tag and content are kept, never read
    // When set, the element is not read if its parent also has a child with this tag.
    const wchar_t* unreadBeside = nullptr;

    // Builders for the tables.
    constexpr ElementFormat WithAttributes(TableSpan<AttributeFormat> list) const {
        ElementFormat copy = *this;
        copy.attributes = list;
        return copy;
    }
    constexpr ElementFormat WithOtherAttributes(OtherAttributes rule) const {
        ElementFormat copy = *this;
        copy.otherAttributes = rule;
        return copy;
    }
    constexpr ElementFormat WithText() const {
        ElementFormat copy = *this;
        copy.text = true;
        return copy;
    }
    constexpr ElementFormat Repeated() const {
        ElementFormat copy = *this;
        copy.repeated = true;
        return copy;
    }
    constexpr ElementFormat WithChildren(TableSpan<const ElementFormat*> list) const {
        ElementFormat copy = *this;
        copy.children = list;
        return copy;
    }
    constexpr ElementFormat WithAnyContent() const {
        ElementFormat copy = *this;
        copy.anyContent = true;
        return copy;
    }
    constexpr ElementFormat UnreadBeside(const wchar_t* sibling) const {
        ElementFormat copy = *this;
        copy.unreadBeside = sibling;
        return copy;
    }
};

constexpr ElementFormat Element(const wchar_t* tag) {
    ElementFormat element;
    element.tag = tag;
    return element;
}

constexpr ElementFormat ElementOneOf(TableSpan<NamedCode> names) {
    ElementFormat element;
    element.tagRule = TagRule::kOneOf;
    element.names = names;
    return element;
}

struct FileFormat {
    FileKind kind;
    const char* id;              // stable and short: "property", "edit-view", ...
    const wchar_t* description;  // in messages: "a property file", "PropertyLocShow.xml"
    const ElementFormat* root;
    const wchar_t* files;  // the files of this kind, for authors: "ItemTemplate.xml", ...
};

// The format of one file kind; every kind has one.
const FileFormat& GetFileFormat(FileKind kind);
// Every file kind's format, in the order of FileKind.
TableSpan<FileFormat> GetFileFormats();

}  // namespace CONFIG
