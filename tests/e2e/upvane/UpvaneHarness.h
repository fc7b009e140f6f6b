// Runs the real Upvane.exe from a folder of its own beside a set file made for the test, and
// reads its dialog through window messages.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include "Process.h"
#include "ScrambledSetFile.h"
#include "TempDir.h"

namespace qs::e2e {

// Control ids of the main dialog.
enum UpvaneControl {
    kMailLink = 1002,
    kSiteLink = 1003,
    kWhatsNewLink = 1004,
    kVersionText = 1008,
    kProgress = 1009,
    kMessageText = 1010,
    kDownload = 1011,
    kCheck = 1012,
};

// Texts the dialog shows after start-up and after a check.
inline constexpr char kInstalledLine[] = "Installed  Version:  Sample App Version 3.1 Build 5";
inline constexpr char kUpgradeMessage[] = "This is an upgrade\nClick Download to get the Upgrade";
inline constexpr char kLatestMessage[] = "You have the latest version.";

// The system's text for a WinINet error, as the error box should show it (FormatMessage
// from wininet.dll, trailing blanks and line ends removed); empty when it has none.
std::string WinInetErrorText(unsigned long error);

// The main dialog's template size in dialog units.
constexpr int kDialogWidthDlu = 353;
constexpr int kDialogHeightDlu = 245;

// The main dialog's font as the dialog manager makes it from the template (8-point
// "MS Sans Serif"), made again in this process: a font handle of another process cannot be
// used here, but the same request gives the same font in the same Wine prefix.
class DialogFont
{
public:
    // At `dpi` (0: the scale this process runs at).
    explicit DialogFont(int dpi = 0);
    ~DialogFont();
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    // The dialog base units the system derives from the font (average width of the Latin
    // letters, line height); a dialog made with this font has a client area of
    // MulDiv(width, cx, 4) x MulDiv(height, cy, 8) pixels.
    SIZE BaseUnits() const;
    // The height of `text` as a left-aligned static draws it, wrapped at `width` pixels.
    int TextHeight(const std::string& text, int width) const;
    // The width of `text` on one line.
    int TextWidth(const std::string& text) const;

private:
    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// A template rectangle (dialog units) in pixels at the base units `units`, as the dialog
// manager places a control.
RECT MapTemplateRect(int x, int y, int cx, int cy, SIZE units);

// The display scale Wine gives programs that start while it is set
// (HKCU\Control Panel\Desktop\LogPixels, read once when a program starts). The value as it
// was is put back when the scope ends, so the tests after this one run at their usual scale.
class ScopedLogPixels
{
public:
    explicit ScopedLogPixels(int dpi);
    ~ScopedLogPixels();
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
    bool Set() const { return m_set; }

private:
    std::optional<unsigned long> m_previous;
    bool m_set = false;
};

// Sends WM_DPICHANGED to `window` of another process as Windows does after a move to a
// monitor of another scale: the suggested rectangle lies in that process's memory. Wine
// never sends it itself. False when the message could not be delivered.
bool SendDpiChanged(HWND window, int dpi, const RECT& suggested);

class UpvaneRun
{
public:
    // A folder holding a copy of Upvane.exe; its name begins with `folderPrefix`, which may
    // hold blanks and apostrophes.
    explicit UpvaneRun(const std::string& folderPrefix = "upvane-");

    const TempDir& Folder() const { return *m_dir; }
    // Writes a file into the program's folder.
    void WriteFile(const std::string& name, const std::string& bytes) const;
    void WriteSetFile(const std::map<std::string, std::string>& plainValues,
                      const std::string& name = "product.set") const;

    // Starts the program in `currentDirectory` ("" = its own folder) and waits for its
    // dialog; false when it did not appear.
    bool Start(const std::string& currentDirectory = "");

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const;
    std::string ItemText(int id) const;
    // The first child whose id is -1 (the information line).
    HWND InformationLine() const;
    // The static that shows the banner (the bitmap static).
    HWND Banner() const;

    // Clicks Check and waits until the check has ended: the progress bar is full, or a
    // message box of the program appeared. Answers that box, or nullptr. `meanwhile` runs once
    // the check has started.
    HWND CheckAndWait(unsigned timeoutMs = 30000, const std::function<void()>& meanwhile = nullptr);
    // A message box of the program (a dialog other than the main one), or nullptr.
    HWND FindMessageBox() const;
    // The text of a message box.
    static std::string MessageBoxText(HWND box);

    Process& Program() { return m_process; }

private:
    std::unique_ptr<TempDir> m_dir;
    Process m_process;
    HWND m_dialog = nullptr;
};

} // namespace qs::e2e
