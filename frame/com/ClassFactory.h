#pragma once
// The class factories behind DllGetClassObject: one for each public class the library
// implements, and the library-internal factory of its private classes.
#include "frame/com/Interfaces.h"

namespace talvik {

// A factory for the class with that identifier, asked for as iid. A public class
// whose control the library does not implement yet, and any identifier that is not
// a public class, give CLASS_E_CLASSNOTAVAILABLE. The library's own identifier with
// IID_IPrivateFactory gives the factory of the private classes.
HRESULT getClassObject(const Guid& clsid, const Guid& iid, void** object) noexcept;

}  // namespace talvik
