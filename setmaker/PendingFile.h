// A file written beside its destination and then moved over it in one step. Until Commit the
// destination keeps its old bytes; a run that stops earlier removes what it wrote, so a refused
// or failed run leaves an existing file exactly as it was.
#pragma once

#include <string>

class PendingFile
{
    // Data members
private:
    std::string m_strPath; // the pending file, in the destination's folder
    std::string m_strDestination;
    bool m_bCommitted = false;

    // Construction
public:
    PendingFile() = default;
    ~PendingFile(); // removes the pending file unless it was committed
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Operations
    // Creates a new file of a name no other file has, in the folder of strDestination (a full
    // path), writes the bytes, flushes them to the disk and closes it.
    bool Write(const std::string& strDestination, const std::string& strBytes, std::string& strError);

    // The pending file's full path, for reading it back before Commit.
    const std::string& Path() const { return m_strPath; }

    // Moves the pending file over the destination, replacing a file that is there.
    bool Commit(std::string& strError);
};
