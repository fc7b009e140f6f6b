// Test helpers: a private folder for files the tests write, and a scoped current directory.
// Paths are the platform's own (backslashes on Windows, slashes on Linux).
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// A new, empty folder under the temporary folder, removed with its contents at the end.
class TempDir
{
public:
    TempDir()
    {
        namespace fs = std::filesystem;
        std::random_device random;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0;; ++attempt) {
            m_path = fs::temp_directory_path()
                     / ("qs-unit-" + std::to_string(stamp % 1000000) + "-" + std::to_string(random() % 100000)
                        + "-" + std::to_string(attempt));
            if (fs::create_directory(m_path))
                break;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path() const { return m_path.string(); }
    std::string PathOf(const std::string& name) const { return (m_path / name).string(); }

    // Writes the bytes exactly as given (no line-end translation); returns the full path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = PathOf(name);
        if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return path;
    }

private:
    std::filesystem::path m_path;
};

// Makes a folder the current directory for the life of the object.
class CurrentDirScope
{
public:
    explicit CurrentDirScope(const std::string& directory)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(directory);
    }
    ~CurrentDirScope()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    CurrentDirScope(const CurrentDirScope&) = delete;
    CurrentDirScope& operator=(const CurrentDirScope&) = delete;

private:
    std::filesystem::path m_previous;
};

// The separator the platform writes into full paths.
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif
