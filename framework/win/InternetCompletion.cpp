#include "InternetCompletion.h"

#include "AnsweringWait.h"
#include "WinInetApi.h"

namespace {

// m_pvCreated of an opening given up; no handle has this value.
void* const kAbandoned = reinterpret_cast<void*>(~static_cast<DWORD_PTR>(0));

void CloseInternetHandle(void* pvHandle)
{
    if (const WinInetApi* pApi = AfxGetWinInetApi())
        pApi->pfnInternetCloseHandle(static_cast<HINTERNET>(pvHandle));
}

} // namespace

CInternetCompletion* CInternetCompletion::Create()
{
    HANDLE hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!hEvent)
        return nullptr;
    return new CInternetCompletion(hEvent);
}

CInternetCompletion::~CInternetCompletion()
{
    ::CloseHandle(m_hEvent);
}

void CInternetCompletion::AddRef()
{
    ::InterlockedIncrement(&m_nRefs);
}

void CInternetCompletion::Release()
{
    if (::InterlockedDecrement(&m_nRefs) == 0)
        delete this;
}

void CInternetCompletion::Arm()
{
    ::InterlockedExchangePointer(const_cast<void**>(&m_pvCreated), nullptr);
    ::ResetEvent(m_hEvent);
}

void CInternetCompletion::AbandonOpen()
{
    void* pvCreated = ::InterlockedExchangePointer(const_cast<void**>(&m_pvCreated), kAbandoned);
    if (pvCreated && pvCreated != kAbandoned)
        CloseInternetHandle(pvCreated);
}

bool CInternetCompletion::Wait(DWORD dwMilliseconds, INTERNET_ASYNC_RESULT& result) const
{
    // The thread keeps answering its windows meanwhile: a wait may last the whole check.
    if (!AfxWaitAnswering(m_hEvent, dwMilliseconds))
        return false;
    result = m_result;
    return true;
}

void CALLBACK CInternetCompletion::StatusCallback(HINTERNET, DWORD_PTR dwContext, DWORD dwStatus,
                                                  LPVOID pvInfo, DWORD dwInfoLength)
{
    // Runs on WinINet's worker (or inside a call of ours): it only hands over the result.
    CInternetCompletion* pThis = reinterpret_cast<CInternetCompletion*>(dwContext);
    if (!pThis)
        return;
    switch (dwStatus) {
    case INTERNET_STATUS_REQUEST_COMPLETE:
        if (pvInfo && dwInfoLength >= sizeof(INTERNET_ASYNC_RESULT))
            pThis->m_result = *static_cast<const INTERNET_ASYNC_RESULT*>(pvInfo);
        else
            pThis->m_result = {0, ERROR_INTERNET_INTERNAL_ERROR};
        ::SetEvent(pThis->m_hEvent);
        break;
    case INTERNET_STATUS_HANDLE_CREATED:
        if (pvInfo && dwInfoLength >= sizeof(INTERNET_ASYNC_RESULT)) {
            void* pvHandle =
                reinterpret_cast<void*>(static_cast<const INTERNET_ASYNC_RESULT*>(pvInfo)->dwResult);
            // Kept for the opening's owner, unless the owner has given the opening up.
            if (pvHandle
                && ::InterlockedCompareExchangePointer(const_cast<void**>(&pThis->m_pvCreated), pvHandle,
                                                       nullptr)
                       == kAbandoned)
                CloseInternetHandle(pvHandle);
        }
        break;
    case INTERNET_STATUS_HANDLE_CLOSING:
        pThis->Release();
        break;
    default:
        break;
    }
}
