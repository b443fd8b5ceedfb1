// Late-bound calls on every class of the library: members found by identifier or by
// name (in any case, or names no class has), called as get, let or method with any
// number of arguments of any type and value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/com/ControlHandle.h"
#include "frame/typelib/Catalogue.h"
#include "fuzz/FuzzValues.h"
#include "hosts/headless/HeadlessHost.h"

using namespace talvik;

namespace {

constexpr InvokeKind kKinds[] = {InvokeKind::Method, InvokeKind::PropertyGet, InvokeKind::PropertyPut};

std::string anyCase(FuzzedDataProvider& in, std::string_view name) {
    std::string s(name);
    for (char& c : s)
        if (in.ConsumeBool()) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        else c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto classes = catalogue();
    const ControlClass& cls = *classes[in.ConsumeIntegralInRange<std::size_t>(0, classes.size() - 1)];

    auto host = std::make_shared<HeadlessHost>();
    host->setRecordLimit(16);
    ControlHandle control;
    const Outcome made = cls.isPublic()
                             ? createControl(in.ConsumeBool() ? std::string(cls.name) : cls.ids->clsid.text(), host, control)
                             : createPrivateControl(cls.name, host, control);
    if (!made) return 0;
    control.initialize();
    if (in.ConsumeBool()) control.initProperties();

    while (in.remaining_bytes() > 0) {
        std::int32_t id = 0;
        if (!cls.members.empty() && in.ConsumeBool()) {
            const MemberDesc& m = cls.members[in.ConsumeIntegralInRange<std::size_t>(0, cls.members.size() - 1)];
            if (in.ConsumeBool()) {
                id = m.id;
            } else if (control.object()->GetIDsOfNames(anyCase(in, m.name), id) != S_OK) {
                __builtin_trap();  // a member of the class's own rows has an identifier
            }
        } else if (in.ConsumeBool()) {
            control.object()->GetIDsOfNames(in.ConsumeRandomLengthString(24), id);
        } else {
            id = in.ConsumeIntegral<std::int32_t>();
        }
        const InvokeKind kind = in.ConsumeBool() ? kKinds[in.ConsumeIntegralInRange<int>(0, 2)]
                                                 : static_cast<InvokeKind>(in.ConsumeIntegral<std::uint16_t>());
        std::vector<Variant> args(in.ConsumeIntegralInRange<std::size_t>(0, in.ConsumeBool() ? 1 : 4));
        for (Variant& a : args) a = fuzz::fuzzVariant(in);
        Variant result;
        ErrorInfo error;
        control.object()->Invoke(id, kind, args, in.ConsumeBool() ? &result : nullptr, &error);
        if (in.ConsumeIntegralInRange<int>(0, 7) == 0) control.show();
    }
    control.destroy();
    return 0;
}
