// CResultAlert: the static that shows a check's result message. To screen readers it is an
// alert: after each check the dialog hands it the result to announce, and it raises the
// alert event, which screen readers speak at once wherever the user is in the dialog. The
// static shows exactly what it showed before; only its accessible object is its own.
#pragma once

#include "CAccessible.h"
#include "Framework.h"

class CResultAlert : public CStatic
{
    // Data members
private:
    CString m_strAnnouncement;  // what the last check reported, as one text
    CAccessible* m_pAccessible; // made at a screen reader's first question; one reference

    // Construction
public:
    CResultAlert();
    ~CResultAlert() override;

    // Operations
    // Makes strText the alert's text and tells screen readers about it.
    void Announce(const CString& strText);

    // Message map and handlers
protected:
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
    void OnNcDestroyed() override;

    // Implementation
private:
    class CAlertAccessible;
    void ReleaseAccessible();
};
