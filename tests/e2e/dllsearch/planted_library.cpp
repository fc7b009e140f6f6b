// A library that a program should never pick up from its own folder by a bare name.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantedLibraryMarker()
{
    return 42;
}
