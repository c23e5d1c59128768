// The item templates of "ItemTemplate.xml", keyed by id; alive only while a display
// configuration loads.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

#include <siteconfig/CString.h>
#include <siteconfig/PropGridData.h>

namespace CONFIG {

class CItemTemplate {
public:
    CItemTemplate() = default;
    CItemTemplate(const CItemTemplate&) = delete;
    CItemTemplate& operator=(const CItemTemplate&) = delete;
    virtual ~CItemTemplate();

    // Reads the "Item" elements of the file's "Items" root. The first template of an id stays;
    // a later one is reported and dropped. False, the table unchanged, without an "Items" root.
    bool LoadItems(const CString& path);
    // The template of `id` (borrowed until Clear), or null (reported) when there is none.
    const GridItemData* FindItem(const CString& id) const;
    void Clear();
    size_t GetCount() const { return m_mapItem.size(); }

private:
    struct IdHash {
        size_t operator()(const CString& id) const {
            return std::hash<std::wstring_view>()(id.str());
        }
    };
    // Every item of every view that names a template looks it up; the table is never walked.
    std::unordered_map<CString, std::unique_ptr<GridItemData>, IdHash> m_mapItem;
};

}  // namespace CONFIG
