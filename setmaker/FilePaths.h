// Full paths the way the profile functions need them: a bare name would make Windows look in
// its own folder, so every file the tool reads or writes goes by its full path.
#pragma once

#include <string>

// The absolute form of a name, from the process's current directory; empty when it cannot be
// formed.
std::string FullPathOf(const std::string& strName);

// The folder part of a full path, without its last separator; empty for a bare name.
std::string FolderOf(const std::string& strFullPath);

// The last component of a path.
std::string FileNameOf(const std::string& strPath);

// The separator the platform writes into full paths.
char PathSeparator();

// True when the path names a regular file: not a folder, not a device, not missing.
bool IsRegularFile(const std::string& strPath);
