// The decision of a version check: what the received start of the version document says,
// compared with the installed text, and what the dialog shows and changes as a result.
// Pure: the dialog does the request, calls DecideVersionCheck and applies the result.
#pragma once

#include "CString.h"

// At most this many bytes of the document are received, in one read.
inline constexpr int kVersionReadSize = 200;

// The examined text is 30 bytes, or 32 for a document that begins with the long-form mark.
inline constexpr int kExaminedLength = 30;
inline constexpr int kLongExaminedLength = 32;
inline constexpr char kLongFormMark[] = "Q7";

// The words looked for, in a lowered copy of the text.
inline constexpr char kVersionWord[] = "version";
inline constexpr char kBuildWord[] = "build";

// The version part's length is measured from this fixed position, where "version" begins in
// the expected layout ("Sample App Version 3.2 Build 7"), not from where it is found.
inline constexpr int kVersionWordPosition = 11;

// How a check leaves a control's state.
enum class ControlChange { Unchanged, Enable, Disable };

// Version and build parts of a version text: the version from the word "version" up to the word
// "build" (measured as if "version" began at position 11), the build from "build" to the end.
// The words are found in any letter case; the parts keep the text's own letters.
struct VersionParts
{
    CString m_strInstalledVersion; // trimmed
    CString m_strInstalledBuild;   // untrimmed
    CString m_strAvailableVersion; // trimmed
    CString m_strAvailableBuild;   // trimmed
};

struct VersionCheckResult
{
    CString m_strExamined;   // the examined start of the document
    bool m_bMissing = false; // it holds "Resource not found": the server's error page
    VersionParts m_parts;
    int m_nVersionOrder = 0; // sign of comparing installed with available version
    int m_nBuildOrder = 0;   // sign of comparing installed with available build

    ControlChange m_download = ControlChange::Unchanged; // Download button 1011
    bool m_bShowWhatsNew = false;                        // show the what's-new link (nothing hides it)
    CString m_strWhatsNewText;                           // the what's-new link's text, set on every check

    CString m_strVersionDisplay;   // the new text of control 1008
    bool m_bSetResultText = false; // whether control 1010 gets m_strResultText
    CString m_strResultText;       // may be empty
};

// The examined text: the first 32 received bytes, ended early by a NUL, trailing white space
// removed; unless that begins with "Q7", the first 30 bytes instead, treated the same way.
// Reads no byte at or beyond nReceived (a negative count reads nothing).
CString CutExaminedText(const char* pReceived, int nReceived);

// The four parts of the installed text and of the examined text.
VersionParts CutVersionParts(const CString& strInstalled, const CString& strExamined);

// Sign (-1, 0, 1) of comparing two texts byte by byte as unsigned values, letter case
// significant: the order of the system's single-byte code page.
int CompareVersionTexts(const CString& strA, const CString& strB);

// The whole decision for the bytes of one read. strInstalledLine is what control 1008 showed
// after start-up ("Installed  Version:  " + installed).
VersionCheckResult DecideVersionCheck(const CString& strInstalled, const CString& strInstalledLine,
                                      const char* pReceived, int nReceived);
