// What is drawn on the screen: single pixels, colour counts over a rectangle, and
// screenshots saved as 24-bit BMP files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace qs::e2e {

// A copy of a rectangle of the screen.
class ScreenImage
{
public:
    ScreenImage(const RECT& rect, std::vector<COLORREF> pixels);

    const RECT& Rect() const { return m_rect; }
    int Width() const { return m_rect.right - m_rect.left; }
    int Height() const { return m_rect.bottom - m_rect.top; }
    // The colour at (x, y) relative to the rectangle's top left corner.
    COLORREF At(int x, int y) const;
    // Pixels of exactly that colour.
    int Count(COLORREF colour) const;
    // Writes the image as a bottom-up 24-bit BMP file.
    bool SaveBmp(const std::string& path) const;

private:
    RECT m_rect;
    std::vector<COLORREF> m_pixels; // row by row from the top
};

// GetPixel on the screen's device context.
COLORREF ScreenPixel(int x, int y);

// Copies a screen rectangle (BitBlt from the screen into memory); nothing if empty or the
// copy fails.
std::optional<ScreenImage> CaptureScreen(const RECT& rect);
// The window's rectangle on the screen, as drawn there now (other windows on top included).
std::optional<ScreenImage> CaptureWindow(HWND hwnd);

// Pixels of exactly that colour in a screen rectangle / a window's screen rectangle;
// -1 when the screen could not be read.
int CountPixels(const RECT& rect, COLORREF colour);
int CountWindowPixels(HWND hwnd, COLORREF colour);

// Saves a screenshot of the window's screen rectangle (the whole screen for nullptr) as a
// 24-bit BMP file.
bool SaveScreenshot(HWND hwnd, const std::string& path);

} // namespace qs::e2e
