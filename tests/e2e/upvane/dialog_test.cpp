// Upvane's dialog after start-up: what the set file says, where the program looks for it,
// and what it does with set files that are damaged or missing.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>

#include "Capabilities.h"
#include "Pixels.h"
#include "UpvaneHarness.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {
namespace {

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kLinkRed = RGB(255, 0, 0);
constexpr unsigned kPaintTimeoutMs = 10000;

// What the dialog shows right after start-up from the example set file.
void ExpectStartUpState(UpvaneRun& run)
{
    EXPECT_EQ("Quillory Upgrade", Title(run.Dialog()));
    EXPECT_EQ("Quillory keeps your notes in order.", Text(run.InformationLine()));
    EXPECT_EQ("Installed  Version:  Sample App Version 3.1 Build 5", run.ItemText(kVersionText));
    EXPECT_EQ("Quillory on the web", run.ItemText(kSiteLink));
    EXPECT_EQ("Write to us", run.ItemText(kMailLink));
    EXPECT_EQ("", run.ItemText(kMessageText));
    EXPECT_FALSE(IsEnabled(run.Item(kDownload)));
    EXPECT_TRUE(IsEnabled(run.Item(kCheck)));
    EXPECT_FALSE(IsVisible(run.Item(kWhatsNewLink)));
    EXPECT_TRUE(IsVisible(run.Item(kSiteLink)));
    EXPECT_EQ(0, ProgressPos(run.Item(kProgress)).value_or(-1));
    // The buttons' captions with their access keys.
    EXPECT_EQ("C&heck", run.ItemText(kCheck));
    EXPECT_EQ("&Download", run.ItemText(kDownload));
    EXPECT_EQ("Cancel", run.ItemText(IDCANCEL));
    // A tool window that keeps its taskbar button.
    EXPECT_TRUE(ExStyle(run.Dialog()) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyle(run.Dialog()) & WS_EX_APPWINDOW);
}

TEST(UpvaneDialog, ShowsTheSetFileValuesDescrambled)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    ASSERT_TRUE(run.Start());
    ExpectStartUpState(run);
}

TEST(UpvaneDialog, AFolderWithBlanksAndAnApostropheIsSearchedLikeAnyOther)
{
    UpvaneRun run("Quillory's Program Files ");
    ASSERT_NE(std::string::npos, run.Folder().Path().find(' '));
    run.WriteSetFile(ExampleValues("www.quillory.example"), "Quillory Product.set");
    ASSERT_TRUE(run.Start());
    EXPECT_EQ("Quillory Upgrade", Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  Sample App Version 3.1 Build 5", run.ItemText(kVersionText));
}

TEST(UpvaneDialog, SetFileIsReadOnlyFromTheProgramsOwnFolderAsCurrentDirectory)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    TempDir elsewhere("elsewhere-");
    ASSERT_TRUE(run.Start(elsewhere.Path()));

    EXPECT_EQ("", Title(run.Dialog()));
    EXPECT_EQ("", Text(run.InformationLine()));
    EXPECT_EQ("Installed  Version:  ", run.ItemText(kVersionText));
    EXPECT_EQ("", run.ItemText(kSiteLink));
    EXPECT_EQ("", run.ItemText(kMailLink));
}

TEST(UpvaneDialog, ASetFileOfTheSameNameInTheCurrentDirectoryIsTheOneRead)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"), "product.set");
    TempDir elsewhere("elsewhere-");
    auto other = ExampleValues("www.quillory.example");
    other["title"] = "Read from the current directory";
    ASSERT_TRUE(elsewhere.Write("product.set", MakeSetFileText(other)));
    ASSERT_TRUE(run.Start(elsewhere.Path()));

    EXPECT_EQ("Read from the current directory", Title(run.Dialog()));
}

TEST(UpvaneDialog, OfTwoSetFilesTheFirstTheSearchReturnsIsUsed)
{
    UpvaneRun run;
    auto a = ExampleValues("a.example");
    a["title"] = "From alpha.set";
    auto b = ExampleValues("b.example");
    b["title"] = "From beta.set";
    run.WriteSetFile(a, "alpha.set");
    run.WriteSetFile(b, "beta.set");

    // Ask the same search which file comes first here.
    WIN32_FIND_DATAA fd = {};
    HANDLE h = FindFirstFileA(run.Folder().File("*.set").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    const std::string first = fd.cFileName;
    FindClose(h);

    ASSERT_TRUE(run.Start());
    EXPECT_EQ(first == "alpha.set" ? "From alpha.set" : "From beta.set", Title(run.Dialog()));
}

TEST(UpvaneDialog, KeysAndSectionInOtherLetterCaseAreFound)
{
    UpvaneRun run;
    run.WriteFile("product.set", "[INFORMATION]\r\nTITLE=" + ScrambleValue("Upper Case Title")
                                     + "\r\nInstalled=" + ScrambleValue("Version 1 Build 2") + "\r\n");
    ASSERT_TRUE(run.Start());
    EXPECT_EQ("Upper Case Title", Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  Version 1 Build 2", run.ItemText(kVersionText));
}

TEST(UpvaneDialog, LongValuesAreDescrambledOverEveryPosition)
{
    // Index 256 wraps to 0 in the scrambling; the value must come back whole.
    std::string info;
    for (int i = 0; i < 300; ++i)
        info += static_cast<char>('A' + i % 26);
    // A scrambled byte may be a line break or blank only from index 128 on; this text
    // avoids those there.
    std::string stored = ScrambleValue(info);
    bool storable = true;
    for (char c : stored)
        storable = storable && c != '\r' && c != '\n' && c != '\0';
    ASSERT_TRUE(storable) << "choose another test text";

    UpvaneRun run;
    auto values = ExampleValues("www.quillory.example");
    values["info"] = info;
    run.WriteSetFile(values);
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(info, Text(run.InformationLine()));
}

// A damaged set file and what the dialog still shows from it.
struct DamagedSetFile
{
    const char* name;
    std::string content;
    std::string title;     // the dialog's caption
    std::string installed; // the installed text after "Installed  Version:  "
    std::string info;      // the information line
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DamagedSetFile& file, std::ostream* os)
{
    *os << file.name;
}

class UpvaneDamagedSetFile : public ::testing::TestWithParam<DamagedSetFile>
{};

TEST_P(UpvaneDamagedSetFile, DialogStillComesUpWithWhatItCanShow)
{
    if (BeyondAscii(GetParam().title + GetParam().installed + GetParam().info))
        QS_SKIP_WITHOUT(AnsiTextDamaged);
    UpvaneRun run;
    run.WriteFile("product.set", GetParam().content);
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(IsVisible(run.Dialog()));
    EXPECT_EQ(GetParam().title, Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  " + GetParam().installed, run.ItemText(kVersionText));
    EXPECT_EQ(GetParam().info, Text(run.InformationLine()));
    EXPECT_EQ("", run.ItemText(kMessageText));
    EXPECT_FALSE(IsEnabled(run.Item(kDownload)));
    EXPECT_TRUE(IsEnabled(run.Item(kCheck)));
    EXPECT_FALSE(IsVisible(run.Item(kWhatsNewLink)));
    PostClose(run.Dialog());
    EXPECT_TRUE(run.Program().WaitForExit(10000));
    EXPECT_EQ(0u, run.Program().ExitCode().value_or(1));
}

std::string BinaryGarbage()
{
    std::string bytes;
    unsigned x = 12345;
    for (int i = 0; i < 5000; ++i) {
        x = x * 1103515245u + 12345u;
        bytes += static_cast<char>(x >> 16);
    }
    return bytes;
}

// What the dialog shows of a stored value: its descrambled text up to the first NUL byte.
std::string ShownOf(const std::string& stored)
{
    const std::string plain = ScrambleValue(stored); // scrambling is its own inverse
    return plain.substr(0, plain.find('\0'));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, UpvaneDamagedSetFile,
    ::testing::Values(
        DamagedSetFile{"Empty", "", "", "", ""},
        DamagedSetFile{"NoInformationSection", "[other]\r\ntitle=" + ScrambleValue("Not this") + "\r\n", "",
                       "", ""},
        DamagedSetFile{"OnlySomeKeys", "[information]\r\ntitle=" + ScrambleValue("Only a title") + "\r\n",
                       "Only a title", "", ""},
        DamagedSetFile{"BinaryGarbage", BinaryGarbage(), "", "", ""},
        DamagedSetFile{"SeveralKilobyteValues",
                       "[information]\r\ninfo=" + std::string(8000, 'x') + "\r\ninstalled="
                           + std::string(6000, '\xC3') + "\r\ntitle=" + ScrambleValue("Long values") + "\r\n",
                       "Long values", ShownOf(std::string(6000, '\xC3')), ShownOf(std::string(8000, 'x'))},
        DamagedSetFile{"LinesWithoutEquals",
                       "[information]\r\ntitle\r\n=\r\n==\r\ninfo=" + ScrambleValue("After the damage")
                           + "\r\n",
                       "", "", "After the damage"}),
    [](const ::testing::TestParamInfo<DamagedSetFile>& info) { return info.param.name; });

TEST(UpvaneDialog, WithoutASetFileEverythingIsEmptyButTheInstalledLine)
{
    UpvaneRun run;
    ASSERT_TRUE(run.Start());
    EXPECT_EQ("", Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  ", run.ItemText(kVersionText));
    EXPECT_EQ("", run.ItemText(kSiteLink));
    EXPECT_FALSE(IsVisible(run.Item(kWhatsNewLink)));
}

TEST(UpvaneDialog, ASetFileThatIsAFolderOrHeldOpenGivesAnEmptyDialog)
{
    // The search for "*.set" finds a folder as well; nothing can be read from it.
    UpvaneRun folder;
    folder.Folder().MakeDir("product.set");
    ASSERT_TRUE(folder.Start());
    EXPECT_EQ("", Title(folder.Dialog()));
    EXPECT_EQ("Installed  Version:  ", folder.ItemText(kVersionText));
    EXPECT_TRUE(IsEnabled(folder.Item(kCheck)));

    // Held open by another program that shares nothing, a complete set file cannot be read.
    UpvaneRun held;
    held.WriteSetFile(ExampleValues("www.quillory.example"));
    const HANDLE hold = CreateFileA(held.Folder().File("product.set").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    const bool started = held.Start();
    CloseHandle(hold);
    ASSERT_TRUE(started);
    EXPECT_EQ("", Title(held.Dialog()));
    EXPECT_EQ("", held.ItemText(kSiteLink));
    PostClose(held.Dialog());
    EXPECT_TRUE(held.Program().WaitForExit(10000));
    EXPECT_EQ(0u, held.Program().ExitCode().value_or(1));
}

TEST(UpvaneDialog, EscapeAndTheCloseBoxEndTheProgram)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    ASSERT_TRUE(run.Start());
    PostClose(run.Dialog());
    EXPECT_TRUE(run.Program().WaitForExit(10000));

    UpvaneRun second;
    ASSERT_TRUE(second.Start());
    Click(second.Item(IDCANCEL));
    EXPECT_TRUE(second.Program().WaitForExit(10000));
}

// The rectangle of `colour`'s pixels in the window's client area, in client coordinates.
std::optional<RECT> ColourBounds(HWND hwnd, COLORREF colour)
{
    const auto image = CaptureScreen(ClientScreenRect(hwnd));
    if (!image)
        return std::nullopt;
    RECT box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x)
            if (image->At(x, y) == colour) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
    if (box.left == INT_MAX)
        return std::nullopt;
    return box;
}

// A control's rectangle in its dialog's client coordinates.
RECT RectInDialog(HWND control)
{
    RECT rect = ScreenRect(control);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_TRUE(EqualRect(&expected, &actual))
        << what << ": (" << actual.left << "," << actual.top << ")-(" << actual.right << "," << actual.bottom
        << "), expected (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
        << expected.bottom << ")";
}

// The banner stands where its template puts it (86, 15, 182 x 29 dialog units) at the dialog's
// scale, and its picture covers all of that frame: its blue reaches the frame's right edge
// from top to bottom and no pixel of the dialog's background shows in it.
void ExpectBannerFillsItsFrame(const UpvaneRun& run, SIZE units)
{
    HWND banner = run.Banner();
    ASSERT_NE(nullptr, banner);
    const RECT frame = MapTemplateRect(86, 15, 182, 29, units);
    ExpectRect(frame, RectInDialog(banner), "banner");
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    std::optional<ScreenImage> image;
    // Once painted, nothing of the background is left.
    RECT onScreen = frame;
    MapWindowPoints(run.Dialog(), HWND_DESKTOP, reinterpret_cast<POINT*>(&onScreen), 2);
    WaitUntil([&] { return (image = CaptureScreen(onScreen)) && image->Count(background) == 0; },
              kPaintTimeoutMs);
    ASSERT_TRUE(image);
    int blueOnRightEdge = 0;
    for (int y = 0; y < image->Height(); ++y) {
        const COLORREF c = image->At(image->Width() - 1, y);
        blueOnRightEdge += GetBValue(c) > GetRValue(c) + 40 && GetBValue(c) > GetGValue(c) ? 1 : 0;
    }
    EXPECT_EQ(frame.bottom - frame.top, blueOnRightEdge)
        << "rows of the banner's colour on the frame's right edge";
    EXPECT_EQ(0, image->Count(background)) << "background pixels in the banner's frame";
}

// Each link is drawn in the dialog's font at `font`'s scale (as wide as its text in that
// font), whole inside its control, and its hit area holds all of the text: the pointer on
// the text's last pixel turns the link red.
void ExpectLinksHoldTheirText(const UpvaneRun& run, const DialogFont& font)
{
    for (const int id : {kMailLink, kSiteLink}) {
        HWND link = run.Item(id);
        const std::string text = run.ItemText(id);
        SCOPED_TRACE(text);
        std::optional<RECT> box;
        ASSERT_TRUE(
            WaitUntil([&] { return (box = ColourBounds(link, kLinkBlue)).has_value(); }, kPaintTimeoutMs));
        RECT client = {};
        ASSERT_TRUE(GetClientRect(link, &client));
        EXPECT_NEAR(font.TextWidth(text), box->right - box->left, 2) << "drawn in a font of another scale";
        EXPECT_LT(box->right, client.right) << "the text is cut at the right";
        EXPECT_LT(box->bottom, client.bottom) << "the text is cut at the bottom";

        PostMouseMove(link, box->right - 1, (box->top + box->bottom) / 2);
        EXPECT_TRUE(WaitUntil([&] { return ColourBounds(link, kLinkRed).has_value(); }, kPaintTimeoutMs))
            << "the end of the text is outside the hit area";
        PostMouseMove(link, client.right + 20, 2);
        EXPECT_TRUE(WaitUntil([&] { return !ColourBounds(link, kLinkRed).has_value(); }, kPaintTimeoutMs));
    }
}

// Upvane at the display scales of most screens (100 % to 200 %): the start-up state, the
// dialog made at that scale, the banner filling its frame, every text whole and each link's
// hit area holding its text. Wine reads the scale when a program starts, so each row starts
// Upvane anew with the scale set, and puts the scale back afterwards.
class UpvaneAtScale : public ::testing::TestWithParam<int>
{};

TEST_P(UpvaneAtScale, BannerFillsItsFrameAndEveryTextShowsWhole)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    QS_SKIP_WITHOUT(TextMeasuredWrongly);
    const int dpi = GetParam();
    const ScopedLogPixels scale(dpi);
    ASSERT_TRUE(scale.Set());
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    ASSERT_TRUE(run.Start());
    ExpectStartUpState(run);

    const DialogFont font(dpi);
    const SIZE units = font.BaseUnits();
    RECT client = {};
    ASSERT_TRUE(GetClientRect(run.Dialog(), &client));
    EXPECT_EQ(MulDiv(kDialogWidthDlu, units.cx, 4), client.right) << "the dialog is not made at this scale";
    EXPECT_EQ(MulDiv(kDialogHeightDlu, units.cy, 8), client.bottom);
    RECT version = {};
    ASSERT_TRUE(GetClientRect(run.Item(kVersionText), &version));
    EXPECT_LE(font.TextHeight(kInstalledLine, version.right), units.cy) << "the installed line wraps";
    RECT info = {};
    ASSERT_TRUE(GetClientRect(run.InformationLine(), &info));
    EXPECT_LE(font.TextWidth(Text(run.InformationLine())), info.right) << "the information line is cut";

    ExpectBannerFillsItsFrame(run, units);
    ExpectLinksHoldTheirText(run, font);
}

INSTANTIATE_TEST_SUITE_P(LogPixels, UpvaneAtScale, ::testing::Values(96, 120, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param);
                         });

// Windows sends WM_DPICHANGED when the dialog moves to a monitor of another scale (Wine never
// does: the test sends it). The dialog takes the suggested rectangle, lays its controls out
// from the template at the new scale, gives them the dialog font made for it, and the banner
// and the links follow; and back again.
TEST(UpvaneDialog, FollowsAMoveToAMonitorOfAnotherScaleAndBack)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    QS_SKIP_WITHOUT(TextMeasuredWrongly);
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    ASSERT_TRUE(run.Start());
    HDC screen = GetDC(nullptr);
    const int startDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    for (const int dpi : {startDpi * 3 / 2, startDpi}) {
        SCOPED_TRACE(dpi);
        const RECT before = ScreenRect(run.Dialog());
        const RECT suggested = {before.left, before.top,
                                before.left + MulDiv(before.right - before.left, dpi, startDpi),
                                before.top + MulDiv(before.bottom - before.top, dpi, startDpi)};
        ASSERT_TRUE(SendDpiChanged(run.Dialog(), dpi, suggested));
        ExpectRect(suggested, ScreenRect(run.Dialog()), "dialog");

        const DialogFont font(dpi);
        const SIZE units = font.BaseUnits();
        ExpectRect(MapTemplateRect(98, 217, 50, 14, units), RectInDialog(run.Item(kCheck)), "Check");
        ExpectRect(MapTemplateRect(205, 217, 50, 14, units), RectInDialog(run.Item(IDCANCEL)), "Cancel");
        ExpectRect(MapTemplateRect(63, 80, 222, 24, units), RectInDialog(run.Item(kVersionText)), "version");
        ExpectRect(MapTemplateRect(61, 155, 231, 19, units), RectInDialog(run.Item(kProgress)), "progress");
        ExpectRect(MapTemplateRect(55, 183, 87, 13, units), RectInDialog(run.Item(kMailLink)), "mail link");
        ExpectRect(MapTemplateRect(55, 199, 117, 13, units), RectInDialog(run.Item(kSiteLink)), "site link");
        ExpectBannerFillsItsFrame(run, units);
        ExpectLinksHoldTheirText(run, font);
    }
}

} // namespace
} // namespace qs::e2e
