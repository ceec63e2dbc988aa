// SPDX-License-Identifier: MIT
#include "app/main_dlg.h"
#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "platform/ui/images.h"
#include "platform/ui/string_resource.h"
#include "reading/verse.h"
#include "resources/resource.h"
#include "settings/daily_autorun.h"
#include "settings/settings_dlg.h"

namespace {

constexpr int kStartX = 0;
constexpr int kStartY = 0;

} // namespace

const wchar_t* const kBookErrorText =
    L"Failed to open book \"maravelle.pdb\"\nPlease download from " VELMORA_BOOK_ADDRESS;

const CDialog::MessageEntry<CMainDlg> CMainDlg::kMessageMap[] = {
    {MCN_SELCHANGE, IDC_CALENDAR, &CMainDlg::ShowVerseForSelection},
    {BN_CLICKED, IDC_ABOUT, &CMainDlg::OnAbout},
    {BN_CLICKED, IDC_SETTINGS, &CMainDlg::OpenSettings},
    {BN_CLICKED, IDOK, &CMainDlg::OnClose},
};

CMainDlg::CMainDlg(const SYSTEMTIME& today)
    : CDialog(IDD_MAIN)
    , m_hIcon(LoadIcon(IDR_MAINFRAME))
    , m_today(today)
{ }

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_VERSE, m_edit);
    DDX_Control(pDX, IDC_CALENDAR, m_calendar);
}

bool CMainDlg::OnNotify(NotifyCode code, int id)
{
    return Dispatch(this, kMessageMap, code, id);
}

void CMainDlg::PlaceByTemplate()
{
    // Where OnInitDialog puts it: mapped in the middle of the screen and then
    // moved, the window would take some milliseconds longer to be drawn.
    MoveTo(kStartX, kStartY);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_calendar.SetCurSel(m_today);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    MoveToFrontAt(kStartX, kStartY);

    if (!m_book.CheckOpen(ProgramFilePath(L"maravelle.pdb")))
        MessageBox(GetSafeHwnd(), kBookErrorText, L"Error!");

    ShowVerseForSelection();
    RunStartupSettings();
    return TRUE;
}

void CMainDlg::ShowVerseForSelection()
{
    SYSTEMTIME selection{};
    if (m_calendar.GetCurSel(selection))
        m_edit.SetWindowText(ComposeVerse(m_book, selection.wDay, selection.wMonth, selection.wYear));
}

void CMainDlg::OnAbout()
{
    m_edit.SetWindowText(LoadString(IDS_ABOUT));
}

void CMainDlg::OnClose()
{
    EndDialog(0);
}

void CMainDlg::RunStartupSettings()
{
    SettingsState state;
    // First run: no usable settings file, so the user chooses. However the
    // window ends, the steps below go by the state as it stands then.
    if (!state.LoadSettings()) {
        CSettingsDlg settings(state);
        settings.DoModal();
    }
    // The chime and the booking go on in the background, but starting them
    // (a sound context, systemctl processes) would take the processor from
    // the window's first paint; they start once the window has been drawn.
    AfterFirstPaint([state]() mutable {
        if (state.m_edited.m_bChime)
            PlaySound(ProgramFilePath(L"orv.wav"));
        // The switch as last pulled, the time as stored: see m_stored.
        ScheduleNextRun(state.m_edited.m_bAutoRun, state.m_stored.time, FALSE);
    });
}

void CMainDlg::OpenSettings()
{
    SettingsState state;
    CSettingsDlg settings(state);
    settings.DoModal();
}
