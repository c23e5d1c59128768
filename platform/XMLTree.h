// IXMLTree: a document with one cursor on one element. Implemented over pugixml.
//
// After LoadFile the cursor stands above the root (on the document), where the root is the only
// child; FindElement puts it on the root. Only element children are counted and entered; the
// whitespace that lays out child elements is not text. Tags and names compare exactly.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <siteconfig/CString.h>

#include "LogHelper.h"

namespace TOOLS {

constexpr size_t kNoOffset = static_cast<size_t>(-1);

using XMLAttributeList = std::vector<std::pair<CString, CString>>;

// A child element as IXMLTree::GetChildTexts found it, so that IntoFound enters it without
// looking for it again.
struct XmlChild {
    const void* parent = nullptr;  // the element it was found under
    const void* node = nullptr;    // null when there was none
};

// A tag or attribute name, held as UTF-8 for the comparisons. A wide literal or a CString is
// converted once per call; a narrow literal is taken as UTF-8 as it is. Names of up to kShort
// bytes are held inline, so naming an element costs no allocation and, for an ASCII name, one
// pass over it.
class XmlName {
public:
    XmlName(const char* utf8);     // NOLINT(google-explicit-constructor): names are literals
    XmlName(const wchar_t* name);  // NOLINT(google-explicit-constructor)
    XmlName(const CString& name);  // NOLINT(google-explicit-constructor)

    const char* c_str() const { return long_.empty() ? short_ : long_.c_str(); }
    size_t size() const { return size_; }
    // A copy; the tree compares c_str().
    std::string utf8() const { return std::string(c_str(), size_); }

private:
    static constexpr size_t kShort = 31;

    void Assign(const wchar_t* name, size_t length);
    void AssignUtf8(const char* utf8, size_t size);

    char short_[kShort + 1];
    size_t size_ = 0;
    std::string long_;  // a name longer than kShort bytes
};

// A tree is also the locator of the reports raised while it is read.
class IXMLTree : public ILogLocator {
public:
    virtual ~IXMLTree() = default;

    // Reads the whole file and parses it. False (with a diagnostic naming the file) when the
    // file cannot be read, decoded or parsed; the tree is then empty and FindElement fails.
    // While the tree lives, reports carry the path as their context (also after a failed load).
    // Encodings: UTF-8 with or without byte order mark, UTF-16 LE/BE, and GB2312, GBK and
    // GB18030 when the XML declaration names them.
    virtual bool LoadFile(const CString& path) = 0;
    // Writes the document in the encoding it was read in (same byte order mark, the declaration
    // as read), to a temporary file beside the file, then renames it over the file; comments
    // and layout are kept, so an unchanged document is written back as read. False, with a
    // diagnostic and the file unchanged, when any step fails or no document was loaded.
    virtual bool SaveFile(const CString& path) = 0;
    // Enters the index-th child element with this tag. False, cursor unmoved, if none.
    // Stepping through the children with index 0, 1, 2... costs O(1) per step.
    virtual bool IntoChild(const XmlName& tag, int index) = 0;
    // Makes the root element current when its tag is `tag`. False otherwise.
    virtual bool FindElement(const XmlName& tag) = 0;
    // Enters the index-th child element, any tag. False, cursor unmoved, if none (the text of
    // an element that holds only text is not a child to enter).
    virtual bool IntoChildAt(int index) = 0;
    // Number of child elements; an element holding only text counts 1.
    virtual void GetChildCount(int& count) = 0;
    // Number of child elements with this tag. True when the cursor stands on an element.
    virtual bool GetNamedChildCount(const XmlName& tag, int& count) = 0;
    // Text of the current element: its first text or CDATA child that is not only layout
    // whitespace, entities resolved, line ends as LF. False, `text` untouched, if none.
    virtual bool GetText(CString& text) = 0;
    // Tag of the current element; empty above the root.
    virtual void GetTagName(CString& tag) = 0;
    // All attributes of the current element in document order, appended to `attributes`.
    virtual void GetAttributes(XMLAttributeList& attributes) = 0;
    // The attribute's value. False, `value` untouched, when absent.
    virtual bool GetAttribute(const XmlName& name, CString& value) = 0;
    // As GetAttribute, for a value that seldom recurs (a name or identifier of its own):
    // decoded by itself, not looked up among the texts a load shares.
    virtual bool GetAttributeUnshared(const XmlName& name, CString& value) = 0;
    // Whether GetAttribute would give `ascii` (ASCII characters but CR and LF, e.g. "true"),
    // without decoding the value.
    virtual bool AttributeEquals(const XmlName& name, const char* ascii) = 0;
    // Sets (or adds, last) an attribute of the current element. False above the root, and for
    // a name that would not survive a save and reload (empty, or holding blanks or markup).
    virtual bool SetAttribute(const XmlName& name, const CString& value) = 0;
    // Text of the index-th child element; `text` untouched when there is none.
    virtual void GetChildTextAt(int index, CString& text) = 0;
    // Text of the first child element with this tag. False, `text` untouched, when absent.
    virtual bool GetChildText(const XmlName& tag, CString& text) = 0;
    // In one pass over the current element's children, does what GetChildText does for each of
    // the `count` tags: texts[i] receives the text of the first child with tags[i] and found[i]
    // is true, or texts[i] is untouched and found[i] false. With `children`, children[i] is
    // the first child with tags[i], with a text or not.
    virtual void GetChildTexts(const XmlName* tags, size_t count, CString* texts, bool* found,
                               XmlChild* children) = 0;
    void GetChildTexts(const XmlName* tags, size_t count, CString* texts, bool* found) {
        GetChildTexts(tags, count, texts, found, nullptr);
    }
    // Enters `child`, which GetChildTexts gave for the current element. False, cursor unmoved,
    // when it gave none (or gave it for another element).
    virtual bool IntoFound(const XmlChild& child) = 0;
    // Returns to the parent element; from the root to above the root (where IntoChild with
    // the root's tag enters it again); above the root the cursor stays where it is.
    virtual void OutOfElement() = 0;

    // Where the current element begins in the loaded file: the line and column (both 1-based,
    // the column counted in characters) of the "<" of its start tag. False, both untouched,
    // above the root, when no document is loaded, or when the file no longer holds the text
    // that was loaded. Lines end at LF, CR LF or a lone CR; in a UTF-16 or GB file the column
    // counts the characters of the decoded text. Loading costs nothing for it: the first
    // request of a document reads the file once more (parsing has overwritten the loaded
    // text) and indexes its line starts; every later request is a binary search.
    bool GetPosition(int& line, int& column) override = 0;
    // Where the current element's tag name begins in the loaded text, as a byte offset into the
    // decoded (UTF-8) text; kNoOffset above the root or when no document is loaded. Costs
    // nothing: CSourceLines turns it into a line and column when someone asks.
    virtual size_t GetElementOffset() = 0;
    // As GetPosition, for where the name of the current element's attribute `name` begins.
    // False, both untouched, also when the element has no such attribute or it was set after
    // loading.
    virtual bool GetAttributePosition(const XmlName& name, int& line, int& column) = 0;
};

// The current element's attribute, or the empty text when absent.
inline CString AttributeOf(IXMLTree& tree, const XmlName& name) {
    CString value;
    tree.GetAttribute(name, value);
    return value;
}

// The text of the current element's first child with this tag, or the empty text.
inline CString ChildTextOf(IXMLTree& tree, const XmlName& tag) {
    CString text;
    tree.GetChildText(tag, text);
    return text;
}

class CXMLTreeCreator {
public:
    // A new empty tree for reading: comments and the layout between elements are not kept, and
    // SaveFile refuses.
    static std::unique_ptr<IXMLTree> Allocate();
    // A tree that keeps comments, layout and declaration, so that SaveFile writes back the file
    // as read but for what was changed.
    static std::unique_ptr<IXMLTree> AllocateForEditing();
};

// Readers stop descending past this many levels of nesting (and say so in a diagnostic), so
// that no file can exhaust the stack of the host application.
constexpr int kMaxReadDepth = 256;

}  // namespace TOOLS
