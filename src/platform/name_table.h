// Names of one folder -> small ids, in the order they were first seen. Open addressing over one
// flat array: a batch of 100,000 renames plans without an allocation per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace vb {

class NameTable {
public:
    // The views must outlive the table.
    explicit NameTable(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < expected * 2) capacity <<= 1;
        cells_.assign(capacity, Cell{});
        mask_ = capacity - 1;
        names_.reserve(expected);
    }

    // The id of name, given the next id when it is new.
    int intern(std::string_view name) {
        const std::uint32_t h = hashOf(name);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            Cell& c = cells_[i];
            if (c.id < 0) {
                if (names_.size() * 2 >= cells_.size()) {
                    grow();
                    return intern(name);
                }
                c = {h, static_cast<int>(names_.size())};
                names_.push_back(name);
                return c.id;
            }
            if (c.hash == h && names_[static_cast<std::size_t>(c.id)] == name) return c.id;
        }
    }

    // The id of name, or -1.
    int find(std::string_view name) const {
        const std::uint32_t h = hashOf(name);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            const Cell& c = cells_[i];
            if (c.id < 0) return -1;
            if (c.hash == h && names_[static_cast<std::size_t>(c.id)] == name) return c.id;
        }
    }

    std::size_t size() const { return names_.size(); }

private:
    // Eight bytes a cell: a table of 200,000 names touches half the memory it would with a
    // full-width hash.
    struct Cell {
        std::uint32_t hash = 0;
        int id = -1;
    };
    static std::uint32_t hashOf(std::string_view name) {
        const std::uint64_t h = std::hash<std::string_view>{}(name);
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }

    void grow() {
        std::vector<Cell> old(cells_.size() * 2, Cell{});
        old.swap(cells_);
        mask_ = cells_.size() - 1;
        for (const Cell& c : old) {
            if (c.id < 0) continue;
            std::size_t i = c.hash & mask_;
            while (cells_[i].id >= 0) i = (i + 1) & mask_;
            cells_[i] = c;
        }
    }

    std::vector<Cell> cells_;
    std::vector<std::string_view> names_;
    std::size_t mask_ = 0;
};

}  // namespace vb
