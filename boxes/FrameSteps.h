#pragma once
// How a box's layout routine treats a failing step. Most boxes let the first error end
// the routine and reach the host's caller; one box skips the step and carries on, so
// that it is laid out as far as possible.
#include <utility>

#include "frame/host/HostError.h"

namespace talvik::controls {

enum class OnStepError { EndRoutine, SkipStep };

class FrameSteps {
public:
    explicit FrameSteps(OnStepError mode) : mode_(mode) {}

    template <class F>
    void operator()(F&& f) {
        if (mode_ == OnStepError::SkipStep)
            skip_(std::forward<F>(f));
        else
            f();
    }

private:
    OnStepError mode_;
    ResumeNext skip_;
};

}  // namespace talvik::controls
