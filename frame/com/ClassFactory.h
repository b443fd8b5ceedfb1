#pragma once
// The class factories behind DllGetClassObject: one for each public class the library
// implements, and the library-internal factory of its private classes.
#include "frame/com/Interfaces.h"

namespace talvik {

struct ControlClass;

// A factory for the class with that identifier, asked for as iid. A public class
// whose control the library does not implement yet, and any identifier that is not
// a public class, give CLASS_E_CLASSNOTAVAILABLE. The library's own identifier with
// IID_IPrivateFactory gives the factory of the private classes.
HRESULT getClassObject(const Guid& clsid, const Guid& iid, void** object) noexcept;

// A factory for a class given by its record, as a program or a test that hosts a
// control of its own serves it beside the library's classes. The record must outlive
// the factory and every control it makes.
HRESULT classObjectOf(const ControlClass& cls, const Guid& iid, void** object) noexcept;

}  // namespace talvik
