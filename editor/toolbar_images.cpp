#include "toolbar_images.h"

HBITMAP CreateBuildImages() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, 32, 16};
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &all, face);
    DeleteObject(face);

    // Compile: a dark blue check mark, two pixels thick.
    HPEN check = CreatePen(PS_SOLID, 2, RGB(0, 0, 160));
    HGDIOBJ oldPen = SelectObject(dc, check);
    POINT mark[] = {{3, 8}, {6, 12}, {13, 3}};
    Polyline(dc, mark, 3);
    SelectObject(dc, oldPen);
    DeleteObject(check);

    // Run: a green triangle pointing right.
    HBRUSH green = CreateSolidBrush(RGB(0, 150, 0));
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(0, 90, 0));
    HGDIOBJ oldBrush = SelectObject(dc, green);
    oldPen = SelectObject(dc, outline);
    POINT arrow[] = {{21, 2}, {29, 8}, {21, 14}};
    Polygon(dc, arrow, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(green);
    DeleteObject(outline);

    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    return bitmap;
}
