// The links' cursor as built into the program: resource 130, used where the system has no
// pointing hand of its own.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "Capabilities.h"
#include "Paths.h"

namespace qs::e2e::hlink {
namespace {

std::string ProgramUnderTest()
{
#ifdef QS_PATH_UPVANE
    return QS_DELIVERABLE(UPVANE);
#else
    return TestedWinPath(QS_PATH_HLINK_HOST);
#endif
}

// The program's resources, without running it.
class ResourceModule
{
public:
    ResourceModule()
        : m_module(LoadLibraryExA(ProgramUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~ResourceModule()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    HMODULE Get() const { return m_module; }

    // The bytes of one resource, or nothing.
    std::string Bytes(LPCSTR name, LPCSTR type) const
    {
        HRSRC found = FindResourceA(m_module, name, type);
        HGLOBAL loaded = found ? LoadResource(m_module, found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        return data ? std::string(static_cast<const char*>(data), SizeofResource(m_module, found))
                    : std::string();
    }

private:
    HMODULE m_module;
};

#pragma pack(push, 2)
struct CursorGroupEntry
{
    WORD width;
    WORD height; // twice the image height: colour and mask
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST(LinkResources, Cursor130IsA32By32SixteenColourHandWithHotSpot8And3)
{
    ResourceModule module;
    ASSERT_TRUE(module.Get()) << ProgramUnderTest();
    const std::string group = module.Bytes(MAKEINTRESOURCEA(130), RT_GROUP_CURSOR);
    ASSERT_EQ(group.size(), 6 + sizeof(CursorGroupEntry));
    CursorGroupEntry entry;
    memcpy(&entry, group.data() + 6, sizeof entry);
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 64);

    const std::string image = module.Bytes(MAKEINTRESOURCEA(entry.id), RT_CURSOR);
    ASSERT_GT(image.size(), 4 + sizeof(BITMAPINFOHEADER));
    WORD hotSpot[2];
    memcpy(hotSpot, image.data(), sizeof hotSpot);
    EXPECT_EQ(hotSpot[0], 8);
    EXPECT_EQ(hotSpot[1], 3);
    BITMAPINFOHEADER header;
    memcpy(&header, image.data() + 4, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biBitCount, 4);

    // The mask after the 16-colour palette and the colour rows: opaque at the hot spot (the
    // fingertip), transparent in the top-left corner. Rows run bottom-up, 4 bytes each.
    const size_t maskOffset = 4 + header.biSize + 16 * 4 + 32 * 16;
    ASSERT_EQ(image.size(), maskOffset + 32 * 4);
    auto transparent = [&](int x, int y) {
        const unsigned char byte = static_cast<unsigned char>(image[maskOffset + (31 - y) * 4 + x / 8]);
        return (byte >> (7 - x % 8)) & 1;
    };
    EXPECT_FALSE(transparent(8, 3));
    EXPECT_TRUE(transparent(0, 0));
    EXPECT_TRUE(transparent(31, 31));

    // The bytes above are the build's; making a cursor of them needs the platform's cursors.
    QS_SKIP_WITHOUT(CursorsMissing);
    HCURSOR cursor = reinterpret_cast<HCURSOR>(
        CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                 static_cast<DWORD>(image.size()), FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_TRUE(cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 8u);
    EXPECT_EQ(info.yHotspot, 3u);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DestroyCursor(cursor);
}

} // namespace
} // namespace qs::e2e::hlink
