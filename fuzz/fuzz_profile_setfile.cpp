// Fuzz target: the profile stand-ins and CIniFile over arbitrary set files.
// Input: three texts (section, key, default), up to 24 bytes of choices (buffer sizes, an
// index), then the file's bytes. Each run writes the bytes to one temporary file and
//  - calls the three profile reads with buffers of exactly the chosen size (0, a few bytes,
//    about the file's size, or 64 KB), checking the size contracts the reader relies on;
//  - opens the file with CIniFile and looks up the chosen section and key, every index of
//    the chosen kind, and each key the section listing gives, in both letter cases.
#include "CIniFile.h"
#include "compat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort(); \
        } \
    } while (0)

namespace {

// Limits of one run's work, so that an iteration stays fast.
constexpr size_t kMaxText = 64;
constexpr int kMaxSectionsChecked = 8;
constexpr int kMaxKeysChecked = 8;
constexpr DWORD kHugeBuffer = 1u << 16;

// The file every run writes: in a folder of this process under $TMPDIR, removed at exit.
class ScratchFile
{
public:
    ScratchFile()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qs-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_dir = pattern;
        m_path = m_dir + "/fuzz.set";
    }
    ~ScratchFile()
    {
        unlink(m_path.c_str());
        rmdir(m_dir.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const char* Write(const std::string& bytes) const
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        FUZZ_CHECK(file);
        FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
        std::fclose(file);
        return m_path.c_str();
    }

private:
    std::string m_dir;
    std::string m_path;
};

// A buffer of exactly the given size, so that the sanitizer sees any write past its end.
// Filled with a marker to catch an answer that claims bytes it did not write.
struct Buffer
{
    explicit Buffer(DWORD size)
        : size(size),
          data(new char[size])
    {
        std::memset(data.get(), '#', size);
    }
    DWORD size;
    std::unique_ptr<char[]> data;
};

DWORD PickSize(FuzzedDataProvider& in, size_t fileSize)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return in.ConsumeIntegralInRange<DWORD>(0, 4);
    case 1:
        return in.ConsumeIntegralInRange<DWORD>(0, 64);
    case 2:
        return in.ConsumeIntegralInRange<DWORD>(0, static_cast<DWORD>(fileSize * 2 + 16));
    default:
        return kHugeBuffer;
    }
}

// A list: strings each with its NUL, closed by one more NUL; a list that does not fit ends
// in two NULs at the buffer's end and answers size - 2.
void CheckList(const Buffer& buffer, DWORD n)
{
    const char* p = buffer.data.get();
    if (buffer.size == 0) {
        FUZZ_CHECK(n == 0);
        return;
    }
    if (buffer.size == 1) {
        FUZZ_CHECK(n == 0 && p[0] == '\0');
        return;
    }
    FUZZ_CHECK(n <= buffer.size - 2);
    FUZZ_CHECK(p[n] == '\0'); // an empty list is a NUL in the first byte
    if (n > 0)
        FUZZ_CHECK(p[n - 1] == '\0' || p[n + 1] == '\0');
}

// One value: at most size - 1 characters and a NUL.
void CheckValue(const Buffer& buffer, DWORD n)
{
    if (buffer.size == 0) {
        FUZZ_CHECK(n == 0);
        return;
    }
    FUZZ_CHECK(n <= buffer.size - 1);
    FUZZ_CHECK(buffer.data[n] == '\0');
}

void ProfileCalls(FuzzedDataProvider& in, const std::string& section, const std::string& key,
                  const char* dflt, size_t fileSize, const char* path)
{
    Buffer names(PickSize(in, fileSize));
    CheckList(names, GetPrivateProfileSectionNamesA(names.data.get(), names.size, path));

    Buffer lines(PickSize(in, fileSize));
    CheckList(lines, GetPrivateProfileSectionA(section.c_str(), lines.data.get(), lines.size, path));

    Buffer value(PickSize(in, fileSize));
    CheckValue(value, GetPrivateProfileStringA(section.c_str(), key.c_str(), dflt, value.data.get(),
                                               value.size, path));

    Buffer keys(PickSize(in, fileSize));
    CheckList(keys,
              GetPrivateProfileStringA(section.c_str(), nullptr, dflt, keys.data.get(), keys.size, path));

    Buffer allNames(PickSize(in, fileSize));
    CheckList(allNames,
              GetPrivateProfileStringA(nullptr, nullptr, dflt, allNames.data.get(), allNames.size, path));
}

std::string Upper(std::string text)
{
    _strupr(&text[0]);
    return text;
}

// The reader finds every key that the section listing gives, in any letter case, unless a
// line without "=" of the same name came first (that key has no value: the default answers).
void CheckListedKeysAreFound(CIniFile& ini, const std::string& section, const char* path, size_t fileSize)
{
    // A listing is never longer than the file plus a NUL for each line and one to close it.
    Buffer lines(static_cast<DWORD>(fileSize * 2 + 16));
    const DWORD n = GetPrivateProfileSectionA(section.c_str(), lines.data.get(), lines.size, path);
    FUZZ_CHECK(n < lines.size - 2);
    int checked = 0;
    std::vector<std::string> valueless; // upper-cased
    for (const char* line = lines.data.get(); *line && checked < kMaxKeysChecked;
         line += std::strlen(line) + 1) {
        const char* equals = std::strchr(line, '=');
        if (!equals)
            valueless.push_back(Upper(line));
        if (!equals || equals == line)
            continue; // a line without "=" or an empty key is found by no look-up
        if (std::find(valueless.begin(), valueless.end(), Upper(std::string(line, equals)))
            != valueless.end())
            continue;
        // Every other key is asked for in upper case.
        const bool upper = checked % 2 == 1;
        const std::string s = upper ? Upper(section) : section;
        const std::string k = upper ? Upper(std::string(line, equals)) : std::string(line, equals);
        FUZZ_CHECK(ini.HasKey(s.c_str(), k.c_str()));
        // Not found, the answer would be the default: two defaults tell it from a value.
        const std::string first = ini.GetValue(s.c_str(), k.c_str(), "\x01");
        const std::string second = ini.GetValue(s.c_str(), k.c_str(), "\x02");
        FUZZ_CHECK(first == second);
        ++checked;
    }
}

void ReaderCalls(FuzzedDataProvider& in, const std::string& section, const std::string& key, const char* dflt,
                 const std::string& bytes, const char* path)
{
    CIniFile ini;
    FUZZ_CHECK(ini.Open(path));
    const int count = ini.GetSectionCount();
    FUZZ_CHECK(count >= 0);

    const int index =
        in.PickValueInArray({INT_MIN, -1, 0, 1, count - 1, count, INT_MAX, in.ConsumeIntegral<int>()});
    const std::string name = ini.GetSectionName(index);
    const int clamped = count == 0 ? 0 : (index < 0 ? 0 : (index >= count ? count - 1 : index));
    FUZZ_CHECK(name == ini.GetSectionName(clamped));

    const std::string expectedDefault = dflt ? dflt : "";
    const bool hasKey = ini.HasKey(section.c_str(), key.c_str());
    const bool hasSection = ini.HasSection(section.c_str());
    FUZZ_CHECK(!hasKey || hasSection);
    const std::string value = ini.GetValue(section.c_str(), key.c_str(), dflt ? dflt : "");
    if (!hasKey)
        FUZZ_CHECK(value == expectedDefault);

    // NUL bytes in the file split listed names and lines; the contract is about text files.
    if (bytes.find('\0') != std::string::npos)
        return;
    for (int i = 0; i < count && i < kMaxSectionsChecked; ++i) {
        const std::string loaded = ini.GetSectionName(i);
        FUZZ_CHECK(!loaded.empty());
        FUZZ_CHECK(ini.HasSection(loaded.c_str()));
        CheckListedKeysAreFound(ini, loaded, path, bytes.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchFile scratch;

    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(kMaxText);
    const std::string key = in.ConsumeRandomLengthString(kMaxText);
    const std::string dfltText = in.ConsumeRandomLengthString(kMaxText);
    const char* dflt = in.ConsumeBool() ? dfltText.c_str() : nullptr;
    // How many bytes of choices is the input's last byte; everything after them is the file.
    std::vector<uint8_t> choices = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 24));
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const char* path = scratch.Write(bytes);

    FuzzedDataProvider pick(choices.data(), choices.size());
    ProfileCalls(pick, section, key, dflt, bytes.size(), path);
    ReaderCalls(pick, section, key, dflt, bytes, path);
    return 0;
}
