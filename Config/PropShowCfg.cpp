#include "PropShowCfg.h"

#include <algorithm>
#include <map>
#include <typeinfo>
#include <utility>
#include <vector>

#include "CheckSession.h"
#include "DisplayNames.h"
#include "ItemTemplate.h"
#include "LoadWork.h"
#include "LogHelper.h"
#include "PropEditView.h"
#include "ReportLines.h"
#include "Tools.h"
#include "XMLTree.h"

namespace CONFIG {

using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;

namespace {

bool OccursAt(std::wstring_view part, std::wstring_view text, size_t at) {
    return at <= text.size() && text.size() - at >= part.size() &&
           text.compare(at, part.size(), part) == 0;
}

// Whether the first occurrence of `part` in `text` begins at `index`; only the first
// index + 1 places are compared.
bool FirstOccursAt(const CString& part, const CString& text, size_t index) {
    for (size_t at = 0; at < index; ++at) {
        if (OccursAt(part.str(), text.str(), at)) return false;
    }
    return OccursAt(part.str(), text.str(), index);
}

// Whether the first occurrence of `part` in `text` begins at index 0 or 1.
bool OccursEarly(const CString& part, const CString& text) {
    return FirstOccursAt(part, text, 0) || FirstOccursAt(part, text, 1);
}

bool AnySectionOccursEarly(const std::vector<CString>& sections, const CString& text) {
    return std::any_of(sections.begin(), sections.end(), [&](const CString& section) {
        return !section.IsEmpty() && OccursEarly(section, text);
    });
}

CString Text(TOOLS::IXMLTree& tree) {
    CString text;
    tree.GetText(text);
    return text;
}

std::vector<CString> Split(const CString& text) {
    std::vector<CString> pieces;
    TOOLS::TransStrToAry(text, pieces, L";");
    return pieces;
}

std::unique_ptr<TOOLS::IXMLTree> OpenTree(const CString& path, const TOOLS::XmlName& root,
                                          FileKind kind) {
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    CCheckSession::CheckLoaded(*tree, kind, path);
    if (!tree->FindElement(root)) tree.reset();
    return tree;
}

// Tag and attribute names, converted to UTF-8 once; function-local statics are initialised
// exactly once even when several loads run at the same time.
const TOOLS::XmlName& LocTag() {
    static const TOOLS::XmlName kLoc(L"Loc");
    return kLoc;
}

}  // namespace

CPropShowCfg::CPropShowCfg()
    : m_pGridTemplateView(std::make_unique<CPropEditView>(&m_mapContainer)),
      m_pDefaultView(std::make_unique<CPropEditView>(&m_mapContainer)) {}

CPropShowCfg::CPropShowCfg(const CPropShowCfg& other)
    : m_mapContainer(other.m_mapContainer),
      m_setDefineLoc(other.m_setDefineLoc),
      m_vecDefineLoc(other.m_vecDefineLoc),
      m_vecShowLoc(other.m_vecShowLoc),
      m_mapSectionSelect(other.m_mapSectionSelect),
      m_locationIndex(other.m_locationIndex),
      m_mapCompKind(other.m_mapCompKind),
      m_pGridTemplateView(
          std::make_unique<CPropEditView>(*other.m_pGridTemplateView, nullptr, &m_mapContainer)),
      m_pDefaultView(
          std::make_unique<CPropEditView>(*other.m_pDefaultView, nullptr, &m_mapContainer)),
      m_setViewParam(other.m_setViewParam),
      m_vecMeterParam(other.m_vecMeterParam),
      m_mapView3DMode(other.m_mapView3DMode),
      m_sourceFiles(other.m_sourceFiles),
      m_defineLocSources(other.m_defineLocSources),
      m_sectionSelectSources(other.m_sectionSelectSources),
      m_containerSources(other.m_containerSources),
      m_viewSources(other.m_viewSources) {
    m_vecLocView.reserve(other.m_vecLocView.size());
    for (const auto& view : other.m_vecLocView) {
        // Location views are based on the grid-template view; link the copy to ours.
        const CPropEditView* base = view->GetBaseView() == other.m_pGridTemplateView.get()
                                        ? m_pGridTemplateView.get()
                                        : nullptr;
        m_vecLocView.push_back(std::make_unique<CPropEditView>(*view, base, &m_mapContainer));
    }
}

CPropShowCfg::~CPropShowCfg() { DestroyViews(); }

void CPropShowCfg::DestroyViews() {
    // The views go before the tables; the container table they point to is destroyed last.
    m_vecLocView.clear();
    m_pGridTemplateView.reset();
    m_pDefaultView.reset();
}

void CPropShowCfg::LoadShowCfg(const CString& folder, Indexing indexing) {
    CItemTemplate templates;
    templates.LoadItems(folder + L"ItemTemplate.xml");
    m_pGridTemplateView->LoadEditView(folder + L"GridTemplate.xml", &templates, &m_sourceFiles);
    ReadLocShow(folder + L"PropertyLocShow.xml", folder, templates);
    ReadEnableContainer(folder + L"EnableContainer.xml");
    templates.Clear();
    if (indexing == Indexing::kNow) {
        m_locationIndex = CLocationIndex(m_vecShowLoc, m_mapSectionSelect);
    }
}

void CPropShowCfg::ReadLocShow(const CString& path, const CString& folder,
                               const CItemTemplate& templates) {
    static const TOOLS::XmlName kRoot(L"UI");
    std::unique_ptr<TOOLS::IXMLTree> tree = OpenTree(path, kRoot, FileKind::kLocationShow);
    if (!tree) return;
    ReadDefineLocs(*tree);
    ReadSectionSelect(*tree);
    ReadPropertyKinds(*tree);
    ReadViewParam(*tree);
    ReadMeterParam(*tree);
    ReadPropEditViews(*tree, folder, templates);
    ReadView3DMode(*tree);
}

void CPropShowCfg::ReadDefineLocs(TOOLS::IXMLTree& tree) {
    // A file without the section still shows what is defined, and the cursor stays on "UI".
    static const TOOLS::XmlName kPropDefineShow(L"PropDefineShow");
    if (tree.IntoChild(kPropDefineShow, 0)) {
        const std::uint32_t file = m_sourceFiles.Index(TOOLS::CurrentLogContext());
        int count = 0;
        tree.GetNamedChildCount(LocTag(), count);
        m_setDefineLoc.reserve(m_setDefineLoc.size() + static_cast<size_t>(count));
        m_defineLocSources.reserve(m_defineLocSources.size() + static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            if (!tree.IntoChild(LocTag(), i)) break;
            CString loc = Text(tree);
            m_defineLocSources.emplace(loc, m_sourceFiles.At(file, tree));
            tree.OutOfElement();
            m_setDefineLoc.insert(loc);
            m_vecDefineLoc.push_back(std::move(loc));
        }
        tree.OutOfElement();
    }
    m_vecShowLoc = m_vecDefineLoc;
}

void CPropShowCfg::ReadSectionSelect(TOOLS::IXMLTree& tree) {
    static const TOOLS::XmlName kSectionSelect(L"SectionSelect");
    static const TOOLS::XmlName kLocAttribute(L"loc");
    if (!tree.IntoChild(kSectionSelect, 0)) return;
    const std::uint32_t file = m_sourceFiles.Index(TOOLS::CurrentLogContext());
    int count = 0;
    tree.GetNamedChildCount(LocTag(), count);
    for (int i = 0; i < count; ++i) {
        if (!tree.IntoChild(LocTag(), i)) break;
        CString key = TOOLS::AttributeOf(tree, kLocAttribute);
        if (m_mapSectionSelect.find(key) == m_mapSectionSelect.end()) {
            m_sectionSelectSources.emplace(key, m_sourceFiles.At(file, tree));
            m_mapSectionSelect.emplace(std::move(key), Split(Text(tree)));
        }
        tree.OutOfElement();
    }
    tree.OutOfElement();
}

void CPropShowCfg::ReadPropertyKinds(TOOLS::IXMLTree& tree) {
    static const TOOLS::XmlName kProperties(L"Properties");
    static const TOOLS::XmlName kProperty(L"Property");
    static const TOOLS::XmlName kClsName(L"clsname");
    static const TOOLS::XmlName kKind(L"Kind");
    static const TOOLS::XmlName kKd(L"kd");
    if (!tree.IntoChild(kProperties, 0)) return;
    int count = 0;
    tree.GetNamedChildCount(kProperty, count);
    for (int i = 0; i < count; ++i) {
        if (!tree.IntoChild(kProperty, i)) break;
        const EKADOComponentType type =
            TOOLS::CKADOHandler::GetComponentTypeByName(TOOLS::AttributeOf(tree, kClsName));
        // A "Property" without "Kind" has no kind text: converting it reports it as unknown.
        CString kindName;
        if (tree.IntoChild(kKind, 0)) {
            tree.GetAttribute(kKd, kindName);
            tree.OutOfElement();
        }
        m_mapCompKind.emplace(type, GetKindByName(kindName));
        tree.OutOfElement();
    }
    tree.OutOfElement();
}

int CPropShowCfg::GetKindByName(const CString& name) {
    if (const NamedCode* kind = FindCode(kComponentKindNames, name)) return kind->code;
    CCheckSession::ReportedText(name);
    TOOLS::CLogHelper(kPropShowCfgSource, line::kKindUnknown).Assert(0);
    return 0;
}

void CPropShowCfg::ReadViewParam(TOOLS::IXMLTree& tree) {
    static const TOOLS::XmlName kViewParam(L"ViewParam");
    if (!tree.IntoChild(kViewParam, 0)) return;
    for (const CString& name : Split(Text(tree))) {
        if (!m_setViewParam.insert(TOOLS::CKADOHandler::GetParamTypeByName(name)).second) {
            TOOLS::CLogHelper(kPropShowCfgSource, line::kViewParamRepeated).Assert(0);
        }
    }
    tree.OutOfElement();
}

void CPropShowCfg::ReadMeterParam(TOOLS::IXMLTree& tree) {
    static const TOOLS::XmlName kMeterParam(L"MeterParam");
    if (!tree.IntoChild(kMeterParam, 0)) return;
    for (const CString& name : Split(Text(tree))) {
        m_vecMeterParam.push_back(TOOLS::CKADOHandler::GetParamTypeByName(name));
    }
    tree.OutOfElement();
}

void CPropShowCfg::ReadPropEditViews(TOOLS::IXMLTree& tree, const CString& folder,
                                     const CItemTemplate& templates) {
    static const TOOLS::XmlName kPropEditView(L"PropEditView");
    static const TOOLS::XmlName kView(L"View");
    static const TOOLS::XmlName kViewAttribute(L"view");
    static const TOOLS::XmlName kTypeAndSection(L"typeandsection");
    static const TOOLS::XmlName kLocAttribute(L"loc");
    if (!tree.IntoChild(kPropEditView, 0)) return;
    struct Entry {
        CString path;
        CString sections;
        CString loc;
        SourceRef source;
    };
    std::vector<Entry> entries;
    const std::uint32_t file = m_sourceFiles.Index(TOOLS::CurrentLogContext());
    int count = 0;
    tree.GetNamedChildCount(kView, count);
    for (int i = 0; i < count; ++i) {
        if (!tree.IntoChild(kView, i)) break;
        entries.push_back({folder + TOOLS::AttributeOf(tree, kViewAttribute),
                           TOOLS::AttributeOf(tree, kTypeAndSection),
                           TOOLS::AttributeOf(tree, kLocAttribute), m_sourceFiles.At(file, tree)});
        if (CCheckSession* check = CCheckSession::Current()) {
            check->ViewEntry(entries.back().path);
        }
        tree.OutOfElement();
    }
    tree.OutOfElement();

    // A file named by several entries is read and parsed once, with a view for each entry.
    std::vector<CString> paths;  // in the order the entries first name them
    std::vector<size_t> fileOf;  // of each entry
    std::vector<std::uint32_t> sourceFiles;
    {
        std::map<CString, size_t> known;
        for (const Entry& entry : entries) {
            const auto [found, added] = known.try_emplace(entry.path, paths.size());
            if (added) {
                paths.push_back(entry.path);
                sourceFiles.push_back(m_sourceFiles.Index(entry.path));
            }
            fileOf.push_back(found->second);
        }
    }
    const CString locationFile = TOOLS::CurrentLogContext();
    // What the location file says of an entry whose view is read.
    const auto addView = [&](const Entry& entry, std::unique_ptr<CPropEditView> view, bool loaded) {
        {
            TOOLS::ScopedLogContext reading(locationFile);
            TOOLS::CLogHelper(kPropShowCfgSource, line::kViewFileNotLoaded).Assert(loaded);
        }
        view->SetViewLoc(entry.loc);
        view->SetTypeAndSections(Split(entry.sections));
        m_vecLocView.push_back(std::move(view));
        m_viewSources.push_back(entry.source);
    };
    const auto readView = [&](TOOLS::IXMLTree& file, size_t f, bool& loaded) {
        auto view = std::make_unique<CPropEditView>(&m_mapContainer);
        view->SetBaseView(m_pGridTemplateView.get());
        TOOLS::ScopedLogContext reading(paths[f], &file);
        loaded = view->LoadEditView(file, paths[f], &templates, sourceFiles[f]);
        return view;
    };
    const auto parse = [&](size_t f) {
        std::unique_ptr<TOOLS::IXMLTree> file = TOOLS::CXMLTreeCreator::Allocate();
        file->LoadFile(paths[f]);
        CCheckSession::CheckLoaded(*file, FileKind::kEditView, paths[f]);
        return file;
    };

    const int threads = LoadThreadsHere();
    if (threads <= 1 || paths.size() < 2) {
        // In entry order, each file parsed at its first entry and kept until its last.
        std::vector<size_t> usesLeft(paths.size(), 0);
        for (const size_t f : fileOf) ++usesLeft[f];
        std::vector<std::unique_ptr<TOOLS::IXMLTree>> parsed(paths.size());
        size_t filesRead = 0;
        for (size_t k = 0; k < entries.size(); ++k) {
            const size_t f = fileOf[k];
            if (!parsed[f]) {
                parsed[f] = parse(f);
                ReportLoadProgress(LoadPart::kEditViews, ++filesRead, paths.size());
            }
            bool loaded = false;
            std::unique_ptr<CPropEditView> view = readView(*parsed[f], f, loaded);
            if (--usesLeft[f] == 0) parsed[f].reset();
            addView(entries[k], std::move(view), loaded);
        }
        return;
    }

    // On the load's threads, one file each: its parse and the views of its entries, with what
    // each reported kept to be told in entry order.
    struct ViewRead {
        std::unique_ptr<CPropEditView> view;
        bool loaded = false;
        TOOLS::CapturedLoadEvents events;
    };
    struct FileRead {
        TOOLS::CapturedLoadEvents parsing;
        std::vector<ViewRead> views;  // of its entries, in entry order
    };
    std::vector<size_t> entryCount(paths.size(), 0);
    for (const size_t f : fileOf) ++entryCount[f];
    std::vector<FileRead> reads(paths.size());
    TOOLS::RunInOrder<TOOLS::ScopedTextInterning>(
        paths.size(), threads,
        [&](size_t f) {
            FileRead read;
            std::unique_ptr<TOOLS::IXMLTree> file;
            {
                const TOOLS::ScopedLoadObserver capturing(&read.parsing);
                file = parse(f);
            }
            for (size_t n = 0; n < entryCount[f]; ++n) {
                ViewRead& view = read.views.emplace_back();
                const TOOLS::ScopedLoadObserver capturing(&view.events);
                view.view = readView(*file, f, view.loaded);
            }
            return read;
        },
        [&](size_t f, FileRead& read) {
            reads[f] = std::move(read);
            ReportLoadProgress(LoadPart::kEditViews, f + 1, paths.size());
        });
    std::vector<size_t> taken(paths.size(), 0);
    for (size_t k = 0; k < entries.size(); ++k) {
        const size_t f = fileOf[k];
        if (taken[f] == 0) reads[f].parsing.Replay();
        ViewRead& view = reads[f].views[taken[f]++];
        view.events.Replay();
        addView(entries[k], std::move(view.view), view.loaded);
    }
}

void CPropShowCfg::ReadView3DMode(TOOLS::IXMLTree& tree) {
    static const TOOLS::XmlName kView3DMode(L"View3DMode");
    static const TOOLS::XmlName kViewMode(L"ViewMode");
    static const TOOLS::XmlName kName(L"name");
    static const TOOLS::XmlName kClsName(L"clsname");
    if (!tree.IntoChild(kView3DMode, 0)) return;
    int count = 0;
    tree.GetNamedChildCount(kViewMode, count);
    for (int i = 0; i < count; ++i) {
        if (!tree.IntoChild(kViewMode, i)) break;
        const CString modeName = TOOLS::AttributeOf(tree, kName);
        for (const CString& name : Split(TOOLS::AttributeOf(tree, kClsName))) {
            // A type listed again takes the later mode; each name converts the mode anew.
            m_mapView3DMode[TOOLS::CKADOHandler::GetComponentTypeByName(name)] =
                CPropEditView::GetViewModeByName(modeName);
        }
        tree.OutOfElement();
    }
    tree.OutOfElement();
}

void CPropShowCfg::ReadEnableContainer(const CString& path) {
    static const TOOLS::XmlName kRoot(L"Containers");
    static const TOOLS::XmlName kContainer(L"Container");
    std::unique_ptr<TOOLS::IXMLTree> tree = OpenTree(path, kRoot, FileKind::kEnableContainer);
    if (!tree) return;
    int count = 0;
    tree->GetNamedChildCount(kContainer, count);
    const std::uint32_t file = m_sourceFiles.Index(path);
    for (int i = 0; i < count; ++i) {
        ContainerData container;
        CPropEditView::ReadContainer(*tree, container, i);
        SourceRef source;
        if (tree->IntoChild(kContainer, i)) {
            source = m_sourceFiles.At(file, *tree);
            tree->OutOfElement();
        }
        CString name = container.name;
        const bool inserted = m_mapContainer.try_emplace(name, std::move(container)).second;
        if (inserted) m_containerSources.emplace(name, source);
        TOOLS::CLogHelper(kPropShowCfgSource, line::kContainerRepeated).Assert(inserted);
    }
}

void CPropShowCfg::GetDefineLocs(std::vector<CString>& locs) {
    locs.insert(locs.end(), m_vecDefineLoc.begin(), m_vecDefineLoc.end());
}

void CPropShowCfg::AddDefineLoc(const CString& loc) {
    if (loc.IsEmpty() || !m_setDefineLoc.insert(loc).second) return;
    m_vecDefineLoc.push_back(loc);
}

void CPropShowCfg::GetShowLocs(std::vector<CString>& locs) { locs = m_vecShowLoc; }

void CPropShowCfg::SetShowLocs(std::vector<CString> locs) {
    // Built aside, so that a failure leaves the list and its index as they were; the index
    // holds positions, which stay right when the list is moved in.
    CLocationIndex index(locs, m_mapSectionSelect);
    m_vecShowLoc = std::move(locs);
    m_locationIndex = std::move(index);
}

void CPropShowCfg::RemoveDefineLocs(const std::vector<CString>& locs) {
    for (const CString& loc : locs) {
        if (m_setDefineLoc.erase(loc) == 0) return;
        auto place = std::find(m_vecDefineLoc.begin(), m_vecDefineLoc.end(), loc);
        if (place != m_vecDefineLoc.end()) m_vecDefineLoc.erase(place);
    }
}

IPropEditView* CPropShowCfg::GetPropEditView(const CString& typeAndSection, const CString& loc) {
    for (const auto& view : m_vecLocView) {
        const CString viewLoc = view->GetViewLoc();
        if (!viewLoc.IsEmpty() && OccursEarly(viewLoc, loc) &&
            AnySectionOccursEarly(view->GetTypeAndSections(), typeAndSection)) {
            return view.get();
        }
    }
    for (const auto& view : m_vecLocView) {
        if (view->GetViewLoc().IsEmpty() &&
            AnySectionOccursEarly(view->GetTypeAndSections(), typeAndSection)) {
            return view.get();
        }
    }
    TOOLS::CLogHelper(kPropShowCfgSource, line::kNoEditViewMatches).Assert(0);
    return m_pDefaultView.get();
}

bool CPropShowCfg::GetSectionLocs(const CString& loc, std::vector<CString>& locs) {
    m_locationIndex.AppendSectionLocs(m_vecShowLoc, loc, locs);
    return true;
}

bool CPropShowCfg::IsLocShown(const CString& loc) {
    // The index knows only this class's own expansion; a class that expands locations its own
    // way is asked for the expansion.
    if (typeid(*this) == typeid(CPropShowCfg)) {
        return m_locationIndex.IsExpansionShown(m_vecShowLoc, loc);
    }
    std::vector<CString> expanded;
    GetSectionLocs(loc, expanded);
    return std::any_of(expanded.begin(), expanded.end(), [&](const CString& text) {
        return m_locationIndex.IsShown(m_vecShowLoc, text);
    });
}

int CPropShowCfg::GetComponentKind(EKADOComponentType type) {
    auto found = m_mapCompKind.find(type);
    if (found != m_mapCompKind.end()) return found->second;
    TOOLS::CLogHelper(kPropShowCfgSource, line::kComponentKindMissing).Assert(0);
    return 0;
}

bool CPropShowCfg::IsViewParam(EKADOParameterType type) { return m_setViewParam.count(type) > 0; }

void CPropShowCfg::GetMeterParams(std::vector<EKADOParameterType>& params) {
    params = m_vecMeterParam;
}

int CPropShowCfg::GetView3DMode(EKADOComponentType type) {
    auto found = m_mapView3DMode.find(type);
    return found != m_mapView3DMode.end() ? found->second : kView3D;
}

ContainerTable* CPropShowCfg::GetEnableContainers() { return &m_mapContainer; }

// No file lists component types excluded from editing, so every component may be edited.
bool CPropShowCfg::IsComponentIncluded(const CString&) { return true; }

bool CPropShowCfg::IsComponentTypeIncluded(EKADOComponentType) { return true; }

}  // namespace CONFIG
