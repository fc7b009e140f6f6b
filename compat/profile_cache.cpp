// Reading a profile file on Linux, and keeping the most recently used one parsed.
#include "path_tools.h"
#include "profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <mutex>

namespace compat_detail {

namespace {

// Owns an open file descriptor.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// What tells one state of a file from another, short of its bytes.
struct FileStamp
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified = {};
    timespec changed = {};
};

bool operator==(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool operator==(const FileStamp& a, const FileStamp& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modified == b.modified
           && a.changed == b.changed;
}

FileStamp StampOf(const struct stat& info)
{
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    stamp.changed = info.st_ctim;
    return stamp;
}

long long Nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

// How far AdvanceProfileClock has moved the cache's clock ahead of the system's.
std::atomic<long long> g_clockAdvance{0};

long long NowNanoseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now) + g_clockAdvance.load();
}

// The most recently read file: where it was, how it looked and when it was read.
struct CacheEntry
{
    std::string path;
    FileStamp stamp;
    long long readAt = 0;
    std::shared_ptr<const ProfileFile> profile;
};

class ProfileCache
{
public:
    // The cached parse when the file is the one read then, unchanged and settled.
    std::shared_ptr<const ProfileFile> Settled(const std::string& path, const FileStamp& stamp)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_entry.profile || m_entry.path != path || !(m_entry.stamp == stamp))
            return nullptr;
        const long long latest = std::max(Nanoseconds(stamp.modified), Nanoseconds(stamp.changed));
        if (latest + kSettleSeconds * 1000000000LL >= m_entry.readAt)
            return nullptr;
        return m_entry.profile;
    }

    std::shared_ptr<const ProfileFile> Latest()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_entry.profile;
    }

    void Store(CacheEntry entry)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_entry = std::move(entry);
    }

private:
    std::mutex m_mutex;
    CacheEntry m_entry;
};

ProfileCache& Cache()
{
    static ProfileCache cache;
    return cache;
}

const std::shared_ptr<const ProfileFile>& EmptyProfile()
{
    static const std::shared_ptr<const ProfileFile> empty =
        std::make_shared<const ProfileFile>(std::string());
    return empty;
}

// The path a profile call names, with '/' separators; false for a name without a folder.
bool ProfilePath(const char* lpFileName, std::string& path)
{
    if (!lpFileName || !*lpFileName)
        return false;
    path = lpFileName;
    if (path.find_first_of("/\\") == std::string::npos)
        return false;
    for (char& ch : path) {
        if (ch == '\\')
            ch = '/';
    }
    return true;
}

// Reads the whole regular file; its stamp is taken from the open file before reading.
bool ReadFile(const std::string& path, std::string& contents, FileStamp& stamp)
{
    // Non-blocking, so that a pipe put in the file's place since the check cannot stall us.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info;
    if (file.Get() < 0 || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    stamp = StampOf(info);
    contents.clear();
    contents.reserve(static_cast<size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(file.Get(), chunk, sizeof chunk);
        if (got > 0)
            contents.append(chunk, static_cast<size_t>(got));
        else if (got == 0)
            break;
        else if (errno != EINTR)
            return false;
    }
    DropByteOrderMark(contents);
    return true;
}

// The existing regular file that a profile call names, with its state; false for anything else
// (a folder, a pipe or a device is no profile file: reading one could block or not end).
bool FindProfileFile(const char* lpFileName, std::string& path, struct stat& info)
{
    if (!ProfilePath(lpFileName, path))
        return false;
    if (stat(path.c_str(), &info) != 0) {
        path = ResolveNoCase(path);
        if (stat(path.c_str(), &info) != 0)
            return false;
    }
    return S_ISREG(info.st_mode);
}

} // namespace

std::string ReadProfileFileBytes(const char* lpFileName)
{
    std::string path;
    struct stat info;
    std::string contents;
    FileStamp stamp;
    if (!FindProfileFile(lpFileName, path, info) || !ReadFile(path, contents, stamp))
        contents.clear();
    return contents;
}

std::shared_ptr<const ProfileFile> LoadProfileFile(const char* lpFileName)
{
    std::string path;
    struct stat info;
    if (!FindProfileFile(lpFileName, path, info))
        return EmptyProfile();
    ProfileCache& cache = Cache();
    if (auto settled = cache.Settled(path, StampOf(info)))
        return settled;

    // Read afresh; the time is taken first, so that a change during the read counts as young.
    CacheEntry entry;
    entry.path = path;
    entry.readAt = NowNanoseconds();
    std::string contents;
    if (!ReadFile(path, contents, entry.stamp))
        return EmptyProfile();
    std::shared_ptr<const ProfileFile> latest = cache.Latest();
    entry.profile = latest && latest->Contents() == contents
                        ? std::move(latest)
                        : std::make_shared<const ProfileFile>(std::move(contents));
    cache.Store(entry);
    return entry.profile;
}

void AdvanceProfileClock(int seconds)
{
    g_clockAdvance += static_cast<long long>(seconds) * 1000000000LL;
}

} // namespace compat_detail
