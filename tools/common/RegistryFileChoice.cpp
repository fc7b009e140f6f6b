#include "RegistryFileChoice.h"

const char* PickRegistryFile(int width)
{
    // The three smallest sizes and 1680 match only exactly; the two ranges exclude both
    // of their bounds.
    if (width == 1024)
        return "Quil1024Pro.reg";
    if (width == 1152)
        return "Quil1152Pro.reg";
    if (width == 1280)
        return "Quil1280Pro.reg";
    if (width > 1280 && width < 1680)
        return "Quil1440Pro.reg";
    if (width == 1680)
        return "Quil1680Pro.reg";
    if (width > 1680 && width < 2000)
        return "Quil1920Pro.reg";
    return nullptr;
}
