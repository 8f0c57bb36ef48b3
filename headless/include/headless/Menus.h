// The host's menus and filters: groups, items with their submenus and
// automatic updates, and the registered filters. All of it is the host's;
// the plug-in holds handles to it, nothing it must give back.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

#include "headless/MenuRecords.h"
#include "headless/ObjectTable.h"
#include "headless/TokenRuns.h"
#include "hostinterface/HostInterface.h"

namespace headless::detail {

// The host's own groups, there before any plug-in starts.
constexpr const char* kHostMenuGroups[] = {kAboutMenuGroup};

// Records kept in the order made, each under a handle its position follows
// from (TokenRuns); elements never move.
template <class Record, class RecordHandle>
class RecordList {
public:
    RecordHandle Add(Record record) {
        const auto position = static_cast<uint32_t>(records_.size());
        record.handle = ToRef<RecordHandle>(tokens_.Token(position));
        records_.push_back(std::move(record));
        return records_.back().handle;
    }
    Record* Find(RecordHandle handle) {
        const uint32_t position = tokens_.Number(FromRef(handle));
        return position < records_.size() ? &records_[position] : nullptr;
    }
    const Record* Find(RecordHandle handle) const {
        return const_cast<RecordList*>(this)->Find(handle);
    }
    std::deque<Record>& all() { return records_; }
    const std::deque<Record>& all() const { return records_; }

private:
    std::deque<Record> records_;
    TokenRuns tokens_;
};

class MenuBook {
public:
    MenuBook();

    MenuGroupHandle AddGroup(MenuGroupRecord group) { return groups_.Add(std::move(group)); }
    MenuItemHandle AddItem(MenuItemRecord item) { return items_.Add(std::move(item)); }

    MenuGroupRecord* Group(MenuGroupHandle handle) { return groups_.Find(handle); }
    MenuGroupRecord* GroupNamed(std::string_view name);
    MenuItemRecord* Item(MenuItemHandle handle) { return items_.Find(handle); }
    const MenuItemRecord* Item(MenuItemHandle handle) const { return items_.Find(handle); }

    // In the order they were made; elements never move.
    const std::deque<MenuGroupRecord>& groups() const { return groups_.all(); }
    const std::deque<MenuItemRecord>& items() const { return items_.all(); }

private:
    RecordList<MenuGroupRecord, MenuGroupHandle> groups_;
    RecordList<MenuItemRecord, MenuItemHandle> items_;
};

class FilterBook {
public:
    FilterHandle Add(FilterRecord filter) { return filters_.Add(std::move(filter)); }
    FilterRecord* Find(FilterHandle handle) { return filters_.Find(handle); }
    const std::deque<FilterRecord>& filters() const { return filters_.all(); }

private:
    RecordList<FilterRecord, FilterHandle> filters_;
};

}  // namespace headless::detail
