#include "XMLTree.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "Encoding.h"
#include "FileSystem.h"
#include "LogHelper.h"
#include "SourceLines.h"
#include "TextInterner.h"

namespace TOOLS {
namespace {

// Comments, processing instructions, the document type and whitespace between elements are
// kept so that a saved document differs from the file only where it was changed. Line ends are
// left as read for the same reason (texts are normalised when they are handed out). The
// declaration is skipped by the parser and kept verbatim beside the tree.
constexpr unsigned kEditParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_ws_pcdata |
    pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype | pugi::parse_fragment;
// A tree that is only read keeps none of the layout: fewer nodes to build and to step over.
constexpr unsigned kReadParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_fragment;

constexpr unsigned kSaveOptions = pugi::format_raw | pugi::format_no_declaration;

const char* ParseStatusText(pugi::xml_parse_status status) {
    switch (status) {
        case pugi::status_out_of_memory:
            return "out of memory";
        case pugi::status_unrecognized_tag:
            return "unrecognized tag";
        case pugi::status_bad_pi:
            return "malformed declaration or processing instruction";
        case pugi::status_bad_comment:
            return "malformed comment";
        case pugi::status_bad_cdata:
            return "malformed CDATA section";
        case pugi::status_bad_doctype:
            return "malformed document type declaration";
        case pugi::status_bad_pcdata:
            return "malformed text";
        case pugi::status_bad_start_element:
            return "malformed start tag";
        case pugi::status_bad_attribute:
            return "malformed attribute";
        case pugi::status_bad_end_element:
            return "malformed end tag";
        case pugi::status_end_element_mismatch:
            return "mismatched end tag";
        case pugi::status_no_document_element:
            return "no root element";
        default:
            return "internal parser error";
    }
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

private:
    std::string& out_;
};

bool IsWhitespaceOnly(const char* text) {
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
    }
    return true;
}

// The text of an element: its first text or CDATA child, leaving out the whitespace that only
// lays out child elements. Null when there is none.
const char* ElementText(pugi::xml_node element) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        const pugi::xml_node_type type = child.type();
        if (type == pugi::node_cdata) return child.value();
        if (type == pugi::node_pcdata && !IsWhitespaceOnly(child.value())) return child.value();
    }
    return nullptr;
}

// Hands a text of the document out as a wide string, line ends as LF; shared with identical
// texts through `interner` (the load's, CTextInterner::Current(), fetched once per call of
// the tree) when there is one.
CString WideText(const char* text, CTextInterner* interner) {
    const size_t length = std::strlen(text);
    if (std::memchr(text, '\r', length) == nullptr) {
        if (interner) return interner->Intern(std::string_view(text, length));
        return WideFromUtf8(text, length);
    }
    std::string normalised;
    normalised.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] != '\r') {
            normalised += text[i];
        } else {
            normalised += '\n';
            if (text[i + 1] == '\n') ++i;
        }
    }
    return WideFromUtf8(normalised);
}

// An attribute name that a save and reload would give back as the same attribute.
bool IsWritableName(const std::string& name) {
    if (name.empty()) return false;
    const char first = name[0];
    if (first == '-' || first == '.' || (first >= '0' && first <= '9')) return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) <= ' ' || std::strchr("<>&\"'=/?!", c) != nullptr) {
            return false;
        }
    }
    return true;
}

// Element children by tag go through pugixml's own search, one call per match rather than
// several per child. It matches any named node: a processing instruction (kept only in trees
// for editing) is stepped over.
pugi::xml_node ElementFrom(pugi::xml_node node, const char* tag) {
    while (node && node.type() != pugi::node_element) node = node.next_sibling(tag);
    return node;
}

// The first child element of `parent` with tag `tag`, or any tag when `tag` is null.
pugi::xml_node FirstMatching(pugi::xml_node parent, const char* tag) {
    if (tag != nullptr) return ElementFrom(parent.child(tag), tag);
    pugi::xml_node node = parent.first_child();
    while (node && node.type() != pugi::node_element) node = node.next_sibling();
    return node;
}

// The next sibling element of `node` with tag `tag`, or any tag when `tag` is null.
pugi::xml_node NextMatching(pugi::xml_node node, const char* tag) {
    if (tag != nullptr) return ElementFrom(node.next_sibling(tag), tag);
    node = node.next_sibling();
    while (node && node.type() != pugi::node_element) node = node.next_sibling();
    return node;
}

// Sends "cannot <action> <path>[:line:column]: <reason>" to the diagnostics.
void Diagnose(const wchar_t* action, const CString& path, int line, int column,
              const std::string& reason, const wchar_t* code) {
    CString message;
    if (line > 0) {
        message.Format(L"cannot %s %s:%d:%d: %s", action, path, line, column, WideFromUtf8(reason));
    } else {
        message.Format(L"cannot %s %s: %s", action, path, WideFromUtf8(reason));
    }
    ReportDiagnostic(path, line, column, message, code);
}

class CXMLTree : public IXMLTree {
public:
    explicit CXMLTree(bool editable) : editable_(editable), current_(document_) {}

    bool LoadFile(const CString& path) override;
    bool SaveFile(const CString& path) override;
    bool IntoChild(const XmlName& tag, int index) override;
    bool FindElement(const XmlName& tag) override;
    bool IntoChildAt(int index) override;
    void GetChildCount(int& count) override;
    bool GetNamedChildCount(const XmlName& tag, int& count) override;
    bool GetText(CString& text) override;
    void GetTagName(CString& tag) override;
    void GetAttributes(XMLAttributeList& attributes) override;
    bool GetAttribute(const XmlName& name, CString& value) override;
    bool GetAttributeUnshared(const XmlName& name, CString& value) override;
    bool AttributeEquals(const XmlName& name, const char* ascii) override;
    bool SetAttribute(const XmlName& name, const CString& value) override;
    void GetChildTextAt(int index, CString& text) override;
    bool GetChildText(const XmlName& tag, CString& text) override;
    void GetChildTexts(const XmlName* tags, size_t count, CString* texts, bool* found,
                       XmlChild* children) override;
    bool IntoFound(const XmlChild& child) override;
    void OutOfElement() override;
    bool GetPosition(int& line, int& column) override;
    size_t GetElementOffset() override;
    bool GetAttributePosition(const XmlName& name, int& line, int& column) override;

private:
    // Where the last lookup of the index-th child with one tag (or any tag) landed, so that
    // stepping through the children with index 0, 1, 2... costs O(1) per step.
    struct StepMemo {
        bool anyTag = false;
        std::string tag;
        int index = 0;
        pugi::xml_node node;
    };
    // The memos of one parent. Kept per depth: entering the next sibling at a depth replaces
    // the memos of the previous one.
    struct Level {
        pugi::xml_node parent;
        std::array<StepMemo, 4> memos;
        size_t used = 0;
        size_t nextVictim = 0;
    };

    // The decoded text the document was parsed from, in place, and its terminating NUL: within
    // the bytes read when they were UTF-8, else the converted text.
    struct ParsedText {
        FileBytes read;
        std::string converted;
        char* begin = nullptr;
        size_t length = 0;  // with the NUL

        const char* data() const { return begin; }
        size_t size() const { return length; }
        void clear() {
            read.clear();
            converted.clear();
            begin = nullptr;
            length = 0;
        }
    };

    void Reset();
    pugi::xml_node FindChild(const XmlName* tag, int index);
    void Enter(pugi::xml_node child);
    bool IndexPositions();
    bool NameStandsAt(const char* name, size_t at);
    size_t NameOffset(const char* name) const;

    const bool editable_;  // keeps comments and layout for SaveFile
    // In place: a load allocates enough already.
    std::optional<ScopedLogContext> context_;
    ParsedText buffer_;
    pugi::xml_document document_;
    DocumentEncoding encoding_;
    std::string declaration_;  // the XML declaration exactly as read, or empty
    bool loaded_ = false;
    CString path_;  // read again for the first position request
    std::unique_ptr<CSourceLines> positions_;
    bool positionsUnavailable_ = false;
    pugi::xml_node current_;
    size_t depth_ = 0;  // 0 above the root, 1 on the root
    std::vector<Level> levels_;
};

void CXMLTree::Reset() {
    document_.reset();
    buffer_.clear();
    declaration_.clear();
    encoding_ = DocumentEncoding();
    loaded_ = false;
    path_ = CString();
    positions_.reset();
    positionsUnavailable_ = false;
    current_ = document_;
    depth_ = 0;
    levels_.clear();
}

bool CXMLTree::LoadFile(const CString& path) {
    Reset();
    context_.reset();
    context_.emplace(path, this);
    try {
        std::string error;
        FileBytes& read = buffer_.read;
        if (!ReadConfigurationFile(path, read, error)) {
            Diagnose(L"open", path, 0, 0, error, ReadFailureCode(error));
            return false;
        }
        DecodeFailure failure;
        std::string_view text;
        if (!DecodeXmlDocument(std::string_view(read.data(), read.size()), text, buffer_.converted,
                               encoding_, failure)) {
            Diagnose(L"decode", path, failure.line, failure.column, failure.message,
                     L"bad-encoding");
            Reset();
            return false;
        }
        // Only a save writes the declaration back.
        if (editable_) declaration_.assign(text.data(), XmlDeclarationLength(text));
        // The terminating NUL belongs to the parsed buffer, so that the parser needs no last
        // character of the text for its own end mark. UTF-8 text ends where the bytes read do,
        // before the byte kept free for it.
        if (text.data() == buffer_.converted.data()) {
            buffer_.converted.push_back('\0');
            buffer_.begin = &buffer_.converted[0];
        } else {
            buffer_.begin = read.data() + (text.data() - read.data());
            buffer_.begin[text.size()] = '\0';
        }
        buffer_.length = text.size() + 1;
        const pugi::xml_parse_result result = document_.load_buffer_inplace(
            buffer_.begin, buffer_.length, editable_ ? kEditParseOptions : kReadParseOptions,
            pugi::encoding_utf8);
        if (!result) {
            // Parsing in place has overwritten the text; the offset is located in a fresh copy.
            int line = 0;
            int column = 0;
            std::string fresh;
            DocumentEncoding ignored;
            if (ReadWholeFile(NativePath(path), fresh, error) &&
                DecodeXmlDocument(fresh, ignored, failure)) {
                LineAndColumnAt(fresh.data(), fresh.size(), static_cast<size_t>(result.offset),
                                line, column);
            }
            Diagnose(L"parse", path, line, column, ParseStatusText(result.status), L"parse-error");
            Reset();
            return false;
        }
        if (!document_.document_element()) {
            Diagnose(L"parse", path, 0, 0, ParseStatusText(pugi::status_no_document_element),
                     L"parse-error");
            Reset();
            return false;
        }
    } catch (const std::bad_alloc&) {
        Diagnose(L"load", path, 0, 0, "out of memory", L"unreadable-file");
        Reset();
        return false;
    }
    loaded_ = true;
    path_ = path;
    current_ = document_;
    return true;
}

bool CXMLTree::SaveFile(const CString& path) {
    if (!loaded_) {
        // Writing an empty document would destroy whatever the file holds.
        Diagnose(L"save", path, 0, 0, "no document loaded", L"unwritable-file");
        return false;
    }
    if (!editable_) {
        // Its comments and layout were not kept: saving would strip them from the file.
        Diagnose(L"save", path, 0, 0, "the document was loaded for reading only",
                 L"unwritable-file");
        return false;
    }
    std::string error;
    try {
        std::string text = declaration_;
        StringWriter writer(text);
        document_.save(writer, "", kSaveOptions, pugi::encoding_utf8);
        // The parser keeps a reference to no character ("&#x4E2D4E2D;") as bytes that are not
        // UTF-8. Written as they are, the file would never load again; write U+FFFD in their
        // place, which is what the readers were given for them.
        text = Utf8FromWide(WideFromUtf8(text));
        std::string bytes;
        if (EncodeXmlDocument(text, encoding_, bytes, error) &&
            ReplaceFileAtomically(NativePath(path), bytes, error)) {
            return true;
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    }
    Diagnose(L"save", path, 0, 0, error, L"unwritable-file");
    return false;
}

}  // namespace

XmlName::XmlName(const char* utf8) { AssignUtf8(utf8, std::strlen(utf8)); }

XmlName::XmlName(const wchar_t* name) {
    // Names are nearly always short ASCII literals: copied as they are measured.
    for (size_t i = 0; i < kShort; ++i) {
        const auto c = static_cast<std::uint32_t>(name[i]);
        if (c == 0) {
            short_[i] = '\0';
            size_ = i;
            return;
        }
        if (c >= 0x80) break;
        short_[i] = static_cast<char>(c);
    }
    Assign(name, std::wcslen(name));
}

XmlName::XmlName(const CString& name) {
    Assign(name.GetString(), static_cast<size_t>(name.GetLength()));
}

void XmlName::Assign(const wchar_t* name, size_t length) {
    if (length <= kShort) {
        size_t i = 0;
        for (; i < length && static_cast<std::uint32_t>(name[i]) < 0x80; ++i) {
            short_[i] = static_cast<char>(name[i]);
        }
        if (i == length) {
            short_[length] = '\0';
            size_ = length;
            return;
        }
    }
    std::string utf8;
    AppendUtf8(name, length, utf8);
    AssignUtf8(utf8.data(), utf8.size());
}

void XmlName::AssignUtf8(const char* utf8, size_t size) {
    size_ = size;
    if (size <= kShort) {
        std::memcpy(short_, utf8, size);
        short_[size] = '\0';
    } else {
        short_[0] = '\0';
        long_.assign(utf8, size);
    }
}

namespace {

pugi::xml_node CXMLTree::FindChild(const XmlName* tag, int index) {
    if (index < 0 || !current_) return pugi::xml_node();
    if (levels_.size() <= depth_) levels_.resize(depth_ + 1);
    Level& level = levels_[depth_];
    if (level.parent != current_) {
        level.parent = current_;
        level.used = 0;
        level.nextVictim = 0;
    }
    const char* name = tag == nullptr ? nullptr : tag->c_str();
    StepMemo* memo = nullptr;
    for (size_t i = 0; i < level.used; ++i) {
        StepMemo& candidate = level.memos[i];
        if (tag == nullptr
                ? candidate.anyTag
                : (!candidate.anyTag && std::string_view(candidate.tag) ==
                                            std::string_view(tag->c_str(), tag->size()))) {
            memo = &candidate;
            break;
        }
    }
    pugi::xml_node node;
    int at = 0;
    if (memo != nullptr && memo->index <= index) {
        node = memo->node;
        at = memo->index;
    } else {
        // Backwards (or first): scan from the first child.
        node = FirstMatching(current_, name);
    }
    while (node && at < index) {
        node = NextMatching(node, name);
        ++at;
    }
    if (!node) return node;
    if (memo == nullptr) {
        if (level.used < level.memos.size()) {
            memo = &level.memos[level.used++];
        } else {
            memo = &level.memos[level.nextVictim];
            level.nextVictim = (level.nextVictim + 1) % level.memos.size();
        }
        memo->anyTag = tag == nullptr;
        if (tag == nullptr) {
            memo->tag.clear();
        } else {
            memo->tag.assign(tag->c_str(), tag->size());
        }
    }
    memo->index = index;
    memo->node = node;
    return node;
}

void CXMLTree::Enter(pugi::xml_node child) {
    current_ = child;
    ++depth_;
}

bool CXMLTree::IntoChild(const XmlName& tag, int index) {
    const pugi::xml_node child = FindChild(&tag, index);
    if (!child) return false;
    Enter(child);
    return true;
}

bool CXMLTree::FindElement(const XmlName& tag) {
    const pugi::xml_node root = document_.document_element();
    if (!root || std::strcmp(root.name(), tag.c_str()) != 0) return false;
    current_ = root;
    depth_ = 1;
    return true;
}

bool CXMLTree::IntoChildAt(int index) {
    const pugi::xml_node child = FindChild(nullptr, index);
    if (!child) return false;
    Enter(child);
    return true;
}

void CXMLTree::GetChildCount(int& count) {
    int elements = 0;
    for (pugi::xml_node child = current_.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) ++elements;
    }
    if (elements == 0 && current_.type() == pugi::node_element && ElementText(current_)) {
        elements = 1;
    }
    count = elements;
}

bool CXMLTree::GetNamedChildCount(const XmlName& tag, int& count) {
    if (current_.type() != pugi::node_element) return false;
    const char* name = tag.c_str();
    int matching = 0;
    for (pugi::xml_node child = FirstMatching(current_, name); child;
         child = NextMatching(child, name)) {
        ++matching;
    }
    count = matching;
    return true;
}

bool CXMLTree::GetText(CString& text) {
    if (current_.type() != pugi::node_element) return false;
    const char* value = ElementText(current_);
    if (value == nullptr) return false;
    text = WideText(value, CTextInterner::Current());
    return true;
}

void CXMLTree::GetTagName(CString& tag) {
    if (current_.type() != pugi::node_element) {
        tag = CString();
        return;
    }
    tag = WideText(current_.name(), CTextInterner::Current());
}

void CXMLTree::GetAttributes(XMLAttributeList& attributes) {
    CTextInterner* const interner = CTextInterner::Current();
    for (pugi::xml_attribute attribute = current_.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        attributes.emplace_back(WideText(attribute.name(), interner),
                                WideText(attribute.value(), interner));
    }
}

bool CXMLTree::GetAttribute(const XmlName& name, CString& value) {
    if (current_.type() != pugi::node_element) return false;
    const pugi::xml_attribute attribute = current_.attribute(name.c_str());
    if (!attribute) return false;
    value = WideText(attribute.value(), CTextInterner::Current());
    return true;
}

bool CXMLTree::GetAttributeUnshared(const XmlName& name, CString& value) {
    if (current_.type() != pugi::node_element) return false;
    const pugi::xml_attribute attribute = current_.attribute(name.c_str());
    if (!attribute) return false;
    value = WideText(attribute.value(), nullptr);
    return true;
}

bool CXMLTree::AttributeEquals(const XmlName& name, const char* ascii) {
    if (current_.type() != pugi::node_element) return false;
    const pugi::xml_attribute attribute = current_.attribute(name.c_str());
    // Such a text decodes to itself alone: any other byte decodes to a character it lacks.
    return attribute && std::strcmp(attribute.value(), ascii) == 0;
}

bool CXMLTree::SetAttribute(const XmlName& name, const CString& value) {
    if (current_.type() != pugi::node_element) return false;
    const std::string utf8Name = name.utf8();
    if (!IsWritableName(utf8Name)) return false;
    pugi::xml_attribute attribute = current_.attribute(utf8Name.c_str());
    if (!attribute) attribute = current_.append_attribute(utf8Name.c_str());
    return attribute && attribute.set_value(Utf8FromWide(value).c_str());
}

void CXMLTree::GetChildTextAt(int index, CString& text) {
    const pugi::xml_node child = FindChild(nullptr, index);
    if (!child) return;
    if (const char* value = ElementText(child)) text = WideText(value, CTextInterner::Current());
}

bool CXMLTree::GetChildText(const XmlName& tag, CString& text) {
    // A first-child lookup never continues, so it needs no step memo.
    const pugi::xml_node child = current_ ? FirstMatching(current_, tag.c_str()) : pugi::xml_node();
    if (!child) return false;
    const char* value = ElementText(child);
    if (value == nullptr) return false;
    text = WideText(value, CTextInterner::Current());
    return true;
}

void CXMLTree::GetChildTexts(const XmlName* tags, size_t count, CString* texts, bool* found,
                             XmlChild* children) {
    std::fill(found, found + count, false);
    if (children) std::fill(children, children + count, XmlChild{current_.internal_object()});
    if (!current_) return;
    CTextInterner* const interner = CTextInterner::Current();
    // A handful of tags at a time; any beyond the first 64 are looked up one by one.
    for (size_t i = 64; i < count; ++i) {
        found[i] = GetChildText(tags[i], texts[i]);
        if (children) children[i].node = FirstMatching(current_, tags[i].c_str()).internal_object();
    }
    count = std::min<size_t>(count, 64);
    // Only the first child of each tag counts, found (with a text) or not.
    std::uint64_t seen = 0;
    size_t remaining = count;
    for (pugi::xml_node child = current_.first_child(); child && remaining > 0;
         child = child.next_sibling()) {
        // Texts have no name, so only a named child is compared; a named child that is no
        // element is a processing instruction (trees for editing keep them).
        const char* name = child.name();
        if (name[0] == '\0') continue;
        for (size_t i = 0; i < count; ++i) {
            const char* tag = tags[i].c_str();
            if ((seen >> i & 1) || tag[0] != name[0] || std::strcmp(tag, name) != 0) {
                continue;
            }
            if (child.type() != pugi::node_element) break;
            seen |= std::uint64_t{1} << i;
            --remaining;
            if (children) children[i].node = child.internal_object();
            if (const char* value = ElementText(child)) {
                texts[i] = WideText(value, interner);
                found[i] = true;
            }
            break;
        }
    }
}

bool CXMLTree::IntoFound(const XmlChild& child) {
    if (child.node == nullptr || !current_ || child.parent != current_.internal_object()) {
        return false;
    }
    Enter(pugi::xml_node(static_cast<pugi::xml_node_struct*>(const_cast<void*>(child.node))));
    return true;
}

void CXMLTree::OutOfElement() {
    if (current_.type() != pugi::node_element) return;
    current_ = current_.parent();
    --depth_;
}

bool CXMLTree::IndexPositions() {
    if (positions_) return true;
    if (!loaded_ || positionsUnavailable_) return false;
    // The file must decode to as many bytes as were parsed, and Locate compares the name it
    // points at.
    positionsUnavailable_ = true;
    try {
        auto lines = std::make_unique<CSourceLines>();
        if (!lines->Load(path_) || lines->Text().size() + 1 != buffer_.size()) return false;
        positions_ = std::move(lines);
    } catch (const std::bad_alloc&) {
        return false;
    }
    positionsUnavailable_ = false;
    return true;
}

// Where `name`, a name of the parsed document, stands in the loaded text; npos for a name set
// after loading, which is not in the buffer.
size_t CXMLTree::NameOffset(const char* name) const {
    const auto base = reinterpret_cast<std::uintptr_t>(buffer_.data());
    const auto at = reinterpret_cast<std::uintptr_t>(name);
    if (at < base || at >= base + buffer_.size()) return std::string::npos;
    return static_cast<size_t>(at - base);
}

// Whether `name`, a name of the parsed document, stands at offset `at` in the text as read
// again; indexes the lines on the first call.
bool CXMLTree::NameStandsAt(const char* name, size_t at) {
    if (!IndexPositions()) return false;
    const std::string& text = positions_->Text();
    const size_t length = std::strlen(name);
    return at <= text.size() && text.size() - at >= length && text.compare(at, length, name) == 0;
}

size_t CXMLTree::GetElementOffset() {
    if (current_.type() != pugi::node_element) return kNoOffset;
    const ptrdiff_t offset = current_.offset_debug();
    return offset < 1 ? kNoOffset : static_cast<size_t>(offset);
}

bool CXMLTree::GetPosition(int& line, int& column) {
    const size_t offset = GetElementOffset();
    return offset != kNoOffset && NameStandsAt(current_.name(), offset) &&
           positions_->LocateElement(offset, line, column);
}

bool CXMLTree::GetAttributePosition(const XmlName& name, int& line, int& column) {
    if (current_.type() != pugi::node_element) return false;
    const pugi::xml_attribute attribute = current_.attribute(name.c_str());
    if (!attribute) return false;
    const size_t at = NameOffset(attribute.name());
    return at != std::string::npos && NameStandsAt(attribute.name(), at) &&
           positions_->Locate(at, line, column);
}

}  // namespace

std::unique_ptr<IXMLTree> CXMLTreeCreator::Allocate() { return std::make_unique<CXMLTree>(false); }

std::unique_ptr<IXMLTree> CXMLTreeCreator::AllocateForEditing() {
    return std::make_unique<CXMLTree>(true);
}

}  // namespace TOOLS
