#include "ShortcutPath.h"

namespace {

const char kShortcutExtension[] = ".URL";

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// A backslash or slash would reach into another folder, a colon would name a drive or a
// stream of another file instead of a file of its own.
bool NamesFileInFolder(const CString& strName)
{
    for (int i = 0; i < strName.GetLength(); ++i) {
        const char ch = strName[i];
        if (IsSeparator(ch) || ch == ':')
            return false;
    }
    return true;
}

} // namespace

bool MakeShortcutPath(const CString& strFolder, const CString& strLinkText, CString& strPath)
{
    strPath.Empty();
    if (strFolder.IsEmpty() || !NamesFileInFolder(strLinkText))
        return false;

    CString path = strFolder;
    // A folder that already ends with a separator (a drive's root) gets no second one.
    if (!IsSeparator(strFolder[strFolder.GetLength() - 1]))
        path += '\\';
    path += strLinkText;
    path += kShortcutExtension;
    if (path.GetLength() + 1 > kShortcutPathBufferSize)
        return false;
    strPath = path;
    return true;
}
