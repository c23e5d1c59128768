#include "XmlSchema.h"

#include <siteconfig/SiteConfigSchemas.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Tools.h"

namespace CONFIG {

namespace {

// `text` as the value of a quoted attribute, or as element text when `inText`.
std::string Escaped(std::string_view text, bool inText = false) {
    std::string out;
    for (const char c : text) {
        if (inText && c == '"') {
            out += c;
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Quoted(const std::string& text) { return "\"" + Escaped(text) + "\""; }

// Whether `name` can be an attribute's name at all; one that cannot never stands in a file, and
// declaring it would make the schema invalid. Letters beyond ASCII are taken as they come: the
// name tables hold words, not punctuation.
bool IsAttributeName(std::wstring_view name) {
    if (name.empty()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c >= 0x80 || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_') {
            continue;
        }
        const bool inside = c == L'-' || c == L'.' || (c >= L'0' && c <= L'9');
        if (i == 0 || !inside) return false;
    }
    return true;
}

class CSchemaWriter {
public:
    explicit CSchemaWriter(const FileFormat& format) : m_format(format) {}

    std::string Write();

private:
    // Gives a named type to each element that contains itself, so that declarations end.
    void NameRecursiveTypes(const ElementFormat& element,
                            std::vector<const ElementFormat*>& enclosing,
                            std::set<const ElementFormat*>& visited);
    void DeclareElement(const std::string& name, const ElementFormat& element, bool optional,
                        int indent);
    // The body of an element's complex type: its children, then its attributes.
    void WriteTypeBody(const ElementFormat& element, int indent);
    void WriteChildren(const ElementFormat& element, int indent);
    void WriteAttributes(const ElementFormat& element, int indent);
    // Whether the element is only text: its declaration names xs:string.
    static bool IsPlainText(const ElementFormat& element);
    static const char* MixedAttribute(const ElementFormat& element);
    void Line(int indent, const std::string& text);

    const FileFormat& m_format;
    std::map<const ElementFormat*, std::string> m_typeNames;
    std::vector<const ElementFormat*> m_namedTypes;  // in the order they were found
    std::string m_out;
};

std::string CSchemaWriter::Write() {
    std::vector<const ElementFormat*> enclosing;
    std::set<const ElementFormat*> visited;
    NameRecursiveTypes(*m_format.root, enclosing, visited);

    const std::string root = TOOLS::Utf8FromWide(m_format.root->tag);
    m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Line(0, "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">");
    Line(1, "<xs:annotation>");
    Line(2, "<xs:documentation>Root \"" + Escaped(root, true) +
                "\": " + Escaped(TOOLS::Utf8FromWide(m_format.files), true) +
                ". Children may stand in any order; every element and attribute is "
                "optional.</xs:documentation>");
    Line(1, "</xs:annotation>");
    DeclareElement(root, *m_format.root, false, 1);
    for (const ElementFormat* element : m_namedTypes) {
        Line(1, "<xs:complexType name=" + Quoted(m_typeNames[element]) + MixedAttribute(*element) +
                    ">");
        WriteTypeBody(*element, 2);
        Line(1, "</xs:complexType>");
    }
    Line(0, "</xs:schema>");
    return m_out;
}

void CSchemaWriter::NameRecursiveTypes(const ElementFormat& element,
                                       std::vector<const ElementFormat*>& enclosing,
                                       std::set<const ElementFormat*>& visited) {
    if (std::find(enclosing.begin(), enclosing.end(), &element) != enclosing.end()) {
        if (m_typeNames.count(&element) != 0) return;
        // "PropertyType"; a second type of the same tag gets a number.
        const std::string base = TOOLS::Utf8FromWide(element.tag != nullptr ? element.tag : L"");
        std::string name = base + "Type";
        for (int n = 2; std::any_of(m_typeNames.begin(), m_typeNames.end(),
                                    [&](const auto& entry) { return entry.second == name; });
             ++n) {
            name = base + "Type" + std::to_string(n);
        }
        m_typeNames[&element] = name;
        m_namedTypes.push_back(&element);
        return;
    }
    if (!visited.insert(&element).second) return;
    enclosing.push_back(&element);
    for (const ElementFormat* child : element.children) {
        NameRecursiveTypes(*child, enclosing, visited);
    }
    enclosing.pop_back();
}

bool CSchemaWriter::IsPlainText(const ElementFormat& element) {
    return element.text && element.children.empty() && !element.anyContent &&
           element.attributes.empty() && element.otherAttributes == OtherAttributes::kNone;
}

const char* CSchemaWriter::MixedAttribute(const ElementFormat& element) {
    return element.anyContent || (element.text && !element.children.empty()) ? " mixed=\"true\""
                                                                             : "";
}

void CSchemaWriter::DeclareElement(const std::string& name, const ElementFormat& element,
                                   bool optional, int indent) {
    std::string start = "<xs:element name=" + Quoted(name);
    const auto named = m_typeNames.find(&element);
    if (named != m_typeNames.end()) start += " type=" + Quoted(named->second);
    if (IsPlainText(element)) start += " type=\"xs:string\"";
    if (optional) start += " minOccurs=\"0\"";
    if (named != m_typeNames.end() || IsPlainText(element)) {
        Line(indent, start + "/>");
        return;
    }
    Line(indent, start + ">");
    // Text with attributes and no children is simple content extended by the attributes.
    if (element.text && element.children.empty() && !element.anyContent) {
        Line(indent + 1, "<xs:complexType>");
        Line(indent + 2, "<xs:simpleContent>");
        Line(indent + 3, "<xs:extension base=\"xs:string\">");
        WriteAttributes(element, indent + 4);
        Line(indent + 3, "</xs:extension>");
        Line(indent + 2, "</xs:simpleContent>");
        Line(indent + 1, "</xs:complexType>");
    } else {
        Line(indent + 1, std::string("<xs:complexType") + MixedAttribute(element) + ">");
        WriteTypeBody(element, indent + 2);
        Line(indent + 1, "</xs:complexType>");
    }
    Line(indent, "</xs:element>");
}

void CSchemaWriter::WriteTypeBody(const ElementFormat& element, int indent) {
    WriteChildren(element, indent);
    WriteAttributes(element, indent);
}

void CSchemaWriter::WriteChildren(const ElementFormat& element, int indent) {
    const auto anything = [&](const char* documentation) {
        Line(indent, "<xs:sequence>");
        Line(indent + 1,
             "<xs:any processContents=\"skip\" minOccurs=\"0\" maxOccurs=\"unbounded\">");
        Line(indent + 2, "<xs:annotation>");
        Line(indent + 3,
             "<xs:documentation>" + Escaped(documentation, true) + "</xs:documentation>");
        Line(indent + 2, "</xs:annotation>");
        Line(indent + 1, "</xs:any>");
        Line(indent, "</xs:sequence>");
    };
    if (element.anyContent) {
        anything("Kept as it is, never read.");
        return;
    }
    if (element.children.empty()) return;

    // A wildcard beside named elements would make a name match two particles, which XSD 1.0
    // forbids: a wildcard child leaves every child unchecked.
    for (const ElementFormat* child : element.children) {
        if (child->tagRule == TagRule::kAny) {
            anything("Any tag.");
            return;
        }
        if (child->tagRule == TagRule::kParentAttribute) {
            const std::string attribute = TOOLS::Utf8FromWide(child->tag);
            anything(("Tagged with the value of the attribute \"" + attribute + "\".").c_str());
            return;
        }
    }

    // The readers take the first child format a tag matches, as the format check does.
    std::vector<std::pair<std::string, const ElementFormat*>> declarations;
    const auto add = [&](const wchar_t* tag, const ElementFormat* child) {
        if (tag == nullptr || *tag == L'\0') return;
        std::string name = TOOLS::Utf8FromWide(tag);
        if (std::none_of(declarations.begin(), declarations.end(),
                         [&](const auto& entry) { return entry.first == name; })) {
            declarations.emplace_back(std::move(name), child);
        }
    };
    for (const ElementFormat* child : element.children) {
        if (child->tagRule == TagRule::kFixed) add(child->tag, child);
        if (child->tagRule == TagRule::kOneOf) {
            for (const NamedCode& entry : child->names) add(entry.name, child);
        }
    }
    // Readers take children in any order. When each is read once, xs:all says so (a second one
    // is not read); a list of repeated children allows every child any number of times.
    const bool single = std::none_of(element.children.begin(), element.children.end(),
                                     [](const ElementFormat* child) { return child->repeated; });
    Line(indent, single ? "<xs:all>" : "<xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\">");
    for (const auto& [name, child] : declarations) {
        DeclareElement(name, *child, single, indent + 1);
    }
    Line(indent, single ? "</xs:all>" : "</xs:choice>");
}

void CSchemaWriter::WriteAttributes(const ElementFormat& element, int indent) {
    std::set<std::wstring> declared;
    const auto declare = [&](std::wstring_view name) {
        if (!IsAttributeName(name) || !declared.emplace(name).second) return;
        Line(indent,
             "<xs:attribute name=" + Quoted(TOOLS::Utf8FromWide(name)) + " type=\"xs:string\"/>");
    };
    for (const AttributeFormat& attribute : element.attributes) declare(attribute.name);
    switch (element.otherAttributes) {
        case OtherAttributes::kNone:
            break;
        case OtherAttributes::kParameterNames:
            for (const NamedValue& parameter : TOOLS::CKADOHandler::GetParamNames()) {
                declare(parameter.name.str());
            }
            break;
        case OtherAttributes::kAny:
            Line(indent, "<xs:anyAttribute processContents=\"skip\"/>");
            break;
    }
}

void CSchemaWriter::Line(int indent, const std::string& text) {
    m_out.append(static_cast<size_t>(indent) * 2, ' ');
    m_out += text;
    m_out += '\n';
}

}  // namespace

std::string WriteSchema(const FileFormat& format) { return CSchemaWriter(format).Write(); }

std::vector<SchemaKind> GetSchemaKinds() {
    std::vector<SchemaKind> kinds;
    for (const FileFormat& format : GetFileFormats()) {
        kinds.push_back({format.id, std::string(format.id) + ".xsd",
                         TOOLS::Utf8FromWide(format.root->tag), TOOLS::Utf8FromWide(format.files)});
    }
    return kinds;
}

bool GetSchema(const std::string& name, std::string& xsd) {
    for (const FileFormat& format : GetFileFormats()) {
        if (name == format.id) {
            xsd = WriteSchema(format);
            return true;
        }
    }
    return false;
}

}  // namespace CONFIG
