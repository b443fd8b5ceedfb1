#pragma once
// A control array: like elements addressed by a 16-bit index, all from the template.
#include <cstdint>
#include <vector>

#include "frame/model/Elements.h"
#include "frame/host/HostError.h"

namespace talvik {

class ElementArrayBase {
public:
    virtual ~ElementArrayBase() = default;
    virtual ElementKind kind() const = 0;
};

template <class T>
class ElementArray : public ElementArrayBase {
public:
    // The element at index i; an index the array does not have raises error 340.
    T& operator()(std::int64_t i) const {
        if (i < 0 || i >= static_cast<std::int64_t>(items_.size())) err::noSuchArrayElement(i);
        return *items_[static_cast<std::size_t>(i)];
    }
    std::int16_t Count() const { return static_cast<std::int16_t>(items_.size()); }
    // Whether e is an element of this array.
    bool holds(const Element* e) const { return e != nullptr && e->array() == this; }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    ElementKind kind() const override { return items_.empty() ? ElementKind::Image : items_.front()->kind(); }
    void append(T& e) {
        e.array_ = this;
        items_.push_back(&e);
    }

private:
    std::vector<T*> items_;
};

}  // namespace talvik
