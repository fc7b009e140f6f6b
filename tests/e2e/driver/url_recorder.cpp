// url_recorder.exe: registered in the test prefix as the program that opens "http" and
// "mailto" addresses. Each start appends its whole command line, as one line, to the log
// file named by QS_URL_RECORDER_LOG or, failing that, by the registry (see
// UrlRecorderSettings.h), then ends with exit code 0 (2 when it could not write).
#include <windows.h>

#include <cstring>

#include "UrlRecorderSettings.h"

namespace {

constexpr DWORD kOpenAttempts = 100; // another recorder may hold the log for a moment
constexpr DWORD kOpenRetryMs = 20;

bool LogPathFromEnvironment(char* path, DWORD size)
{
    const DWORD n = GetEnvironmentVariableA(qs::e2e::kUrlRecorderLogVariable, path, size);
    return n > 0 && n < size;
}

bool LogPathFromRegistry(char* path, DWORD size)
{
    DWORD bytes = size;
    return RegGetValueA(HKEY_CURRENT_USER, qs::e2e::kUrlRecorderKey, qs::e2e::kUrlRecorderLogValue,
                        RRF_RT_REG_SZ, nullptr, path, &bytes)
               == ERROR_SUCCESS
           && path[0] != '\0';
}

bool AppendLine(const char* path, const char* text)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    for (DWORD attempt = 0; attempt < kOpenAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            Sleep(kOpenRetryMs);
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD length = static_cast<DWORD>(std::strlen(text));
    DWORD written = 0;
    const bool ok = WriteFile(file, text, length, &written, nullptr) && written == length
                    && WriteFile(file, "\r\n", 2, &written, nullptr) && written == 2;
    CloseHandle(file);
    return ok;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH * 2] = {};
    if (!LogPathFromEnvironment(path, sizeof path) && !LogPathFromRegistry(path, sizeof path)) {
        return 2;
    }
    return AppendLine(path, GetCommandLineA()) ? 0 : 2;
}
