// Waiting, on the calling thread and for a bounded time, for WinINet's asynchronous
// operations on one connection and its request. A session opened with INTERNET_FLAG_ASYNC
// answers ERROR_IO_PENDING for an operation that must wait for the network; WinINet finishes
// it on its own worker and reports INTERNET_STATUS_REQUEST_COMPLETE to the status callback,
// which signals the event waited for here. When the wait runs out, the caller closes the
// handle, which cancels the operation.
// WinINet may still call back after that (the cancelled operation completing, then
// INTERNET_STATUS_HANDLE_CLOSING, the last call for a handle), and may still write the data of
// a cancelled read. So the object, the read buffer included, lives until its owner has let it
// go and every handle opened with it as context has reported that it is closing.
#pragma once

#include <windows.h>
#include <wininet.h>

class CInternetCompletion
{
public:
    // Reads go through a buffer of this size in the object.
    static const DWORD kReadSize = 4096;

    // A new object with one reference, its owner's; NULL when the system has no event for it.
    static CInternetCompletion* Create();
    CInternetCompletion(const CInternetCompletion&) = delete;
    CInternetCompletion& operator=(const CInternetCompletion&) = delete;

    // The context value that names this object to WinINet (never 0, for which WinINet would
    // call back nothing).
    DWORD_PTR Context() const { return reinterpret_cast<DWORD_PTR>(this); }
    // One more reference: a handle about to be opened with this object as its context. Its
    // INTERNET_STATUS_HANDLE_CLOSING releases it.
    void AddRef();
    void Release();

    // Before each operation: forget the completion of the one before.
    void Arm();
    // After an operation answered ERROR_IO_PENDING: waits at most dwMilliseconds (INFINITE
    // allowed) for it. True once it completed, with WinINet's report of it; false when the
    // wait ran out (or failed), the operation then still pending. The calling thread's
    // messages are read meanwhile (AnsweringWait.h).
    bool Wait(DWORD dwMilliseconds, INTERNET_ASYNC_RESULT& result) const;

    // An opening whose wait ran out gives up its handle: the one WinINet has already reported
    // created is closed now, one reported later is closed as it is reported, so that the
    // opening still pending leaves nothing open behind it.
    void AbandonOpen();

    // Where a read puts its data and its count; they belong to WinINet while a read pends.
    char* ReadBuffer() { return m_readBuffer; }
    DWORD* ReadCount() { return &m_dwRead; }

    // The status callback of a session whose handles name such objects as their context.
    static void CALLBACK StatusCallback(HINTERNET hInternet, DWORD_PTR dwContext, DWORD dwStatus,
                                        LPVOID pvInfo, DWORD dwInfoLength);

private:
    explicit CInternetCompletion(HANDLE hEvent)
        : m_hEvent(hEvent)
    {
    }
    ~CInternetCompletion();

    HANDLE m_hEvent; // manual reset: set by the callback, reset by Arm
    // The handle the last opening was reported to create (INTERNET_STATUS_HANDLE_CREATED),
    // or kAbandoned once that opening was given up; reset by Arm.
    void* volatile m_pvCreated = nullptr;
    volatile LONG m_nRefs = 1;
    INTERNET_ASYNC_RESULT m_result = {}; // written by the callback before it sets the event
    DWORD m_dwRead = 0;
    char m_readBuffer[kReadSize];
};

// Releases the owner's reference.
struct CInternetCompletionRelease
{
    void operator()(CInternetCompletion* p) const { p->Release(); }
};
