#pragma once
// A shared, immutable handle to a bitmap. Two pictures are equal when they are the same
// handle, not when their pixels agree: controls keep state in which picture an element
// shows and test it by this comparison.
#include <memory>

#include "frame/model/Bitmap.h"

namespace talvik {

inline constexpr float kTwipsPerPixel = 15.0f;

class Picture {
public:
    Picture() = default;  // the empty picture
    explicit Picture(std::shared_ptr<const Bitmap> bitmap) : bitmap_(std::move(bitmap)) {}

    bool empty() const { return bitmap_ == nullptr; }
    const Bitmap* bitmap() const { return bitmap_.get(); }
    float widthTwips() const { return bitmap_ ? bitmap_->width * kTwipsPerPixel : 0.0f; }
    float heightTwips() const { return bitmap_ ? bitmap_->height * kTwipsPerPixel : 0.0f; }

    friend bool operator==(const Picture& a, const Picture& b) { return a.bitmap_ == b.bitmap_; }

private:
    std::shared_ptr<const Bitmap> bitmap_;
};

}  // namespace talvik
