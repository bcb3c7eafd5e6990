#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/ErrNum.h"
#include "support/KeyedList.h"

namespace vellcfgrdr {

// Last in, first out. Popping an empty stack raises 9.
template <class T>
class CStack {
  public:
    void Push(T item) { items_.push_back(std::move(item)); }
    T Pop() {
        if (items_.empty()) keyedlist_detail::Fail(ErrNum::kSubscript);
        T item = std::move(items_.back());
        items_.pop_back();
        return item;
    }
    int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }

  private:
    std::vector<T> items_;
};

}  // namespace vellcfgrdr
