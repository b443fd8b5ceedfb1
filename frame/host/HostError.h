#pragma once
// The errors that the host layer raises, with the numbers and descriptions that
// containers show, and the helpers that give control code its three error modes.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace talvik {

class HostError : public std::exception {
public:
    HostError(std::int32_t number, std::string description);
    const char* what() const noexcept override { return description.c_str(); }

    std::int32_t number;
    std::string description;
};

namespace err {
inline constexpr std::int32_t InvalidCall = 5;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t ResourceNotFound = 326;
inline constexpr std::int32_t NoSuchArrayElement = 340;
inline constexpr std::int32_t InvalidPropertyValue = 380;
inline constexpr std::int32_t ClassNotAvailable = static_cast<std::int32_t>(0x80040111u);

[[noreturn]] void invalidCall();
[[noreturn]] void overflow();
[[noreturn]] void subscriptOutOfRange();
[[noreturn]] void typeMismatch();
[[noreturn]] void resourceNotFound(std::string_view id);
[[noreturn]] void noSuchArrayElement(std::int64_t index);
[[noreturn]] void invalidPropertyValue();
[[noreturn]] void injectedFault();
}  // namespace err

// Continue-on-error mode: each step is run, and a host error it raises is dropped so
// that the routine goes on with its next step. Anything that is not a host error is a
// bug and still propagates.
//
//     ResumeNext step;
//     step([&] { MaxItemPerCol(bag.Read("MaxItemPerCol", 25).toInt16()); });
//     step([&] { DistanceItems(...); });
class ResumeNext {
public:
    template <class F>
    void operator()(F&& f) {
        try {
            f();
        } catch (const HostError& e) {
            last_ = e.number;
        }
    }
    // Number of the last error skipped, 0 when none was.
    std::int32_t lastError() const { return last_; }

private:
    std::int32_t last_ = 0;
};

}  // namespace talvik
