// SPDX-License-Identifier: MIT
#include "settings/settings_dlg.h"
#include "platform/system/services.h"
#include "resources/resource.h"

const wchar_t* const kSupportNotice = L"Please remember to turn off \"AutoRun\" before removing TALVIK.EXE.";

const CDialog::MessageEntry<CSettingsDlg> CSettingsDlg::kMessageMap[] = {
    {BN_CLICKED, IDC_AUTORUN, &CSettingsDlg::OnAutoRun},
    {BN_CLICKED, IDOK, &CSettingsDlg::OnConfirm},
};

CSettingsDlg::CSettingsDlg(SettingsState& state, CDialog* pParent)
    : CDialog(IDD_SETTINGS, pParent)
    , m_state(state)
{ }

void CSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_AUTORUN, m_state.m_edited.m_bAutoRun);
    DDX_Check(pDX, IDC_CHIME, m_state.m_edited.m_bChime);
    DDX_DateTimeCtrl(pDX, IDC_TIME, m_state.m_edited.m_time);
}

bool CSettingsDlg::OnNotify(NotifyCode code, int id)
{
    return Dispatch(this, kMessageMap, code, id);
}

BOOL CSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_state.LoadSettings();
    UpdateData(FALSE);
    // Opening with autorun on shows the notice too.
    OnAutoRun();
    return TRUE;
}

void CSettingsDlg::OnAutoRun()
{
    UpdateData(TRUE);
    if (m_state.m_edited.m_bAutoRun)
        MessageBox(GetSafeHwnd(), kSupportNotice, L"Support Notice");
    EnableDlgItem(IDC_TIME, m_state.m_edited.m_bAutoRun);
}

void CSettingsDlg::OnConfirm()
{
    UpdateData(TRUE);
    m_state.Confirm(GetSafeHwnd());
    EndDialog(0);
}
