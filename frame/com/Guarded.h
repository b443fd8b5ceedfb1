#pragma once
// The edge of the binary interface: a call's exceptions become its result code and
// error info, so that none crosses into a host.
#include <exception>
#include <new>

#include "frame/typelib/Dispatch.h"
#include "frame/host/HostError.h"
#include "frame/com/Interfaces.h"

namespace talvik {

inline HRESULT failWith(HRESULT hr, ErrorInfo* error, std::int32_t number, std::string description) noexcept {
    if (error != nullptr) {
        try {
            *error = {number, std::move(description)};
        } catch (...) {
        }
    }
    return hr;
}

// Runs f, which returns nothing; S_OK unless it throws.
template <class F>
HRESULT guarded(ErrorInfo* error, F&& f) noexcept {
    try {
        f();
        return S_OK;
    } catch (const DispatchError& e) {
        return failWith(e.hr, error, e.number, e.description);
    } catch (const HostError& e) {
        return failWith(DISP_E_EXCEPTION, error, e.number, e.description);
    } catch (const std::bad_alloc&) {
        return failWith(E_OUTOFMEMORY, error, 7, "Out of memory");
    } catch (const std::exception& e) {
        return failWith(E_UNEXPECTED, error, 51, std::string("Internal error: ") + e.what());
    } catch (...) {
        return failWith(E_UNEXPECTED, error, 51, "Internal error");
    }
}

}  // namespace talvik
