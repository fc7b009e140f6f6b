// The tool behind its command line: "setmaker COMMAND [ARGS]". Everything it prints goes into
// two texts (standard output and standard error) and the exit code is the result, so that
// tests call it like a function and main only passes the command line through.
#pragma once

#include "CommandLine.h"

#include <string>
#include <vector>

class VerifyNetwork;

// args: the arguments after the program's name. pNetwork: what verify fetches with; null in a
// build without one.
int RunSetmaker(const std::vector<std::string>& args, std::string& strOut, std::string& strErr,
                VerifyNetwork* pNetwork = nullptr);

// The commands, each given the arguments after its name.
int RunMakeCommand(const std::vector<std::string>& args, std::string& strOut, std::string& strErr);
int RunShowCommand(const std::vector<std::string>& args, std::string& strOut, std::string& strErr);
int RunCheckCommand(const std::vector<std::string>& args, std::string& strOut, std::string& strErr);
int RunVerifyCommand(const std::vector<std::string>& args, VerifyNetwork* pNetwork, std::string& strOut,
                     std::string& strErr);

// Their help texts.
extern const char kMakeHelp[];
extern const char kShowHelp[];
extern const char kCheckHelp[];
extern const char kVerifyHelp[];
