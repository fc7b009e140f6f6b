// Making a set file: refuse what Upvane could not read back, write the scrambled file beside
// its destination, read it back the way Upvane reads it, and only when every value comes back
// unchanged move it into place.
#pragma once

#include "SetFileText.h"

#include <string>
#include <vector>

struct MakeResult
{
    bool m_bWritten = false;
    std::string m_strFullPath;           // the destination, as a full path
    std::vector<std::string> m_refusals; // why nothing was written: each value problem
    std::string m_strFailure;            // or the write or the read-back that failed
    std::vector<std::string> m_warnings; // written or not: advice for the vendor
};

// bAllowMissing: a key without a value is left out of the file (Upvane shows it empty)
// instead of refusing the run.
MakeResult MakeSetFile(const std::string& strOutput, const SetFileValueSet& values, bool bAllowMissing);
