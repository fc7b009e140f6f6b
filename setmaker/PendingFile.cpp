#include "PendingFile.h"

#include "DisplayText.h"
#include "FilePaths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Tries this many names; a name is taken only by a file left behind by a crashed run.
constexpr int kNameAttempts = 100;

// The platform's part: one owned file handle, its creation, writing, closing, and the move.
#ifdef _WIN32

using NativeHandle = HANDLE;
const NativeHandle kNoHandle = INVALID_HANDLE_VALUE;

unsigned long ProcessId()
{
    return ::GetCurrentProcessId();
}

std::string LastErrorText()
{
    const DWORD nError = ::GetLastError();
    char text[512] = {};
    const DWORD nLength = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                           nullptr, nError, 0, text, sizeof text, nullptr);
    std::string strText(text, nLength);
    while (!strText.empty()
           && (strText.back() == '\r' || strText.back() == '\n' || strText.back() == ' '
               || strText.back() == '.'))
        strText.pop_back();
    if (strText.empty())
        AppendFormat(strText, "system error %lu", static_cast<unsigned long>(nError));
    return strText;
}

// A new file; bTaken tells that the name exists already.
NativeHandle CreateNew(const std::string& strPath, bool& bTaken)
{
    const HANDLE hFile =
        ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD nError = ::GetLastError();
    bTaken = hFile == INVALID_HANDLE_VALUE && (nError == ERROR_FILE_EXISTS || nError == ERROR_ALREADY_EXISTS);
    ::SetLastError(nError);
    return hFile;
}

// Writes at most nCount bytes; answers how many, or -1 on failure.
long long WriteSome(NativeHandle hFile, const char* pData, size_t nCount)
{
    const DWORD nChunk = nCount > 0x10000000u ? 0x10000000u : static_cast<DWORD>(nCount);
    DWORD nWritten = 0;
    return ::WriteFile(hFile, pData, nChunk, &nWritten, nullptr) ? static_cast<long long>(nWritten) : -1;
}

bool FlushToDisk(NativeHandle hFile)
{
    return ::FlushFileBuffers(hFile) != FALSE;
}

bool CloseNative(NativeHandle hFile)
{
    return ::CloseHandle(hFile) != FALSE;
}

bool MoveOver(const std::string& strFrom, const std::string& strTo)
{
    return ::MoveFileExA(strFrom.c_str(), strTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
           != FALSE;
}

void RemoveFile(const std::string& strPath)
{
    ::DeleteFileA(strPath.c_str());
}

#else

using NativeHandle = int;
const NativeHandle kNoHandle = -1;

unsigned long ProcessId()
{
    return static_cast<unsigned long>(::getpid());
}

std::string LastErrorText()
{
    return std::strerror(errno);
}

NativeHandle CreateNew(const std::string& strPath, bool& bTaken)
{
    const int nFd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    bTaken = nFd < 0 && errno == EEXIST;
    return nFd;
}

long long WriteSome(NativeHandle nFd, const char* pData, size_t nCount)
{
    ssize_t nWritten;
    do {
        nWritten = ::write(nFd, pData, nCount);
    } while (nWritten < 0 && errno == EINTR);
    if (nWritten == 0)
        errno = EIO;
    return nWritten;
}

bool FlushToDisk(NativeHandle nFd)
{
    return ::fsync(nFd) == 0;
}

bool CloseNative(NativeHandle nFd)
{
    return ::close(nFd) == 0;
}

bool MoveOver(const std::string& strFrom, const std::string& strTo)
{
    return std::rename(strFrom.c_str(), strTo.c_str()) == 0;
}

void RemoveFile(const std::string& strPath)
{
    ::unlink(strPath.c_str());
}

#endif

// Owns one open file; closes it unless Close already did.
class FileHandle
{
public:
    explicit FileHandle(NativeHandle handle)
        : m_handle(handle)
    {
    }
    ~FileHandle()
    {
        if (IsValid())
            CloseNative(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsValid() const { return m_handle != kNoHandle; }
    NativeHandle Get() const { return m_handle; }
    bool Close()
    {
        const NativeHandle handle = m_handle;
        m_handle = kNoHandle;
        return CloseNative(handle);
    }

private:
    NativeHandle m_handle;
};

bool WriteAll(FileHandle& file, const std::string& strBytes)
{
    size_t nDone = 0;
    while (nDone < strBytes.size()) {
        const long long nWritten = WriteSome(file.Get(), strBytes.data() + nDone, strBytes.size() - nDone);
        if (nWritten <= 0)
            return false;
        nDone += static_cast<size_t>(nWritten);
    }
    return FlushToDisk(file.Get());
}

} // namespace

PendingFile::~PendingFile()
{
    if (!m_strPath.empty() && !m_bCommitted)
        RemoveFile(m_strPath);
}

bool PendingFile::Write(const std::string& strDestination, const std::string& strBytes, std::string& strError)
{
    m_strDestination = strDestination;
    const std::string strFolder = FolderOf(strDestination);
    for (int nAttempt = 0; nAttempt < kNameAttempts; ++nAttempt) {
        std::string strPath = strFolder + PathSeparator();
        AppendFormat(strPath, "~setmaker-%lu-%d.tmp", ProcessId(), nAttempt);
        bool bTaken = false;
        FileHandle file(CreateNew(strPath, bTaken));
        if (bTaken)
            continue;
        if (!file.IsValid()) {
            strError = "cannot create a file in " + strFolder + ": " + LastErrorText();
            return false;
        }
        m_strPath = strPath;
        if (!WriteAll(file, strBytes) || !file.Close()) {
            strError = "cannot write " + strPath + ": " + LastErrorText();
            return false;
        }
        return true;
    }
    strError = "cannot create a file in " + strFolder + ": every name tried is taken";
    return false;
}

bool PendingFile::Commit(std::string& strError)
{
    if (m_strPath.empty() || m_bCommitted) {
        strError = "nothing to move into place";
        return false;
    }
    if (!MoveOver(m_strPath, m_strDestination)) {
        strError = "cannot move the new file to " + m_strDestination + ": " + LastErrorText();
        return false;
    }
    m_bCommitted = true;
    return true;
}
