// The suite's main job, shown end to end: a local version server answers, Upvane starts from
// a folder of its own beside the example set file, Check is pressed and the result shown.
//
// upvane_demo UPVANE_EXE SET_FILE VERSION_DOCUMENT SCREENSHOT_BMP [--stay]
//   --stay  leave the dialog (and the server) up until the user closes it
#include <cstdio>
#include <string>

#include <windows.h>

#include "Files.h"
#include "HttpServer.h"
#include "Paths.h"
#include "Pixels.h"
#include "Process.h"
#include "TempDir.h"
#include "Wait.h"
#include "Window.h"

namespace {

// The example set file's weblink is 127.0.0.1:8642/quillory.
const unsigned short kDemoPort = 8642;
const char kDocumentPath[] = "/quillory/version.txt";

const int kVersionText = 1008;
const int kProgress = 1009;
const int kMessageText = 1010;
const int kCheck = 1012;

int Fail(const char* what)
{
    std::fprintf(stderr, "upvane_demo: %s\n", what);
    return 1;
}

// Shows a control's text on one line per line of the control.
void PrintText(const char* label, const std::string& text)
{
    std::printf("%s:\n", label);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        std::printf("    %s\n",
                    text.substr(start, end == std::string::npos ? std::string::npos : end - start).c_str());
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    using namespace qs::e2e;
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: upvane_demo UPVANE_EXE SET_FILE VERSION_DOCUMENT SCREENSHOT_BMP [--stay]\n");
        return 2;
    }
    const std::string upvane = WinPath(argv[1]);
    const std::string setFile = WinPath(argv[2]);
    const std::string document = WinPath(argv[3]);
    const std::string screenshot = WinPath(argv[4]);
    const bool stay = argc > 5 && std::string(argv[5]) == "--stay";

    const auto body = ReadFileBytes(document);
    if (!body)
        return Fail("cannot read the version document");
    HttpServer server(kDemoPort);
    if (!server.Listening())
        return Fail("cannot listen on 127.0.0.1:8642 (is another demo running?)");
    server.Serve(kDocumentPath, HttpReply::Ok(*body));
    std::printf("version server: %s%s\n", server.Url("").c_str(), kDocumentPath);

    TempDir folder("Upvane demo ");
    if (!CopyFileTo(upvane, folder.File("Upvane.exe"))
        || !CopyFileTo(setFile, folder.File(BaseName(setFile))))
        return Fail("cannot prepare the program's folder");

    Process program = Process::Start(folder.File("Upvane.exe"), "", folder.Path());
    if (!program.Started())
        return Fail("cannot start Upvane.exe");
    HWND dialog = program.WaitForTopWindow("#32770", nullptr, 20000);
    if (!dialog)
        return Fail("Upvane's dialog did not appear");
    WaitUntil([&] { return TryText(Child(dialog, kVersionText)).value_or("Static") != "Static"; }, 10000);
    std::printf("Upvane: \"%s\"\n", Title(dialog).c_str());

    Click(Child(dialog, kCheck));
    const bool done =
        WaitUntil([&] { return ProgressPos(Child(dialog, kProgress)).value_or(0) == 50; }, 30000);
    if (!done)
        return Fail("the check did not finish");
    PumpFor(300); // let the dialog finish painting before the picture

    PrintText("Version (1008)", Text(Child(dialog, kVersionText)));
    PrintText("Message (1010)", Text(Child(dialog, kMessageText)));
    if (SaveScreenshot(dialog, screenshot))
        std::printf("screenshot: %s\n", screenshot.c_str());

    if (stay) {
        std::printf("The dialog stays open; close it to end the demo.\n");
        std::fflush(stdout);
        while (program.Running())
            PumpFor(200);
        return 0;
    }
    PostClose(dialog);
    program.WaitForExit(10000);
    return 0;
}
