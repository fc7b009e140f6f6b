// The status of an HTTP answer, for callers that judge an address by its answer rather than
// by what it holds.
#include "CInternetSession.h"

bool CInternetFile::QueryInfoStatusCode(DWORD& dwStatusCode) const
{
    dwStatusCode = 0;
    DWORD nSize = sizeof dwStatusCode;
    return m_hFile.Get()
           && ::HttpQueryInfoA(m_hFile.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &dwStatusCode,
                               &nSize, nullptr);
}
