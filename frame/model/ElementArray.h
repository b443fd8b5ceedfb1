#pragma once
// A control array: like elements addressed by a 16-bit index, all from the template. A
// value handle, like the elements it yields.
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "frame/model/Elements.h"
#include "frame/host/HostError.h"

namespace talvik {

template <class T>
class ElementArray {
public:
    ElementArray() = default;
    ElementArray(ElementModel* m, std::uint16_t group) : m_(m), g_(group) {}

    // The element at index i; an index the array does not have raises error 340.
    T operator()(std::int64_t i) const {
        if (i < 0 || i >= static_cast<std::int64_t>(m_->group(g_).count)) err::noSuchArrayElement(i);
        return T(m_, {g_, static_cast<std::uint16_t>(i)});
    }
    std::int16_t Count() const { return static_cast<std::int16_t>(m_->group(g_).count); }
    // Whether e is an element of this array.
    bool holds(const Element& e) const { return e && e.slot().group == g_ && e == Element(m_, e.slot()); }

    class iterator {
    public:
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(ElementModel* m, std::uint16_t g, std::uint16_t i) : m_(m), g_(g), i_(i) {}
        T operator*() const { return T(m_, {g_, i_}); }
        iterator& operator++() {
            ++i_;
            return *this;
        }
        iterator operator++(int) {
            iterator t = *this;
            ++i_;
            return t;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.i_ == b.i_; }

    private:
        ElementModel* m_ = nullptr;
        std::uint16_t g_ = 0, i_ = 0;
    };
    iterator begin() const { return {m_, g_, 0}; }
    iterator end() const { return {m_, g_, m_->group(g_).count}; }

private:
    ElementModel* m_ = nullptr;
    std::uint16_t g_ = 0;
};

// Every element of a model, all kinds together, in the template's stacking order.
class ElementRange {
public:
    explicit ElementRange(ElementModel* m) : m_(m) {}
    class iterator {
    public:
        using value_type = Element;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(ElementModel* m, std::uint16_t g) : m_(m), g_(g) { skipEmpty(); }
        Element operator*() const { return Element(m_, {g_, i_}); }
        iterator& operator++() {
            if (++i_ >= m_->group(g_).count) {
                ++g_;
                i_ = 0;
                skipEmpty();
            }
            return *this;
        }
        iterator operator++(int) {
            iterator t = *this;
            ++*this;
            return t;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.g_ == b.g_ && a.i_ == b.i_; }

    private:
        void skipEmpty() {
            while (m_ != nullptr && g_ < m_->groupCount() && m_->group(g_).count == 0) ++g_;
        }
        ElementModel* m_ = nullptr;
        std::uint16_t g_ = 0, i_ = 0;
    };
    iterator begin() const { return {m_, 0}; }
    iterator end() const { return {m_, static_cast<std::uint16_t>(m_->groupCount())}; }
    std::size_t size() const { return m_->elementCount(); }
    // The element at that place in the stacking order.
    Element operator[](std::size_t id) const { return Element(m_, m_->slotOf(static_cast<std::uint32_t>(id))); }

private:
    ElementModel* m_;
};

}  // namespace talvik
