// The status of an HTTP answer, for callers that judge an address by its answer rather than
// by what it holds.
#include "CInternetSession.h"
#include "WinInetApi.h"

bool CInternetFile::QueryInfoStatusCode(DWORD& dwStatusCode) const
{
    dwStatusCode = 0;
    DWORD nSize = sizeof dwStatusCode;
    const WinInetApi* pApi = AfxGetWinInetApi();
    return pApi && m_hFile.Get() && !m_bFailed
           && pApi->pfnHttpQueryInfo(m_hFile.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                     &dwStatusCode, &nSize, nullptr);
}
