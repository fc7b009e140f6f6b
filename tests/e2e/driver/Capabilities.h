// What the platform running the tests can do for a program of the tests' own architecture.
// Not every Wine can do all of it for every architecture (Wine 8's experimental WoW64 mode, for
// one, cannot for 32-bit programs); each probe tries the capability itself at run time, in a
// window of this process, so a check that needs it is left out only where it cannot work, and
// runs by itself once the platform can. A run whose set-up is meant to have every capability
// (QS_REQUIRE_CAPABILITIES=1, as scripts/test-i686.sh sets) fails instead, naming the probe.
#pragma once

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace qs::e2e {

// Each answers nothing when the capability works, else why it does not. Probed once per
// process.
//
// A window of this process paints a known colour and the screen shows it.
std::optional<std::string> PaintingUnseen();
// A property sheet with an edit box on its page comes up and ends (tried in a child process,
// since where it cannot, the program faults).
std::optional<std::string> SheetWithEditFails();
// Text is measured: a DC of the screen with the dialog font gives the letters a width, the
// font a height and a line a height when drawn.
std::optional<std::string> TextMeasuredWrongly();
// This process can make an icon of an icon resource, as loading a program's icon does.
std::optional<std::string> IconsMissing();
// A window's text set with letters beyond ASCII in the ANSI code page (SetWindowTextA) reads
// back unchanged (GetWindowTextA).
std::optional<std::string> AnsiTextDamaged();
// True when `text` holds a byte from 0x80 up.
bool BeyondAscii(const std::string& text);
// LoadIcon(NULL, IDI_APPLICATION) answers the system's stock icon.
std::optional<std::string> StockIconMissing();
// The stock arrow cursor exists, and this process can make a cursor of its own.
std::optional<std::string> CursorsMissing();
// A popup menu of one short item is measured a few lines high, not the screen's height.
std::optional<std::string> MenuMeasuredWrongly();

// True when this process runs under Wine (its ntdll answers wine_get_version).
bool RunningUnderWine();

// True when QS_REQUIRE_CAPABILITIES=1: a missing capability is then a fault of the set-up.
bool CapabilitiesRequired();
// For a check that adapts to a missing capability instead of being skipped: passes on why
// `probe` found it missing, and fails the current test when this run requires every one.
std::optional<std::string> Probed(const char* probe, std::optional<std::string> why);

} // namespace qs::e2e

// Answers why the capability of `probe` is missing (nothing when it works); see Probed.
#define QS_PROBE(probe) ::qs::e2e::Probed(#probe, ::qs::e2e::probe())

// Skips the current test, naming the capability it needs and why the platform lacks it; where
// this run requires every capability, fails it instead.
#define QS_SKIP_WITHOUT(probe) \
    do { \
        if (const std::optional<std::string> qs_why = ::qs::e2e::probe()) { \
            if (::qs::e2e::CapabilitiesRequired()) \
                GTEST_FAIL() << "this run requires every capability, and " #probe " found one " \
                                "missing: " \
                             << *qs_why; \
            GTEST_SKIP() << "left to the x86_64 run (" #probe "): " << *qs_why; \
        } \
    } while (false)
