// SPDX-License-Identifier: MIT
#include "settings/settings_dlg.h"
#include "platform/services.h"
#include "resources/resource.h"

const wchar_t* const kSupportNotice = L"Please remember to turn off \"AutoRun\" before removing TALVIK.EXE.";
const wchar_t* const kNotSavedCaption = L"Settings not saved";

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
    DDX_Check(pDX, IDC_AUTORUN, m_state.m_bAutoRun);
    DDX_Check(pDX, IDC_CHIME, m_state.m_bChime);
    DDX_DateTimeCtrl(pDX, IDC_TIME, m_state.m_time);
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
    if (m_state.m_bAutoRun)
        MessageBox(GetSafeHwnd(), kSupportNotice, L"Support Notice");
    EnableDlgItem(IDC_TIME, m_state.m_bAutoRun);
}

void CSettingsDlg::OnConfirm()
{
    UpdateData(TRUE);
    m_state.m_record.chime = m_state.m_bChime;
    m_state.m_record.autorun = m_state.m_bAutoRun;
    m_state.m_record.time = m_state.m_time.GetAsSystemTime();
    m_state.ScheduleNextRun(TRUE, GetSafeHwnd());
    // Settings that cannot be saved would bring this window back at every
    // start with no word why: the user is told once, here, and where.
    const std::wstring failure = m_state.WriteSettingsFile();
    if (!failure.empty())
        MessageBox(GetSafeHwnd(), failure, kNotSavedCaption);
    EndDialog(0);
}
