// setmaker: the vendors' tool for Upvane's set files. See "setmaker --help".
#include "Setmaker.h"

#include <cstdio>

#include "SafeDllSearch.h"

int main(int argc, char** argv)
{
#ifdef _WIN32
    AfxRestrictDllSearch();
#endif
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    std::string strOut;
    std::string strErr;
    const int nExit = RunSetmaker(args, strOut, strErr);
    std::fwrite(strErr.data(), 1, strErr.size(), stderr);
    std::fwrite(strOut.data(), 1, strOut.size(), stdout);
    if (std::fflush(stdout) != 0 && nExit == kExitSuccess)
        return kExitRefused;
    return nExit;
}
