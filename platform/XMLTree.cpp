#include "XMLTree.h"

#include <array>
#include <cstring>
#include <new>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "Encoding.h"
#include "FileSystem.h"
#include "LogHelper.h"

namespace TOOLS {
namespace {

// Comments, processing instructions, the document type and whitespace between elements are
// kept so that a saved document differs from the file only where it was changed. Line ends are
// left as read for the same reason (texts are normalised when they are handed out). The
// declaration is skipped by the parser and kept verbatim beside the tree.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_ws_pcdata |
    pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype | pugi::parse_fragment;

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

// Hands a text of the document out as a wide string, line ends as LF.
CString WideText(const char* text) {
    const size_t length = std::strlen(text);
    if (std::memchr(text, '\r', length) == nullptr) return WideFromUtf8(text, length);
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

bool Matches(pugi::xml_node node, const std::string* tag) {
    return node.type() == pugi::node_element &&
           (tag == nullptr || std::strcmp(node.name(), tag->c_str()) == 0);
}

pugi::xml_node NextMatching(pugi::xml_node node, const std::string* tag) {
    while (node && !Matches(node, tag)) node = node.next_sibling();
    return node;
}

class CXMLTree : public IXMLTree {
public:
    CXMLTree() : current_(document_) {}

    bool LoadFile(const CString& path) override;
    bool SaveFile(const CString& path) override;
    bool IntoChild(const CString& tag, int index) override;
    bool FindElement(const CString& tag) override;
    bool IntoChildAt(int index) override;
    void GetChildCount(int& count) override;
    bool GetNamedChildCount(const CString& tag, int& count) override;
    bool GetText(CString& text) override;
    void GetTagName(CString& tag) override;
    void GetAttributes(XMLAttributeList& attributes) override;
    bool GetAttribute(const CString& name, CString& value) override;
    bool SetAttribute(const CString& name, const CString& value) override;
    void GetChildTextAt(int index, CString& text) override;
    bool GetChildText(const CString& tag, CString& text) override;
    void OutOfElement() override;

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

    void Reset();
    void Diagnose(const CString& path, int line, int column, const CString& message);
    const std::string& Utf8Tag(const CString& tag);
    pugi::xml_node FindChild(const std::string* tag, int index);
    void Enter(pugi::xml_node child);

    std::unique_ptr<ScopedLogContext> context_;
    std::string buffer_;  // the decoded text the document was parsed from, in place
    pugi::xml_document document_;
    DocumentEncoding encoding_;
    std::string declaration_;  // the XML declaration exactly as read, or empty
    bool loaded_ = false;
    pugi::xml_node current_;
    size_t depth_ = 0;  // 0 above the root, 1 on the root
    std::vector<Level> levels_;
    std::string tagScratch_;
};

void CXMLTree::Reset() {
    document_.reset();
    buffer_.clear();
    declaration_.clear();
    encoding_ = DocumentEncoding();
    loaded_ = false;
    current_ = document_;
    depth_ = 0;
    levels_.clear();
}

void CXMLTree::Diagnose(const CString& path, int line, int column, const CString& message) {
    ReportDiagnostic(path, line, column, message);
}

bool CXMLTree::LoadFile(const CString& path) {
    Reset();
    context_.reset();
    context_ = std::make_unique<ScopedLogContext>(path);
    try {
        const std::string nativePath = NativePath(path);
        std::string error;
        if (!ReadWholeFile(nativePath, buffer_, error)) {
            CString message;
            message.Format(L"cannot open %s: %s", path, WideFromUtf8(error));
            Diagnose(path, 0, 0, message);
            return false;
        }
        DecodeFailure failure;
        if (!DecodeXmlDocument(buffer_, encoding_, failure)) {
            CString message;
            if (failure.line > 0) {
                message.Format(L"cannot decode %s:%d:%d: %s", path, failure.line, failure.column,
                               WideFromUtf8(failure.message));
            } else {
                message.Format(L"cannot decode %s: %s", path, WideFromUtf8(failure.message));
            }
            Diagnose(path, failure.line, failure.column, message);
            Reset();
            return false;
        }
        if (buffer_.compare(0, 5, "<?xml") == 0) {
            const size_t end = buffer_.find("?>");
            if (end != std::string::npos) declaration_ = buffer_.substr(0, end + 2);
        }
        // The terminating NUL belongs to the parsed buffer, so that the parser needs no last
        // character of the text for its own end mark.
        buffer_.push_back('\0');
        const pugi::xml_parse_result result = document_.load_buffer_inplace(
            &buffer_[0], buffer_.size(), kParseOptions, pugi::encoding_utf8);
        if (!result || !document_.document_element()) {
            const pugi::xml_parse_status status =
                result ? pugi::status_no_document_element : result.status;
            int line = 0;
            int column = 0;
            if (result) {
                // No position for a missing root.
            } else {
                // Parsing in place has overwritten the text; locate the offset in a fresh copy.
                std::string fresh;
                DocumentEncoding ignored;
                DecodeFailure unused;
                if (ReadWholeFile(nativePath, fresh, error) &&
                    DecodeXmlDocument(fresh, ignored, unused)) {
                    LineAndColumnAt(fresh.data(), fresh.size(), static_cast<size_t>(result.offset),
                                    line, column);
                }
            }
            CString message;
            if (line > 0) {
                message.Format(L"cannot parse %s:%d:%d: %s", path, line, column,
                               WideFromUtf8(std::string(ParseStatusText(status))));
            } else {
                message.Format(L"cannot parse %s: %s", path,
                               WideFromUtf8(std::string(ParseStatusText(status))));
            }
            Diagnose(path, line, column, message);
            Reset();
            return false;
        }
    } catch (const std::bad_alloc&) {
        CString message;
        message.Format(L"cannot load %s: out of memory", path);
        Diagnose(path, 0, 0, message);
        Reset();
        return false;
    }
    loaded_ = true;
    current_ = document_;
    return true;
}

bool CXMLTree::SaveFile(const CString& path) {
    CString message;
    if (!loaded_) {
        // Writing an empty document would destroy whatever the file holds.
        message.Format(L"cannot save %s: no document loaded", path);
        Diagnose(path, 0, 0, message);
        return false;
    }
    std::string error;
    try {
        std::string text = declaration_;
        StringWriter writer(text);
        document_.save(writer, "", kSaveOptions, pugi::encoding_utf8);
        std::string bytes;
        if (EncodeXmlDocument(text, encoding_, bytes, error) &&
            ReplaceFileAtomically(NativePath(path), bytes, error)) {
            return true;
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    }
    message.Format(L"cannot save %s: %s", path, WideFromUtf8(error));
    Diagnose(path, 0, 0, message);
    return false;
}

const std::string& CXMLTree::Utf8Tag(const CString& tag) {
    tagScratch_.clear();
    AppendUtf8(tag.GetString(), static_cast<size_t>(tag.GetLength()), tagScratch_);
    return tagScratch_;
}

pugi::xml_node CXMLTree::FindChild(const std::string* tag, int index) {
    if (index < 0 || !current_) return pugi::xml_node();
    if (levels_.size() <= depth_) levels_.resize(depth_ + 1);
    Level& level = levels_[depth_];
    if (level.parent != current_) {
        level.parent = current_;
        level.used = 0;
        level.nextVictim = 0;
    }
    StepMemo* memo = nullptr;
    for (size_t i = 0; i < level.used; ++i) {
        StepMemo& candidate = level.memos[i];
        if (tag == nullptr ? candidate.anyTag : (!candidate.anyTag && candidate.tag == *tag)) {
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
        node = NextMatching(current_.first_child(), tag);
    }
    while (node && at < index) {
        node = NextMatching(node.next_sibling(), tag);
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
        memo->tag = tag == nullptr ? std::string() : *tag;
    }
    memo->index = index;
    memo->node = node;
    return node;
}

void CXMLTree::Enter(pugi::xml_node child) {
    current_ = child;
    ++depth_;
}

bool CXMLTree::IntoChild(const CString& tag, int index) {
    const pugi::xml_node child = FindChild(&Utf8Tag(tag), index);
    if (!child) return false;
    Enter(child);
    return true;
}

bool CXMLTree::FindElement(const CString& tag) {
    const pugi::xml_node root = document_.document_element();
    if (!root || std::strcmp(root.name(), Utf8Tag(tag).c_str()) != 0) return false;
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

bool CXMLTree::GetNamedChildCount(const CString& tag, int& count) {
    if (current_.type() != pugi::node_element) return false;
    const std::string& name = Utf8Tag(tag);
    int matching = 0;
    for (pugi::xml_node child = current_.first_child(); child; child = child.next_sibling()) {
        if (Matches(child, &name)) ++matching;
    }
    count = matching;
    return true;
}

bool CXMLTree::GetText(CString& text) {
    if (current_.type() != pugi::node_element) return false;
    const char* value = ElementText(current_);
    if (value == nullptr) return false;
    text = WideText(value);
    return true;
}

void CXMLTree::GetTagName(CString& tag) {
    if (current_.type() != pugi::node_element) {
        tag = CString();
        return;
    }
    tag = WideText(current_.name());
}

void CXMLTree::GetAttributes(XMLAttributeList& attributes) {
    for (pugi::xml_attribute attribute = current_.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        attributes.emplace_back(WideText(attribute.name()), WideText(attribute.value()));
    }
}

bool CXMLTree::GetAttribute(const CString& name, CString& value) {
    if (current_.type() != pugi::node_element) return false;
    const pugi::xml_attribute attribute = current_.attribute(Utf8Tag(name).c_str());
    if (!attribute) return false;
    value = WideText(attribute.value());
    return true;
}

bool CXMLTree::SetAttribute(const CString& name, const CString& value) {
    if (current_.type() != pugi::node_element || name.IsEmpty()) return false;
    const std::string utf8Name = Utf8Tag(name);
    pugi::xml_attribute attribute = current_.attribute(utf8Name.c_str());
    if (!attribute) attribute = current_.append_attribute(utf8Name.c_str());
    return attribute && attribute.set_value(Utf8FromWide(value).c_str());
}

void CXMLTree::GetChildTextAt(int index, CString& text) {
    const pugi::xml_node child = FindChild(nullptr, index);
    if (!child) return;
    if (const char* value = ElementText(child)) text = WideText(value);
}

bool CXMLTree::GetChildText(const CString& tag, CString& text) {
    const pugi::xml_node child = FindChild(&Utf8Tag(tag), 0);
    if (!child) return false;
    const char* value = ElementText(child);
    if (value == nullptr) return false;
    text = WideText(value);
    return true;
}

void CXMLTree::OutOfElement() {
    if (current_.type() != pugi::node_element) return;
    current_ = current_.parent();
    --depth_;
}

}  // namespace

bool CXMLTreeCreator::Allocate(std::unique_ptr<IXMLTree>& tree) {
    tree = std::make_unique<CXMLTree>();
    return true;
}

}  // namespace TOOLS
