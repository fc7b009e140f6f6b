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
    for (int i = 0; i < strStored.GetLength(); ++i) {
        const unsigned char stored = ByteAt(strStored, i);
        if (strPlain.GetAt(i) == '\0')
            problems.push_back({ValueProblemKind::PlainNul, i});
        else if (stored == '\0')
            problems.push_back({ValueProblemKind::ScrambledNul, i});
        else if (stored == '\r' || stored == '\n')
            problems.push_back({ValueProblemKind::ScrambledLineBreak, i});
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
    }
    return strOut;
}

std::string WrittenStoredValue(const CString& strStored)
{
    const std::string strValue(strStored.GetString(), static_cast<size_t>(strStored.GetLength()));
    if (strValue.empty())
        return strValue;
    const unsigned char first = static_cast<unsigned char>(strValue.front());
    const unsigned char last = static_cast<unsigned char>(strValue.back());
    const bool bEndTrimmed = IsProfileBlank(first) || IsProfileBlank(last);
    const bool bQuoted = strValue.size() >= 2 && IsQuote(first) && last == first;
    return bEndTrimmed || bQuoted ? "\"" + strValue + "\"" : strValue;
}
