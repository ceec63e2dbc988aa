// SPDX-License-Identifier: MIT
// What every window library's CDialog shares; the rest is in the library's
// own folder.
#include "platform/ui/dialog.h"

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
