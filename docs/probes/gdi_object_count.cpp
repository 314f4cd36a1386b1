// Measures GetGuiResources(GR_GDIOBJECTS) and how many more brushes the process can make, as objects are held and freed.
#include <windows.h>

#include <cstdio>
#include <vector>

static size_t ObjectsLeft() {
    std::vector<HBRUSH> made;
    while (made.size() < 200000) {
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        if (b == nullptr) break;
        made.push_back(b);
    }
    for (HBRUSH b : made) DeleteObject(b);
    return made.size();
}

int main() {
    HANDLE self = GetCurrentProcess();
    const DWORD countBefore = GetGuiResources(self, GR_GDIOBJECTS);
    const size_t leftBefore = ObjectsLeft();
    HBRUSH held[5];
    for (HBRUSH& b : held) b = CreateSolidBrush(0);
    HDC dc = CreateCompatibleDC(nullptr);
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    const DWORD countHeld = GetGuiResources(self, GR_GDIOBJECTS);
    const size_t leftHeld = ObjectsLeft();
    for (HBRUSH b : held) DeleteObject(b);
    DeleteDC(dc);
    DeleteObject(region);
    const size_t leftAfter = ObjectsLeft();
    HBRUSH again[5];
    for (HBRUSH& b : again) b = CreateSolidBrush(0);
    const size_t leftFiveBrushes = ObjectsLeft();
    for (HBRUSH b : again) DeleteObject(b);
    printf("GetGuiResources: %lu before, %lu holding 5 brushes, a DC and a region\n", countBefore, countHeld);
    printf("objects left: %zu before, %zu holding them, %zu after freeing, %zu holding 5 brushes\n", leftBefore,
           leftHeld, leftAfter, leftFiveBrushes);
}
