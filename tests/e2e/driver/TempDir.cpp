#include "TempDir.h"

#include <atomic>

#include <windows.h>

#include "Files.h"
#include "Paths.h"

namespace qs::e2e {

namespace {

constexpr int kCreateAttempts = 100;

std::atomic<unsigned> g_serial{0};

void MakeParents(const std::string& fullPath)
{
    for (size_t pos = fullPath.find('\\', 3); pos != std::string::npos; pos = fullPath.find('\\', pos + 1)) {
        CreateDirectoryA(fullPath.substr(0, pos).c_str(), nullptr);
    }
}

} // namespace

TempDir::TempDir(const std::string& prefix)
{
    const std::string root = TempRoot();
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const std::string candidate =
            JoinPath(root, prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(g_serial++)
                               + "-" + std::to_string(GetTickCount() % 100000));
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
    }
}

TempDir::~TempDir()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

std::string TempDir::File(const std::string& relative) const
{
    std::string name = relative;
    for (char& c : name) {
        if (c == '/')
            c = '\\';
    }
    return JoinPath(m_path, name);
}

bool TempDir::Write(const std::string& relative, const std::string& bytes) const
{
    const std::string path = File(relative);
    MakeParents(path);
    return WriteFileBytes(path, bytes);
}

std::optional<std::string> TempDir::Read(const std::string& relative) const
{
    return ReadFileBytes(File(relative));
}

bool TempDir::Exists(const std::string& relative) const
{
    return GetFileAttributesA(File(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TempDir::MakeDir(const std::string& relative) const
{
    const std::string path = File(relative);
    MakeParents(path + "\\");
    return path;
}

std::vector<std::string> TempDir::List(const std::string& relative) const
{
    return ListDirectory(relative.empty() ? m_path : File(relative));
}

} // namespace qs::e2e
