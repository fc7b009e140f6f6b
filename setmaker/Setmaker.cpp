#include "Setmaker.h"

#include <cstring>

namespace {

const char kToolHelp[] = "setmaker: makes and checks the set files of Upvane, the Quillory upgrade checker.\n"
                         "\n"
                         "Usage:\n"
                         "  setmaker make [-i SOURCE.ini] -o OUTPUT.set [--allow-missing] [KEY=VALUE ...]\n"
                         "  setmaker show SETFILE.set\n"
                         "  setmaker check (--installed TEXT | --set-file SETFILE.set) DOCUMENT\n"
                         "  setmaker verify SETFILE.set [--installed TEXT] [--timeout SECONDS] [--quiet]\n"
                         "  setmaker help [COMMAND]      (or: setmaker COMMAND --help)\n"
                         "  setmaker --version\n"
                         "\n"
                         "Commands:\n"
                         "  make   write a set file from plain values, scrambled the way Upvane reads them\n"
                         "  show   print each value of a set file as Upvane reads and shows it\n"
                         "  check  decide a version check for an installed text and a version document\n"
                         "         the way Upvane's Check button decides it\n"
                         "  verify check a release as Upvane meets it, on its servers (Windows builds)\n"
                         "\n"
                         "Keys of section [information]:\n"
                         "  title info installed site weblink mailtext webmail wizfile updatefilename\n"
                         "\n"
                         "Exit status: 0 done, 1 refused or failed, 2 wrong command line;\n"
                         "verify also 3 to 5 (see \"setmaker verify --help\").\n";

struct Command
{
    const char* m_pszName;
    int (*m_pRun)(const std::vector<std::string>&, std::string&, std::string&);
    const char* m_pszHelp;
};

const Command kCommands[] = {
    {"make", RunMakeCommand, kMakeHelp},
    {"show", RunShowCommand, kShowHelp},
    {"check", RunCheckCommand, kCheckHelp},
    {"verify", nullptr, kVerifyHelp}, // runs with the network: see RunSetmaker
};

const Command* FindCommand(const std::string& strName)
{
    for (const Command& command : kCommands) {
        if (strName == command.m_pszName)
            return &command;
    }
    return nullptr;
}

} // namespace

int RunSetmaker(const std::vector<std::string>& args, std::string& strOut, std::string& strErr,
                VerifyNetwork* pNetwork)
{
    if (args.empty())
        return UsageError("", "no command given", strErr);
    const std::string& strFirst = args[0];
    if (strFirst == "--help" || strFirst == "-h" || (strFirst == "help" && args.size() == 1)) {
        strOut += kToolHelp;
        return kExitSuccess;
    }
    if (strFirst == "--version") {
        strOut += "setmaker " QS_VERSION_TEXT "\n";
        return kExitSuccess;
    }
    if (strFirst == "help") {
        const Command* pCommand = FindCommand(args[1]);
        if (!pCommand || args.size() > 2)
            return UsageError("", "help takes one command name: make, show, check or verify", strErr);
        strOut += pCommand->m_pszHelp;
        return kExitSuccess;
    }
    const Command* pCommand = FindCommand(strFirst);
    if (!pCommand)
        return UsageError("", "unknown command \"" + strFirst + "\"", strErr);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (!pCommand->m_pRun)
        return RunVerifyCommand(rest, pNetwork, strOut, strErr);
    return pCommand->m_pRun(rest, strOut, strErr);
}
