#include "ClipboardText.h"

#include <cstring>

namespace {

// Movable, shareable memory (0x2002), as the clipboard expects for text.
constexpr UINT kClipboardMemoryFlags = GMEM_MOVEABLE | GMEM_DDESHARE;

// Keeps the clipboard open for one scope.
class ClipboardSession
{
public:
    explicit ClipboardSession(HWND hWndOwner)
        : m_bOpen(::OpenClipboard(hWndOwner) != FALSE)
    {
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen;
};

// Global memory, ours until the clipboard takes it.
class GlobalBlock
{
public:
    GlobalBlock(UINT uFlags, SIZE_T nBytes)
        : m_hMem(::GlobalAlloc(uFlags, nBytes))
    {
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock()
    {
        if (m_hMem)
            ::GlobalFree(m_hMem);
    }
    HGLOBAL Get() const { return m_hMem; }
    // The clipboard owns the memory now.
    void HandOver() { m_hMem = nullptr; }

private:
    HGLOBAL m_hMem;
};

} // namespace

BOOL PutClipboardText(HWND hWndOwner, const CString& strText)
{
    ClipboardSession clipboard(hWndOwner);
    if (!clipboard.IsOpen())
        return FALSE;

    // The text with its terminating zero byte; the clipboard is emptied only once the data is
    // ready, so that a failure leaves the previous content in place.
    const SIZE_T nBytes = static_cast<SIZE_T>(strText.GetLength()) + 1;
    GlobalBlock block(kClipboardMemoryFlags, nBytes);
    if (!block.Get())
        return FALSE;
    void* pData = ::GlobalLock(block.Get());
    if (!pData)
        return FALSE;
    std::memcpy(pData, strText.GetString(), nBytes);
    ::GlobalUnlock(block.Get());

    if (!::EmptyClipboard())
        return FALSE;
    if (!::SetClipboardData(CF_TEXT, block.Get()))
        return FALSE;
    block.HandOver();
    return TRUE;
}
