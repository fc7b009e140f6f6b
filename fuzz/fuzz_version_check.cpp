// Fuzz target: the version cut and decision over arbitrary installed texts and documents.
// Input: the installed text, a second free text, a received count (from the input's end,
// -4 to 260), then the document's bytes, which sit in a heap block of exactly their size, so
// the sanitizer sees any read past what was received. Checks what holds for every input:
// the examined text is a trimmed start of the received bytes of at most 30 characters (32
// for a document that begins with "Q7"), the parts are cut from their texts, comparison is
// antisymmetric, and the display and message are one of the composed forms.
#include "UpvaneTexts.h"
#include "VersionCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort(); \
        } \
    } while (0)

namespace {

constexpr size_t kMaxText = 96;

bool IsTrailingBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

bool Contains(const CString& text, const CString& part)
{
    return part.IsEmpty() || text.Find(part) != -1;
}

bool EndsWith(const CString& text, const CString& tail)
{
    return tail.GetLength() <= text.GetLength() && text.Right(tail.GetLength()) == tail;
}

void CheckParts(const CString& installed, const CString& examined, const VersionParts& parts)
{
    FUZZ_CHECK(Contains(installed, parts.m_strInstalledVersion));
    FUZZ_CHECK(EndsWith(installed, parts.m_strInstalledBuild));
    FUZZ_CHECK(Contains(examined, parts.m_strAvailableVersion));
    FUZZ_CHECK(Contains(examined, parts.m_strAvailableBuild));
    for (const CString* trimmed :
         {&parts.m_strInstalledVersion, &parts.m_strAvailableVersion, &parts.m_strAvailableBuild}) {
        if (!trimmed->IsEmpty())
            FUZZ_CHECK(!IsTrailingBlank((*trimmed)[trimmed->GetLength() - 1]));
    }
}

void CheckComparison(const CString& a, const CString& b)
{
    const int order = CompareVersionTexts(a, b);
    FUZZ_CHECK(order >= -1 && order <= 1);
    FUZZ_CHECK(order == -CompareVersionTexts(b, a));
    FUZZ_CHECK((order == 0) == (a == b));
}

void CheckExamined(const CString& examined, const char* received, int count)
{
    const int length = examined.GetLength();
    FUZZ_CHECK(length <= 32);
    FUZZ_CHECK(length <= count || length == 0);
    FUZZ_CHECK(length == 0 || std::memcmp(examined.GetString(), received, static_cast<size_t>(length)) == 0);
    FUZZ_CHECK(static_cast<int>(std::strlen(examined.GetString())) == length);
    if (length > 0)
        FUZZ_CHECK(!IsTrailingBlank(examined[length - 1]));
    const bool longForm = count >= 2 && received[0] == 'Q' && received[1] == '7';
    FUZZ_CHECK(longForm || length <= 30);
    FUZZ_CHECK(longForm == (examined.Find("Q7") == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const CString installed(in.ConsumeRandomLengthString(kMaxText).c_str());
    const CString other(in.ConsumeRandomLengthString(kMaxText).c_str());
    const int wanted = in.ConsumeIntegralInRange(-4, 260);
    const std::string document = in.ConsumeRemainingBytesAsString();

    std::unique_ptr<char[]> received(new char[document.size()]);
    std::memcpy(received.get(), document.data(), document.size());
    const int count = wanted < static_cast<int>(document.size()) ? wanted : static_cast<int>(document.size());

    const CString line = kInstalledLinePrefix + installed;
    const VersionCheckResult r = DecideVersionCheck(installed, line, received.get(), count);

    CheckExamined(r.m_strExamined, received.get(), count);
    FUZZ_CHECK(r.m_strExamined == CutExaminedText(received.get(), count));
    FUZZ_CHECK(r.m_bMissing == (r.m_strExamined.Find("Resource not found") != -1));
    CheckParts(installed, r.m_strExamined, r.m_parts);
    CheckComparison(r.m_parts.m_strInstalledVersion, r.m_parts.m_strAvailableVersion);
    CheckComparison(r.m_parts.m_strInstalledBuild, r.m_parts.m_strAvailableBuild);
    FUZZ_CHECK(r.m_nVersionOrder
               == CompareVersionTexts(r.m_parts.m_strInstalledVersion, r.m_parts.m_strAvailableVersion));
    FUZZ_CHECK(r.m_nBuildOrder
               == CompareVersionTexts(r.m_parts.m_strInstalledBuild, r.m_parts.m_strAvailableBuild));

    const CString heading = r.m_bMissing ? CString(kAvailableMissingHeading) + kMsgVersionNotFound
                                         : CString(kAvailableLineHeading) + r.m_strExamined;
    FUZZ_CHECK(r.m_strVersionDisplay == line + heading);
    FUZZ_CHECK(r.m_bSetResultText == !r.m_bMissing);
    FUZZ_CHECK(r.m_strResultText.IsEmpty() || r.m_strResultText == kMsgLatestVersion
               || r.m_strResultText == kMsgUpgrade);
    FUZZ_CHECK(r.m_strWhatsNewText.Find(kWhatsNewTextPrefix) == 0);

    // The cut of two free texts, as an installed text may be anything the set file holds.
    CheckParts(installed, other, CutVersionParts(installed, other));
    CheckComparison(installed, other);
    return 0;
}
