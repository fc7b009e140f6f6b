// Helpers of the setmaker tests: running the tool in-process, whole files, valid values.
#pragma once

#include "Setmaker.h"
#include "SetFileText.h"
#include "temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct ToolRun
{
    int m_nExit = -1;
    std::string m_strOut;
    std::string m_strErr;
};

inline ToolRun RunTool(const std::vector<std::string>& args)
{
    ToolRun run;
    run.m_nExit = RunSetmaker(args, run.m_strOut, run.m_strErr);
    return run;
}

inline std::string ReadWholeFile(const std::string& strPath)
{
    std::string strBytes;
    if (std::FILE* pFile = std::fopen(strPath.c_str(), "rb")) {
        char chunk[4096];
        size_t nGot;
        while ((nGot = std::fread(chunk, 1, sizeof chunk, pFile)) > 0)
            strBytes.append(chunk, nGot);
        std::fclose(pFile);
    }
    return strBytes;
}

// The names in a folder, to see that a run leaves nothing behind.
inline std::vector<std::string> FolderEntries(const std::string& strFolder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strFolder))
        names.push_back(entry.path().filename().string());
    return names;
}

// The demo's values: all nine keys, each of which can be stored.
inline SetFileValueSet DemoValues()
{
    SetFileValueSet values;
    const char* plain[keyCount] = {"Quillory Upgrade",
                                   "Checks for a newer Quillory.",
                                   "Sample App Version 3.1 Build 5",
                                   "Quillory on the web",
                                   "127.0.0.1:8642/quillory",
                                   "Write to us",
                                   "support@quillory.com",
                                   "version.txt",
                                   "QuilloryUpgrade.exe"};
    for (int nKey = 0; nKey < keyCount; ++nKey)
        values[nKey] = CString(plain[nKey]);
    return values;
}

inline bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}
