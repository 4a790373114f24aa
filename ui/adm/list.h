// The entries of a pop-up list or combo box: add, read and select them by index.
#pragma once

#include <string>

#include "sdk/adm_suites.h"

namespace ADM {

class List {
public:
    explicit List(ps::ADMListRef list) : list_(list) {}
    virtual ~List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    // Appends an entry and answers its index, or -1 without a list.
    ps::int32 addEntry(const char* text);
    void removeEntry(ps::int32 index);
    ps::int32 entryCount() const;
    std::string entryText(ps::int32 index) const;
    // Selects the entry at index; an index outside the list leaves the selection as it was.
    void selectEntry(ps::int32 index);
    // The selected entry's index, or -1 when none is selected.
    ps::int32 selectedIndex() const;

    ps::ADMListRef listRef() const { return list_; }

private:
    ps::ADMListRef list_;
};

}  // namespace ADM
