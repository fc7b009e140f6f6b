#include "Pixels.h"

#include <algorithm>
#include <cstring>

#include "Files.h"

namespace qs::e2e {

namespace {

constexpr int kBytesPerPixel = 3;

// The screen's device context for one scope.
class ScreenDC
{
public:
    ScreenDC()
        : m_dc(GetDC(nullptr))
    {
    }
    ~ScreenDC()
    {
        if (m_dc)
            ReleaseDC(nullptr, m_dc);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// A memory device context with a 32-bit top-down DIB section selected into it.
class MemoryBitmap
{
public:
    MemoryBitmap(HDC compatible, int width, int height)
        : m_dc(CreateCompatibleDC(compatible))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        if (m_dc && m_bitmap)
            m_old = SelectObject(m_dc, m_bitmap);
    }
    ~MemoryBitmap()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_bitmap)
            DeleteObject(m_bitmap);
        if (m_dc)
            DeleteDC(m_dc);
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;
    bool Ok() const { return m_dc && m_bitmap && m_bits; }
    HDC Dc() const { return m_dc; }
    const DWORD* Bits() const { return static_cast<const DWORD*>(m_bits); }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

void AppendLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

ScreenImage::ScreenImage(const RECT& rect, std::vector<COLORREF> pixels)
    : m_rect(rect),
      m_pixels(std::move(pixels))
{
}

COLORREF ScreenImage::At(int x, int y) const
{
    return m_pixels[static_cast<size_t>(y) * Width() + x];
}

int ScreenImage::Count(COLORREF colour) const
{
    return static_cast<int>(std::count(m_pixels.begin(), m_pixels.end(), colour));
}

bool ScreenImage::SaveBmp(const std::string& path) const
{
    const int width = Width();
    const int height = Height();
    const int rowBytes = (width * kBytesPerPixel + 3) & ~3;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * height;
    const uint32_t headerBytes = 14 + 40;

    std::string out;
    out.reserve(headerBytes + imageBytes);
    out += "BM";
    AppendLittleEndian(out, headerBytes + imageBytes, 4);
    AppendLittleEndian(out, 0, 4);
    AppendLittleEndian(out, headerBytes, 4);
    AppendLittleEndian(out, 40, 4); // BITMAPINFOHEADER
    AppendLittleEndian(out, static_cast<uint32_t>(width), 4);
    AppendLittleEndian(out, static_cast<uint32_t>(height), 4); // bottom-up
    AppendLittleEndian(out, 1, 2);
    AppendLittleEndian(out, 24, 2);
    AppendLittleEndian(out, BI_RGB, 4);
    AppendLittleEndian(out, imageBytes, 4);
    AppendLittleEndian(out, 2835, 4); // 72 dpi
    AppendLittleEndian(out, 2835, 4);
    AppendLittleEndian(out, 0, 4);
    AppendLittleEndian(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = At(x, y);
            out.push_back(static_cast<char>(GetBValue(c)));
            out.push_back(static_cast<char>(GetGValue(c)));
            out.push_back(static_cast<char>(GetRValue(c)));
        }
        out.append(static_cast<size_t>(rowBytes - width * kBytesPerPixel), '\0');
    }
    return WriteFileBytes(path, out);
}

COLORREF ScreenPixel(int x, int y)
{
    ScreenDC screen;
    return GetPixel(screen.Get(), x, y);
}

std::optional<ScreenImage> CaptureScreen(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return std::nullopt;
    ScreenDC screen;
    if (!screen.Get())
        return std::nullopt;
    MemoryBitmap memory(screen.Get(), width, height);
    if (!memory.Ok())
        return std::nullopt;
    if (!BitBlt(memory.Dc(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) {
        return std::nullopt;
    }
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    const DWORD* bits = memory.Bits();
    for (size_t i = 0; i < pixels.size(); ++i) {
        const DWORD bgr = bits[i]; // 0x00RRGGBB in memory order B, G, R, unused
        pixels[i] = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    return ScreenImage(rect, std::move(pixels));
}

std::optional<ScreenImage> CaptureWindow(HWND hwnd)
{
    RECT rect = {};
    if (!GetWindowRect(hwnd, &rect))
        return std::nullopt;
    return CaptureScreen(rect);
}

int CountPixels(const RECT& rect, COLORREF colour)
{
    const auto image = CaptureScreen(rect);
    return image ? image->Count(colour) : -1;
}

int CountWindowPixels(HWND hwnd, COLORREF colour)
{
    const auto image = CaptureWindow(hwnd);
    return image ? image->Count(colour) : -1;
}

bool SaveScreenshot(HWND hwnd, const std::string& path)
{
    RECT rect = {};
    if (hwnd) {
        if (!GetWindowRect(hwnd, &rect))
            return false;
    } else {
        rect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const auto image = CaptureScreen(rect);
    return image && image->SaveBmp(path);
}

} // namespace qs::e2e
