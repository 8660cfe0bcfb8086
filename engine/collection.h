// The runtime's ordered collection: items numbered from 1.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/error.h"

namespace engine {

template <class T>
class Collection {
public:
    void Add(T item) { items_.push_back(std::move(item)); }
    Long Count() const { return static_cast<Long>(items_.size()); }
    const T& Item(Long index) const {
        Check(index);
        return items_[static_cast<std::size_t>(index - 1)];
    }
    void Remove(Long index) {
        Check(index);
        items_.erase(items_.begin() + (index - 1));
    }

private:
    void Check(Long index) const {
        if (index < 1 || index > Count()) Raise(err::kSubscript);
    }
    std::vector<T> items_;
};

}  // namespace engine
