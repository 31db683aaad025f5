// The fixed table of blockable programs and the list values each one governs.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>

namespace p2pb {

// One string value of the per-user disallow list. Names and data are ASCII.
struct BlockValue {
    const char* name;
    const char* data;
};

// Up to four values, kept inline so that the whole table is a constant.
class ValueList {
public:
    static constexpr std::size_t kMax = 4;

    constexpr ValueList(std::initializer_list<BlockValue> values) {
        for (const BlockValue& v : values) items_[count_++] = v;
    }
    constexpr std::span<const BlockValue> all() const { return {items_.data(), count_}; }

private:
    std::array<BlockValue, kMax> items_{};
    std::size_t count_ = 0;
};

struct BlockEntry {
    int position;                 // 1..36, the walk order
    const wchar_t* controlName;   // name of the entry's check box
    const wchar_t* caption;       // text shown beside it
    const char* probeValue;       // its presence ticks the box at start-up
    ValueList values;             // written when ticked, deleted when not, in this order

    constexpr std::span<const BlockValue> valueList() const { return values.all(); }
};

inline constexpr std::size_t kCatalogueSize = 36;
using Catalogue = std::array<BlockEntry, kCatalogueSize>;

// Rows in position order: kCatalogue[i].position == i + 1.
extern const Catalogue kCatalogue;

// The row whose check box bears this name, or nullptr.
const BlockEntry* findByControlName(std::wstring_view controlName);

}  // namespace p2pb
