// The findings of one check of a configuration, gathered on the thread that loads it.
#pragma once

#include <map>
#include <set>
#include <utility>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/KadoTypes.h>
#include <siteconfig/SiteConfigCheck.h>

#include "FileFormats.h"
#include "LogHelper.h"
#include "XMLTree.h"

namespace CONFIG {

class CCheckSession final : public TOOLS::ILoadObserver {
public:
    // Installs itself for the calling thread: from now on that thread's reports and diagnostics
    // become findings, and the readers tell it what only a check wants to know.
    // Without `extraChecks` only what loading itself raises becomes a finding.
    explicit CCheckSession(bool extraChecks = true);
    CCheckSession(const CCheckSession&) = delete;
    CCheckSession& operator=(const CCheckSession&) = delete;
    ~CCheckSession();

    // The session of the calling thread, or null (every load of an application).
    static CCheckSession* Current();

    // Line and column of the cursor's element (of its attribute `attribute` when given); zeros
    // when the tree cannot say.
    static void Position(TOOLS::IXMLTree& tree, int& line, int& column,
                         const wchar_t* attribute = nullptr);

    // A finding of the checks beyond loading; dropped when the session makes none.
    void Add(FindingSeverity severity, const wchar_t* code, const CString& file, int line,
             int column, const CString& message, const CString& text = CString());
    // A problem loading itself met: always a finding.
    void Record(ConfigFinding finding) { m_findings.push_back(std::move(finding)); }

    // A name the readers do not know ("unknown-type", "unknown-param", ...) at the cursor's
    // element of `tree`, or at its first child `childTag` when given.
    // Or at the element's attribute `attribute`, when given.
    void UnknownName(const wchar_t* code, const wchar_t* what, const CString& text,
                     const CString& file, TOOLS::IXMLTree& tree, const wchar_t* childTag = nullptr,
                     const wchar_t* attribute = nullptr);

    // Checks the tags and attributes of a document just loaded from `file` (once per file).
    void CheckFormat(TOOLS::IXMLTree& tree, FileKind kind, const CString& file);
    // A check session of the calling thread checks the format of `tree`, just loaded.
    static void CheckLoaded(TOOLS::IXMLTree& tree, FileKind kind, const CString& file) {
        if (CCheckSession* check = Current()) check->CheckFormat(tree, kind, file);
    }

    // A child element `tag` the cursor's element lacks. Not a finding of its own when the file
    // already has an unknown tag, most likely the same element misspelt.
    void MissingElement(const wchar_t* tag, const CString& message, const CString& file,
                        TOOLS::IXMLTree& tree);

    // A reader about to report that it does not know `text` (a name, an identifier) says which
    // text: the finding of the report quotes it. Nothing without a session.
    static void ReportedText(const CString& text) {
        if (CCheckSession* check = Current()) check->m_reportText = text;
    }

    void OnReport(const TOOLS::LogReport& report) override;
    void OnDiagnostic(const TOOLS::Diagnostic& diagnostic) override;

    // What the readers met.
    // A "filelist.cfg" entry (the cursor's element of `tree`) naming `listed`: a listed file
    // that is missing is reported at that entry.
    void Listed(const CString& listed, const CString& listing, TOOLS::IXMLTree& tree,
                const CString& name);
    // Where the first `tag` child of the cursor's element stands in `file` ("ClsName",
    // "GraphLibId" of a definition); ChildPosition gives it, or zeros.
    void ChildNamed(const CString& file, TOOLS::IXMLTree& tree, const wchar_t* tag);
    std::pair<int, int> ChildPosition(const CString& file, const wchar_t* tag) const;
    // A definition file of `type`; a second one for a type is a finding.
    void Definition(EKADOComponentType type, const CString& typeName, const CString& file);
    // The models of one graph library, three texts each (location, name, identifier), and
    // where each model's element stands (IXMLTree::GetElementOffset).
    void GraphModels(const CString& file, const CStringArray& models,
                     const std::vector<size_t>& offsets);
    // A settings key read from `file` at the cursor's element of `tree`; a second one of the
    // same key is a finding.
    void SettingsKey(const CString& file, const CString& key, TOOLS::IXMLTree& tree);
    // The next "View" entry of the location file names edit-view file `file`.
    void ViewEntry(const CString& file) { m_viewFiles.push_back(file); }
    const std::vector<CString>& ViewFiles() const { return m_viewFiles; }
    // The edit-view file of the i-th "View" entry (empty when unknown).
    CString ViewFile(size_t index) const {
        return index < m_viewFiles.size() ? m_viewFiles[index] : CString();
    }

    // An item template `id` of `file`, its element at `offset` (IXMLTree::GetElementOffset), and
    // an item that took its content from template `id`.
    void ItemTemplateDefined(const CString& file, const CString& id, size_t offset);
    void ItemTemplateUsed(const CString& id) { m_usedItemTemplates.insert(id); }
    // A note for each item template no item used.
    void NoteUnusedItemTemplates();

    const std::set<CString>& ModelIds() const { return m_modelIds; }
    std::vector<ConfigFinding>& Findings() { return m_findings; }

private:
    struct Listing {
        CString file;
        int line;
        int column;
        CString name;
    };

    TOOLS::ScopedLoadObserver m_observing;
    CCheckSession* m_previous;
    const bool m_extraChecks;
    std::vector<ConfigFinding> m_findings;
    CString m_reportText;  // for the next report
    std::map<CString, Listing> m_listed;
    std::map<EKADOComponentType, CString> m_definitionFiles;
    std::map<std::pair<CString, CString>, std::pair<int, int>> m_childPositions;  // (file, tag)
    std::set<CString> m_modelIds;
    struct ItemTemplateEntry {
        CString file;
        size_t offset;
    };
    std::map<CString, ItemTemplateEntry> m_itemTemplates;  // by id
    std::set<CString> m_usedItemTemplates;
    std::set<std::pair<CString, CString>> m_settingsKeys;  // (file, key)
    std::set<CString> m_formatChecked;
    std::vector<CString> m_viewFiles;
};

}  // namespace CONFIG
