// The choice of Quillory's registry file by the width of the primary screen.
#pragma once

// One of the six registry file names for a screen `width` in pixels, or null when no
// file fits that width.
const char* PickRegistryFile(int width);
