#pragma once
// Values of every variant type, drawn from the fuzzer's input, for the harnesses that
// hand values to the controls.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "frame/host/Variant.h"

namespace talvik::fuzz {

inline Variant fuzzVariant(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 8)) {
    case 0: return {};
    case 1: return in.ConsumeIntegral<std::int16_t>();
    case 2: return in.ConsumeIntegral<std::int32_t>();
    case 3: return in.ConsumeBool();
    case 4: return in.ConsumeFloatingPoint<float>();
    case 5: return in.ConsumeFloatingPoint<double>();
    case 6: return in.ConsumeRandomLengthString(64);
    case 7: {
        StringArray a;
        a.lbound = in.ConsumeIntegral<std::int32_t>();
        for (int n = in.ConsumeIntegralInRange<int>(0, 8); n > 0; --n) a.items.push_back(in.ConsumeRandomLengthString(8));
        return a;
    }
    default: return ObjectRef{};
    }
}

}  // namespace talvik::fuzz
