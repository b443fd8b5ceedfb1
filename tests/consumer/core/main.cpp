// An answer sheet in the headless host, restored with 40 questions and read back
// through its public members; and the loadable module, opened as a container does.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "answer/Matrix.h"
#include "frame/host/PropertyBag.h"
#include "hosts/headless/HeadlessHost.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main() {
    using namespace talvik;
    using controls::Matrix;
    {
        HeadlessHost host{Matrix::Class};
        const auto& sheet = static_cast<const Matrix&>(*host.control());
        host.Initialize();
        host.ReadProperties(PropertyBag{{"MaxItems", std::int16_t{40}}});

        check(sheet.MaxItems() == 40, "MaxItems restored as 40");
        const StringArray answers = sheet.result();
        check(answers.lbound == 1 && answers.ubound() == 40, "result runs from 1 to 40");
        auto labels = host.labels("Label1");
        check(labels(39).Visible() && labels(39).Caption() == "40", "question 40 shown");
        check(!labels(40).Visible(), "question 41 hidden");
        // 25 questions a column: question 26 heads the second column.
        check(labels(25).Left() == 2875.0f && labels(25).Top() == 72.5f, "question 26 heads column 2");

        PropertyBag saved;
        host.WriteProperties(saved);
        check(saved.ReadProperty("MaxItems", Variant{}) == Variant{std::int16_t{40}}, "MaxItems saved as 40");
    }

    void* module = dlopen(TALVIK_MODULE, RTLD_NOW | RTLD_LOCAL);
    check(module != nullptr, "the module opens");
    if (module != nullptr) {
        for (const char* entry : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
            check(dlsym(module, entry) != nullptr, entry);
        dlclose(module);
    }

    if (failures == 0) std::puts("core consumer: ok");
    return failures == 0 ? 0 : 1;
}
