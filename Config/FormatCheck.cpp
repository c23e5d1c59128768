#include "FormatCheck.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <vector>

#include "Tools.h"
#include "XMLTree.h"

namespace CONFIG {

namespace {

// Edits that turn one name into the other; swapping two neighbours counts as one edit.
size_t EditDistance(std::wstring_view a, std::wstring_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t substitution = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, substitution});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

CString Quoted(const CString& text) { return L"\"" + text + L"\""; }

const CString* FindAttribute(const TOOLS::XMLAttributeList& attributes, const wchar_t* name) {
    for (const auto& [key, value] : attributes) {
        if (key == name) return &value;
    }
    return nullptr;
}

// Namespace declarations and the schema-instance attributes that point an editor at a schema
// ("xsi:noNamespaceSchemaLocation") serve editors and validators. Readers pass them over, except
// where every attribute is a parameter.
bool IsForValidators(const CString& name) {
    const std::wstring_view text = name.str();
    return text == L"xmlns" || text.rfind(L"xmlns:", 0) == 0 || text.rfind(L"xsi:", 0) == 0;
}

bool IsListed(const ElementFormat& format, const CString& name) {
    return std::any_of(format.attributes.begin(), format.attributes.end(),
                       [&](const AttributeFormat& attribute) { return name == attribute.name; });
}

// Whether a child of an element with `parentAttributes` may be `child` with this tag.
bool TagMatches(const ElementFormat& child, const CString& tag,
                const TOOLS::XMLAttributeList& parentAttributes) {
    switch (child.tagRule) {
        case TagRule::kFixed:
            return tag == child.tag;
        case TagRule::kOneOf:
            return std::any_of(child.names.begin(), child.names.end(),
                               [&](const NamedCode& entry) { return tag == entry.name; });
        case TagRule::kAny:
            return true;
        case TagRule::kParentAttribute: {
            const CString* value = FindAttribute(parentAttributes, child.tag);
            return value != nullptr && !value->IsEmpty() && tag == *value;
        }
    }
    return false;
}

// The tags `parent` reads among its children, for suggestions.
std::vector<CString> ChildTags(const ElementFormat& parent,
                               const TOOLS::XMLAttributeList& parentAttributes) {
    std::vector<CString> tags;
    for (const ElementFormat* child : parent.children) {
        switch (child->tagRule) {
            case TagRule::kFixed:
                tags.emplace_back(child->tag);
                break;
            case TagRule::kOneOf:
                for (const NamedCode& entry : child->names) tags.emplace_back(entry.name);
                break;
            case TagRule::kParentAttribute:
                if (const CString* value = FindAttribute(parentAttributes, child->tag)) {
                    tags.push_back(*value);
                }
                break;
            case TagRule::kAny:
                break;
        }
    }
    return tags;
}

// The tags of the elements under which an element tagged `tag` is read, anywhere in the
// format below `element`, in table order.
void CollectParentsOf(const CString& tag, const ElementFormat& element,
                      std::set<const ElementFormat*>& visited, std::vector<CString>& parents) {
    if (!visited.insert(&element).second) return;
    for (const ElementFormat* child : element.children) {
        if (child->tagRule == TagRule::kFixed && tag == child->tag &&
            element.tagRule == TagRule::kFixed &&
            std::find(parents.begin(), parents.end(), CString(element.tag)) == parents.end()) {
            parents.emplace_back(element.tag);
        }
        CollectParentsOf(tag, *child, visited, parents);
    }
}

CString JoinedAlternatives(const std::vector<CString>& names) {
    CString joined;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) joined += i + 1 == names.size() ? L" or " : L", ";
        joined += Quoted(names[i]);
    }
    return joined;
}

class CDocumentChecker {
public:
    CDocumentChecker(TOOLS::IXMLTree& tree, const FileFormat& format,
                     const std::function<void(const FormatIssue&)>& report)
        : m_tree(tree), m_format(format), m_report(report) {}

    void Run();

private:
    void CheckElement(const ElementFormat& format, const CString& tag, int depth);
    void CheckAttributes(const ElementFormat& format, const CString& tag,
                         const TOOLS::XMLAttributeList& attributes);
    void ReportUnknownTag(const ElementFormat& parent, const TOOLS::XMLAttributeList& attributes,
                          const CString& tag);
    // Reports an issue at the current element, or at its attribute `attribute` when given.
    void Report(const wchar_t* code, const CString& text, const CString& message,
                const CString* attribute = nullptr);
    CString InKind() const { return CString(L" in ") + m_format.description; }

    TOOLS::IXMLTree& m_tree;
    const FileFormat& m_format;
    const std::function<void(const FormatIssue&)>& m_report;
    std::vector<CString> m_parameterNames;  // filled when a suggestion first needs them
};

void CDocumentChecker::Run() {
    // Whatever the cursor stands on, above the root is one OutOfElement per level away.
    for (CString tag;; m_tree.OutOfElement()) {
        m_tree.GetTagName(tag);
        if (tag.IsEmpty()) break;
    }
    int topLevel = 0;
    m_tree.GetChildCount(topLevel);
    if (!m_tree.IntoChildAt(0)) return;
    CString tag;
    m_tree.GetTagName(tag);
    const ElementFormat& root = *m_format.root;
    if (tag == root.tag) {
        CheckElement(root, tag, 1);
    } else {
        Report(kUnknownRootCode, tag,
               L"unknown root " + Quoted(tag) + InKind() + L"; it must be " + Quoted(root.tag));
    }
    m_tree.OutOfElement();
    // Readers find the first element of the file and never look past it.
    for (int i = 1; i < topLevel; ++i) {
        if (!m_tree.IntoChildAt(i)) continue;
        m_tree.GetTagName(tag);
        Report(kUnknownTagCode, tag,
               L"element " + Quoted(tag) + L" after the root is not read" + InKind());
        m_tree.OutOfElement();
    }
}

void CDocumentChecker::CheckElement(const ElementFormat& format, const CString& tag, int depth) {
    TOOLS::XMLAttributeList attributes;
    m_tree.GetAttributes(attributes);
    CheckAttributes(format, tag, attributes);
    if (format.anyContent) return;

    // Children read only when no sibling of a certain tag stands beside them.
    std::vector<bool> unread(format.children.size, false);
    for (size_t i = 0; i < format.children.size; ++i) {
        if (const wchar_t* sibling = format.children.data[i]->unreadBeside) {
            int count = 0;
            m_tree.GetNamedChildCount(sibling, count);
            unread[i] = count > 0;
        }
    }
    int count = 0;
    m_tree.GetChildCount(count);
    CString childTag;
    for (int i = 0; i < count; ++i) {
        // An element holding only text counts one child but has none to enter.
        if (!m_tree.IntoChildAt(i)) continue;
        m_tree.GetTagName(childTag);
        size_t match = 0;
        while (match < format.children.size &&
               !TagMatches(*format.children.data[match], childTag, attributes)) {
            ++match;
        }
        if (match == format.children.size) {
            ReportUnknownTag(format, attributes, childTag);
        } else if (unread[match]) {
            const CString sibling = format.children.data[match]->unreadBeside;
            Report(kUnknownTagCode, childTag,
                   Quoted(childTag) + L" is not read beside " + Quoted(sibling) + InKind() +
                       L"; move it into " + Quoted(sibling));
        } else if (depth < TOOLS::kMaxReadDepth) {
            CheckElement(*format.children.data[match], childTag, depth + 1);
        }
        m_tree.OutOfElement();
    }
}

void CDocumentChecker::CheckAttributes(const ElementFormat& format, const CString& tag,
                                       const TOOLS::XMLAttributeList& attributes) {
    // "unknown attribute "X" of "Tag" in a ... file", with the likely name when one is close.
    const auto reportUnknown = [&](const wchar_t* code, const wchar_t* what, const CString& name,
                                   const std::vector<CString>& listed) {
        CString message =
            L"unknown " + CString(what) + L" " + Quoted(name) + L" of " + Quoted(tag) + InKind();
        const CString closest = ClosestName(name, listed);
        if (!closest.IsEmpty()) message += L"; did you mean " + Quoted(closest) + L"?";
        Report(code, name, message, &name);
    };
    for (const auto& [name, value] : attributes) {
        if (IsListed(format, name)) continue;
        if (format.otherAttributes != OtherAttributes::kParameterNames && IsForValidators(name)) {
            continue;
        }
        std::vector<CString> listed;
        for (const AttributeFormat& attribute : format.attributes) {
            listed.emplace_back(attribute.name);
        }
        switch (format.otherAttributes) {
            case OtherAttributes::kNone:
                reportUnknown(kUnknownAttributeCode, L"attribute", name, listed);
                break;
            case OtherAttributes::kParameterNames: {
                if (TOOLS::CKADOHandler::GetParamTypeByName(name) !=
                    KADO::Product::InvalidParameterType) {
                    break;
                }
                if (m_parameterNames.empty()) {
                    for (const NamedValue& entry : TOOLS::CKADOHandler::GetParamNames()) {
                        m_parameterNames.push_back(entry.name);
                    }
                }
                listed.insert(listed.end(), m_parameterNames.begin(), m_parameterNames.end());
                reportUnknown(kUnknownParamCode, L"parameter", name, listed);
                break;
            }
            case OtherAttributes::kAny: {
                // Kept unread, unless it looks like a slip of a read attribute that is absent.
                const CString closest = ClosestName(name, listed);
                if (closest.IsEmpty() || FindAttribute(attributes, closest.GetString())) break;
                Report(kUnknownAttributeCode, name,
                       L"unknown attribute " + Quoted(name) + L" of " + Quoted(tag) + InKind() +
                           L"; did you mean " + Quoted(closest) + L"?",
                       &name);
                break;
            }
        }
    }
}

void CDocumentChecker::ReportUnknownTag(const ElementFormat& parent,
                                        const TOOLS::XMLAttributeList& attributes,
                                        const CString& tag) {
    CString message = L"unknown tag " + Quoted(tag) + InKind();
    const CString closest = ClosestName(tag, ChildTags(parent, attributes));
    if (!closest.IsEmpty()) {
        message += L"; did you mean " + Quoted(closest) + L"?";
    } else {
        // A known element in the wrong place.
        std::set<const ElementFormat*> visited;
        std::vector<CString> parents;
        CollectParentsOf(tag, *m_format.root, visited, parents);
        if (!parents.empty()) message += L"; it is read in " + JoinedAlternatives(parents);
    }
    Report(kUnknownTagCode, tag, message);
}

void CDocumentChecker::Report(const wchar_t* code, const CString& text, const CString& message,
                              const CString* attribute) {
    FormatIssue issue;
    issue.code = code;
    issue.text = text;
    issue.message = message;
    int line = 0;
    int column = 0;
    const bool located = attribute != nullptr
                             ? m_tree.GetAttributePosition(*attribute, line, column)
                             : m_tree.GetPosition(line, column);
    if (located) {
        issue.line = line;
        issue.column = column;
    }
    m_report(issue);
}

}  // namespace

// The candidate closest to `name`, when it is close enough to be a slip of the keyboard
// (one edit in a short name, two in a longer one); empty otherwise.
CString ClosestName(const CString& name, const std::vector<CString>& candidates) {
    const size_t allowed = name.GetLength() <= 4 ? 1 : 2;
    CString best;
    size_t bestDistance = allowed + 1;
    for (const CString& candidate : candidates) {
        const size_t distance = EditDistance(name.str(), candidate.str());
        if (distance > 0 && distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

void CheckDocument(TOOLS::IXMLTree& tree, FileKind kind,
                   const std::function<void(const FormatIssue&)>& report) {
    CDocumentChecker(tree, GetFileFormat(kind), report).Run();
}

}  // namespace CONFIG
