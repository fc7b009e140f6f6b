#include "ValueRules.h"

#include "Descramble.h"
#include "DisplayText.h"
#include "profile_blanks.h"

namespace {

bool IsQuote(unsigned char b)
{
    return b == '"' || b == '\'';
}

unsigned char ByteAt(const CString& strText, int nIndex)
{
    return static_cast<unsigned char>(strText.GetAt(nIndex));
}

std::string CharacterAt(const CString& strPlain, int nPosition)
{
    std::string strOut;
    AppendFormat(strOut, "the character at position %d, %s,", nPosition,
                 DescribeByte(ByteAt(strPlain, nPosition)).c_str());
    return strOut;
}

} // namespace

std::vector<ValueProblem> FindValueProblems(const CString& strPlain)
{
    std::vector<ValueProblem> problems;
    const CString strStored = ToggleScrambling(strPlain);
    const int nLength = strStored.GetLength();

    // The ends the reader trims, and what is left between them.
    int nFirstKept = 0;
    while (nFirstKept < nLength && IsProfileBlank(ByteAt(strStored, nFirstKept)))
        ++nFirstKept;
    int nEndKept = nLength;
    while (nEndKept > nFirstKept && IsProfileBlank(ByteAt(strStored, nEndKept - 1)))
        --nEndKept;
    const bool bQuoted = nEndKept - nFirstKept >= 2 && IsQuote(ByteAt(strStored, nFirstKept))
                         && ByteAt(strStored, nEndKept - 1) == ByteAt(strStored, nFirstKept);

    for (int i = 0; i < nLength; ++i) {
        const unsigned char stored = ByteAt(strStored, i);
        if (strPlain.GetAt(i) == '\0')
            problems.push_back({ValueProblemKind::PlainNul, i});
        else if (stored == '\0')
            problems.push_back({ValueProblemKind::ScrambledNul, i});
        else if (stored == '\r' || stored == '\n')
            problems.push_back({ValueProblemKind::ScrambledLineBreak, i});
        else if (i < nFirstKept)
            problems.push_back({ValueProblemKind::TrimmedAtStart, i});
        else if (i >= nEndKept)
            problems.push_back({ValueProblemKind::TrimmedAtEnd, i});
        else if (bQuoted && i == nFirstKept)
            problems.push_back({ValueProblemKind::QuotesStripped, i, nEndKept - 1});
    }
    return problems;
}

std::string DescribeValueProblem(const CString& strPlain, const ValueProblem& problem)
{
    const CString strStored = ToggleScrambling(strPlain);
    const int i = problem.m_nPosition;
    std::string strOut;
    switch (problem.m_kind) {
    case ValueProblemKind::PlainNul:
        AppendFormat(strOut, "holds a NUL byte at position %d; Upvane's dialog would end the text there", i);
        break;
    case ValueProblemKind::ScrambledNul:
        AppendFormat(strOut,
                     "%s scrambles to a NUL byte, which would end the value when the set file is read",
                     CharacterAt(strPlain, i).c_str());
        break;
    case ValueProblemKind::ScrambledLineBreak:
        AppendFormat(
            strOut, "%s scrambles to a line break (0x%02X), which would end the value's line in the set file",
            CharacterAt(strPlain, i).c_str(), ByteAt(strStored, i));
        break;
    case ValueProblemKind::TrimmedAtStart:
    case ValueProblemKind::TrimmedAtEnd:
        AppendFormat(
            strOut,
            "%s scrambles to 0x%02X, a blank or control byte that the set-file reader trims from the %s "
            "of a value",
            CharacterAt(strPlain, i).c_str(), ByteAt(strStored, i),
            problem.m_kind == ValueProblemKind::TrimmedAtStart ? "start" : "end");
        break;
    case ValueProblemKind::QuotesStripped:
        AppendFormat(strOut,
                     "%s and the one at position %d, %s, scramble to a pair of quotes (%c) around the value, "
                     "which the set-file reader strips",
                     CharacterAt(strPlain, i).c_str(), problem.m_nOtherPosition,
                     DescribeByte(ByteAt(strPlain, problem.m_nOtherPosition)).c_str(), ByteAt(strStored, i));
        break;
    }
    return strOut;
}
