// Runs the real Upvane.exe from a folder of its own beside a set file made for the test, and
// reads its dialog through window messages.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <windows.h>

#include "Process.h"
#include "ScrambledSetFile.h"
#include "TempDir.h"

namespace qs::e2e {

// Plain values of a complete set file pointing at `webLink`.
std::map<std::string, std::string> ExampleValues(const std::string& webLink);

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

class UpvaneRun {
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

    // Clicks Check and waits until the check has ended: the progress bar is full, or a
    // message box of the program appeared. Answers that box, or nullptr.
    HWND CheckAndWait(unsigned timeoutMs = 30000);
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

}  // namespace qs::e2e
