#pragma once

#include "platform/wx/data_exchange.h"
#include "platform/wx/dialog.h"
#include "settings/settings_state.h"

// The "Settings" window: the chime, the daily autorun and its time.
class CSettingsDlg : public CDialog, public SettingsState
{
public:
    explicit CSettingsDlg(CDialog* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnNotify(NotifyCode code, int id) override;
    HWND NoticeOwner() override { return GetSafeHwnd(); }

private:
    void OnAutoRun();
    void OnConfirm();

    static const MessageEntry<CSettingsDlg> k_messageMap[];
};

extern const wchar_t* const k_supportNotice;
