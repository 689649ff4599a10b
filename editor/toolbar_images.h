// The toolbar's own images (Compile and Run), which the common controls' standard set lacks.
#pragma once
#include <windows.h>

// Marks for the toolbar table: these images follow the standard ones.
inline constexpr int kCompileImage = 1000;
inline constexpr int kRunImage = 1001;

// A 32x16 bitmap: a check mark (Compile) and a green arrow (Run) on the button face colour.
HBITMAP CreateBuildImages();
