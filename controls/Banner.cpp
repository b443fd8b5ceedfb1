#include "controls/Banner.h"

namespace talvik {

const ControlClass Banner::Class{
    .name = "Banner",
    .ids = ClassIds{guid("{9D47F3EF-2FA1-4630-96D5-BCF4CAA747D6}"), guid("{E2F00CF8-6928-41FA-B936-A32FDEFE5B27}"),
                    guid("{BDA763D2-0303-45BD-A68D-8CF85E1A8CC0}")},
};

}  // namespace talvik
