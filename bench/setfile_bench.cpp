// How the set-file reader's cost grows with the set file. Generated files of 10, 1,000 and
// 10,000 sections (three keys each) and of one section with that many keys; for each:
//   ReadBytes    read the file's bytes once: the floor every reader pays;
//   Open         CIniFile::Open, which loads every section through the profile functions;
//   OpenWritten  the same, each time just after the file was written again (same bytes): a
//                file younger than two seconds is read again on every profile call;
//   OpenMultiByte  CIniFile::Open on the road of a multi-byte ANSI code page (932), where the
//                reader reads the file's bytes itself, as it does on Windows;
//   GetValue     one look-up of a key in the first, middle and last section (or, for the
//                one-section files, of the first, middle and last key).
// Each result carries the file size as bytes_per_second, so a flat figure across sizes is
// linear growth.
#include "CIniFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSizes[] = {10, 1000, 10000};
constexpr int kKeysPerSection = 3;

// Files younger than this are read afresh on every profile call, on Windows' terms as well
// as by the stand-ins; the benchmark measures the settled case of an older set file.
constexpr auto kSettleTime = std::chrono::milliseconds(2100);

enum class Shape { Sections, Keys };

struct SetFile
{
    Shape shape;
    int count;
    std::string path;
    std::string text;
    uintmax_t bytes;
};

std::string Numbered(const char* format, int number)
{
    char text[96];
    std::snprintf(text, sizeof text, format, number, number);
    return text;
}

std::string SectionName(int index)
{
    return Numbered("section_%05d", index);
}
std::string KeyName(int index)
{
    return Numbered("key_%05d", index);
}

std::string MakeText(Shape shape, int count)
{
    std::string text = "; generated set file\r\n";
    if (shape == Shape::Sections) {
        for (int s = 0; s < count; ++s) {
            text += "[" + SectionName(s) + "]\r\n";
            text += Numbered("caption=Product %d, edition %d\r\n", s);
            text += Numbered("installed=Sample App Version 3.%d Build %d\r\n", s);
            text += Numbered("weblink=www.example.com/products/%05d/%d\r\n", s);
        }
    } else {
        text += "[information]\r\n";
        for (int k = 0; k < count; ++k)
            text += KeyName(k) + Numbered("=value of key %d, %d\r\n", k);
    }
    return text;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

// A private folder for the generated files, removed at the end.
class BenchDir
{
public:
    BenchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "qs-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_path = pattern;
    }
    ~BenchDir()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    BenchDir(const BenchDir&) = delete;
    BenchDir& operator=(const BenchDir&) = delete;

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (m_path / name).string();
        WriteFile(path, bytes);
        return path;
    }

private:
    fs::path m_path;
};

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return bytes;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.append(chunk, got);
    return bytes;
}

void SetBytes(benchmark::State& state, const SetFile& file)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.bytes));
    state.counters["file_bytes"] = static_cast<double>(file.bytes);
}

void ReadBytes(benchmark::State& state, const SetFile& file)
{
    for (auto _ : state) {
        std::string bytes = ReadAll(file.path);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetBytes(state, file);
}

void Open(benchmark::State& state, const SetFile& file)
{
    for (auto _ : state) {
        CIniFile ini;
        if (!ini.Open(file.path.c_str()))
            state.SkipWithError("Open failed");
        benchmark::DoNotOptimize(ini.GetSectionCount());
    }
    SetBytes(state, file);
}

// The road Upvane takes under Japanese Windows: the file's own bytes, with code page 932's
// double-byte characters.
void OpenMultiByte(benchmark::State& state, const SetFile& file)
{
    const FileBytesReader multiByte(932);
    for (auto _ : state) {
        CIniFile ini(multiByte);
        if (!ini.Open(file.path.c_str()))
            state.SkipWithError("Open failed");
        benchmark::DoNotOptimize(ini.GetSectionCount());
    }
    SetBytes(state, file);
}

// On a copy, so that the other cases keep a settled file.
void OpenWritten(benchmark::State& state, const SetFile& file)
{
    const std::string copy = file.path + ".written";
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(copy, file.text);
        state.ResumeTiming();
        CIniFile ini;
        if (!ini.Open(copy.c_str()))
            state.SkipWithError("Open failed");
        benchmark::DoNotOptimize(ini.GetSectionCount());
    }
    SetBytes(state, file);
}

void GetValue(benchmark::State& state, const SetFile& file, int index)
{
    CIniFile ini;
    if (!ini.Open(file.path.c_str())) {
        state.SkipWithError("Open failed");
        return;
    }
    const bool sections = file.shape == Shape::Sections;
    const std::string section = sections ? SectionName(index) : "information";
    const std::string key = sections ? "weblink" : KeyName(index);
    const std::string expected = sections ? Numbered("www.example.com/products/%05d/%d", index)
                                          : Numbered("value of key %d, %d", index);
    if (expected != ini.GetValue(section.c_str(), key.c_str(), "")) {
        state.SkipWithError("wrong value");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.GetValue(section.c_str(), key.c_str(), ""));
    SetBytes(state, file);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const BenchDir dir;
    std::vector<SetFile> files;
    for (Shape shape : {Shape::Sections, Shape::Keys}) {
        for (int count : kSizes) {
            const std::string name =
                (shape == Shape::Sections ? "sections-" : "keys-") + std::to_string(count) + ".set";
            const std::string text = MakeText(shape, count);
            files.push_back({shape, count, dir.Write(name, text), text, text.size()});
        }
    }
    std::this_thread::sleep_for(kSettleTime);

    for (const SetFile& file : files) {
        const std::string tag = std::string(file.shape == Shape::Sections ? "sections" : "keys") + "/"
                                + std::to_string(file.count);
        benchmark::RegisterBenchmark(("ReadBytes/" + tag).c_str(), ReadBytes, file);
        benchmark::RegisterBenchmark(("Open/" + tag).c_str(), Open, file)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("OpenWritten/" + tag).c_str(), OpenWritten, file)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("OpenMultiByte/" + tag).c_str(), OpenMultiByte, file)
            ->Unit(benchmark::kMicrosecond);
        const int last = file.count - 1;
        for (const auto& [where, index] : {std::pair{"first", 0}, {"middle", file.count / 2}, {"last", last}})
            benchmark::RegisterBenchmark(("GetValue/" + tag + "/" + where).c_str(), GetValue, file, index);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
