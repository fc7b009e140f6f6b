// setmaker: the vendors' tool for Upvane's set files. See "setmaker --help".
#include "Setmaker.h"

#include <cstdio>

#include "SafeDllSearch.h"

#ifdef _WIN32
#include "WinInetNetwork.h"
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    AfxRestrictDllSearch();
    WinInetNetwork network;
    VerifyNetwork* pNetwork = &network;
#else
    VerifyNetwork* pNetwork = nullptr;
#endif
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    std::string strOut;
    std::string strErr;
    const int nExit = RunSetmaker(args, strOut, strErr, pNetwork);
    std::fwrite(strErr.data(), 1, strErr.size(), stderr);
    std::fwrite(strOut.data(), 1, strOut.size(), stdout);
    if (std::fflush(stdout) != 0 && nExit == kExitSuccess)
        return kExitRefused;
    return nExit;
}
