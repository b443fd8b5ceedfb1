// Controls restored from arbitrary property stores, as a container reads them: the
// keys each class saves (and others) holding values of any type. A control restored
// from what it saved saves the same again.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/com/ControlHandle.h"
#include "frame/host/PropertyBag.h"
#include "frame/typelib/Catalogue.h"
#include "fuzz/FuzzValues.h"
#include "hosts/headless/HeadlessHost.h"

using namespace talvik;

namespace {

Outcome make(const ControlClass& cls, ControlHandle& control) {
    auto host = std::make_shared<HeadlessHost>();
    host->setRecordLimit(16);
    const Outcome o =
        cls.isPublic() ? createControl(cls.name, host, control) : createPrivateControl(cls.name, host, control);
    if (o) control.initialize();
    return o;
}

// The keys a fresh control of the class saves.
const std::vector<std::string>& savedKeys(const ControlClass& cls) {
    static std::map<std::string_view, std::vector<std::string>> keys;
    auto [it, added] = keys.try_emplace(cls.name);
    if (added) {
        ControlHandle control;
        if (make(cls, control)) {
            control.initProperties();
            PropertyBag bag;
            control.writeProperties(bag);
            for (const PropertyBag::Write& w : bag.writes()) it->second.push_back(w.key);
            control.destroy();
        }
    }
    return it->second;
}

PropertyBag restoredFrom(const std::vector<PropertyBag::Write>& writes) {
    PropertyBag bag;
    for (const PropertyBag::Write& w : writes) bag.WriteProperty(w.key, w.value, w.defaultValue);
    return bag;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto classes = catalogue();
    const ControlClass& cls = *classes[in.ConsumeIntegralInRange<std::size_t>(0, classes.size() - 1)];
    const std::vector<std::string>& keys = savedKeys(cls);

    PropertyBag bag;
    while (in.remaining_bytes() > 0) {
        const std::string key = !keys.empty() && in.ConsumeIntegralInRange<int>(0, 7) != 0
                                    ? keys[in.ConsumeIntegralInRange<std::size_t>(0, keys.size() - 1)]
                                    : in.ConsumeRandomLengthString(16);
        bag.WriteProperty(key, fuzz::fuzzVariant(in), {});
    }

    ControlHandle first;
    if (!make(cls, first)) return 0;
    first.readProperties(bag);
    first.show();
    PropertyBag saved;
    if (!first.writeProperties(saved)) return 0;
    first.destroy();

    ControlHandle second;
    if (!make(cls, second)) __builtin_trap();
    second.readProperties(restoredFrom(saved.writes()));
    PropertyBag again;
    second.writeProperties(again);
    if (again.writes().size() != saved.writes().size()) __builtin_trap();
    for (std::size_t i = 0; i < saved.writes().size(); ++i)
        if (again.writes()[i].key != saved.writes()[i].key || !(again.writes()[i].value == saved.writes()[i].value))
            __builtin_trap();
    second.destroy();
    return 0;
}
