#include "CheckSession.h"

#include <algorithm>
#include <memory>

#include "FormatCheck.h"
#include "ReportLines.h"
#include "SourceLines.h"

namespace CONFIG {
namespace {

thread_local CCheckSession* g_session = nullptr;

int LastOf(const CString& text, wchar_t ch) {
    for (int i = text.GetLength() - 1; i >= 0; --i) {
        if (text[i] == ch) return i;
    }
    return -1;
}

}  // namespace

CCheckSession::CCheckSession(bool extraChecks)
    : m_observing(this), m_previous(g_session), m_extraChecks(extraChecks) {
    g_session = this;
}

CCheckSession::~CCheckSession() { g_session = m_previous; }

CCheckSession* CCheckSession::Current() { return g_session; }

void CCheckSession::Add(FindingSeverity severity, const wchar_t* code, const CString& file,
                        int line, int column, const CString& message, const CString& text) {
    if (!m_extraChecks) return;
    m_findings.push_back({severity, CString(code), file, line, column, message, text});
}

void CCheckSession::OnReport(const TOOLS::LogReport& report) {
    const ReportMeaning* meaning = FindReportMeaning(report.file, report.line);
    CString message = meaning ? CString(meaning->meaning) : CString(L"check failed");
    if (!report.message.IsEmpty()) message = report.message + L": " + message;
    // The reader's cursor stands on the element whose check failed.
    int line = 0;
    int column = 0;
    if (TOOLS::ILogLocator* locator = TOOLS::CurrentLogLocator()) {
        if (!locator->GetPosition(line, column)) line = column = 0;
    }
    // The text the reader was looking up, when it said which.
    CString text;
    std::swap(text, m_reportText);
    if (!text.IsEmpty()) message += L": \"" + text + L"\"";
    m_findings.push_back({meaning ? meaning->severity : FindingSeverity::kError,
                          CString(meaning ? meaning->code : L"check-failed"), report.context, line,
                          column, message, text});
}

void CCheckSession::OnDiagnostic(const TOOLS::Diagnostic& diagnostic) {
    // A listed file that is missing is the listing's mistake: point at the line that names it.
    const auto listed = m_listed.find(diagnostic.file);
    if (diagnostic.code == L"missing-file" && listed != m_listed.end()) {
        const Listing& listing = listed->second;
        m_findings.push_back({FindingSeverity::kError, CString(L"missing-file"), listing.file,
                              listing.line, listing.column,
                              L"the listed file \"" + listing.name + L"\" does not exist",
                              listing.name});
        return;
    }
    m_findings.push_back({FindingSeverity::kError,
                          diagnostic.code.IsEmpty() ? CString(L"unreadable-file") : diagnostic.code,
                          diagnostic.file, diagnostic.line, diagnostic.column, diagnostic.message,
                          CString()});
}

void CCheckSession::Position(TOOLS::IXMLTree& tree, int& line, int& column,
                             const wchar_t* attribute) {
    line = 0;
    column = 0;
    if (attribute) {
        tree.GetAttributePosition(attribute, line, column);
    } else {
        tree.GetPosition(line, column);
    }
}

void CCheckSession::CheckFormat(TOOLS::IXMLTree& tree, FileKind kind, const CString& file) {
    if (!m_extraChecks || !m_formatChecked.insert(file).second) return;
    CheckDocument(tree, kind, [&](const FormatIssue& issue) {
        m_findings.push_back({FindingSeverity::kError, issue.code, file, issue.line, issue.column,
                              issue.message, issue.text});
    });
}

void CCheckSession::UnknownName(const wchar_t* code, const wchar_t* what, const CString& text,
                                const CString& file, TOOLS::IXMLTree& tree, const wchar_t* childTag,
                                const wchar_t* attribute) {
    int line = 0;
    int column = 0;
    if (!childTag) {
        Position(tree, line, column, attribute);
    } else if (tree.IntoChild(childTag, 0)) {
        Position(tree, line, column);
        tree.OutOfElement();
    }
    const CString shown = text.IsEmpty() ? CString(L"(empty)") : L"\"" + text + L"\"";
    Add(FindingSeverity::kError, code, file, line, column,
        CString(L"unknown ") + what + L" " + shown, text);
}

void CCheckSession::MissingElement(const wchar_t* tag, const CString& message, const CString& file,
                                   TOOLS::IXMLTree& tree) {
    for (const ConfigFinding& finding : m_findings) {
        if (finding.file == file && finding.code == L"unknown-tag") return;
    }
    int line = 0;
    int column = 0;
    Position(tree, line, column);
    Add(FindingSeverity::kError, L"missing-element", file, line, column,
        CString(L"no \"") + tag + L"\": " + message, CString(tag));
}

void CCheckSession::Listed(const CString& listed, const CString& listing, TOOLS::IXMLTree& tree,
                           const CString& name) {
    int line = 0;
    int column = 0;
    Position(tree, line, column);
    m_listed.emplace(listed, Listing{listing, line, column, name});
}

void CCheckSession::ChildNamed(const CString& file, TOOLS::IXMLTree& tree, const wchar_t* tag) {
    if (!m_extraChecks || !tree.IntoChild(tag, 0)) return;
    int line = 0;
    int column = 0;
    Position(tree, line, column);
    tree.OutOfElement();
    m_childPositions[{file, CString(tag)}] = {line, column};
}

std::pair<int, int> CCheckSession::ChildPosition(const CString& file, const wchar_t* tag) const {
    const auto at = m_childPositions.find({file, CString(tag)});
    return at == m_childPositions.end() ? std::make_pair(0, 0) : at->second;
}

void CCheckSession::Definition(EKADOComponentType type, const CString& typeName,
                               const CString& file) {
    const auto [first, added] = m_definitionFiles.emplace(type, file);
    if (added) return;
    // Both files lie in the definition folder: its name says which.
    const CString& winner = first->second;
    const int slash = std::max(LastOf(winner, L'/'), LastOf(winner, L'\\'));
    const std::pair<int, int> position = ChildPosition(file, L"ClsName");
    Add(FindingSeverity::kError, L"duplicate-definition", file, position.first, position.second,
        L"this definition of \"" + typeName + L"\" is ignored: " + winner.Mid(slash + 1) +
            L" defines the type first",
        typeName);
}

void CCheckSession::GraphModels(const CString& file, const CStringArray& models,
                                const std::vector<size_t>& offsets) {
    std::unique_ptr<TOOLS::CSourceLines> lines;  // read only when a duplicate needs a line
    for (int i = 2; i < models.GetSize(); i += 3) {
        const CString& id = models[i];
        if (id.IsEmpty() || m_modelIds.insert(id).second) continue;
        int line = 0;
        int column = 0;
        const size_t model = static_cast<size_t>(i / 3);
        if (!lines) {
            lines = std::make_unique<TOOLS::CSourceLines>();
            lines->Load(file);
        }
        if (model < offsets.size() && !lines->LocateElement(offsets[model], line, column)) {
            line = column = 0;
        }
        Add(FindingSeverity::kWarning, L"duplicate-id", file, line, column,
            L"graph-library model id \"" + id + L"\" is used twice", id);
    }
}

void CCheckSession::SettingsKey(const CString& file, const CString& key, TOOLS::IXMLTree& tree) {
    int line = 0;
    int column = 0;
    Position(tree, line, column);
    if (m_settingsKeys.emplace(file, key).second) return;
    Add(FindingSeverity::kWarning, L"duplicate-key", file, line, column,
        L"setting \"" + key + L"\" appears twice; the later value wins", key);
}

void CCheckSession::ItemTemplateDefined(const CString& file, const CString& id, size_t offset) {
    if (m_extraChecks && !id.IsEmpty())
        m_itemTemplates.try_emplace(id, ItemTemplateEntry{file, offset});
}

void CCheckSession::NoteUnusedItemTemplates() {
    TOOLS::CSourceLines lines;
    CString read;
    for (const auto& [id, entry] : m_itemTemplates) {
        if (m_usedItemTemplates.count(id)) continue;
        if (read != entry.file) {
            read = entry.file;
            lines.Load(read);
        }
        int line = 0;
        int column = 0;
        if (!lines.LocateElement(entry.offset, line, column)) line = column = 0;
        Add(FindingSeverity::kNote, L"unused", entry.file, line, column,
            L"no item uses item template \"" + id + L"\"", id);
    }
}

}  // namespace CONFIG
