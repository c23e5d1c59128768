// Lists of owned raw pointers, as the exported property-grid records hold them, filled and
// owned without a moment in which a thrown exception loses a record.
#pragma once

#include <memory>

namespace CONFIG {

// Hands `item` over to the end of `list`. The room is made first, with a null entry, so a
// list that cannot grow throws while `item` still owns the record.
template <typename List, typename T>
void AppendOwned(List& list, std::unique_ptr<T> item) {
    list.push_back(nullptr);
    list.back() = item.release();
}

// A list of raw pointers that deletes the records it holds, for lists whose type is fixed
// because an interface hands them out by reference. As a member it frees what it holds even
// when the enclosing constructor throws, when that class's own destructor does not run.
template <typename List>
class OwnedPtrs {
public:
    OwnedPtrs() = default;
    OwnedPtrs(const OwnedPtrs&) = delete;
    OwnedPtrs& operator=(const OwnedPtrs&) = delete;
    ~OwnedPtrs() {
        for (auto* item : items_) delete item;
    }

    List& items() { return items_; }
    const List& items() const { return items_; }

private:
    List items_;
};

}  // namespace CONFIG
