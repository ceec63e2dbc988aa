// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog.h"
#include "settings/settings_state.h"

// The "Settings" window: the chime, the daily autorun and its time, in the
// settings state it is given for one use.
class CSettingsDlg : public CDialog
{
public:
    explicit CSettingsDlg(SettingsState& state, CDialog* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnNotify(NotifyCode code, int id) override;

private:
    void OnAutoRun();
    void OnConfirm();

    // Borrowed for one use: its owner goes on with it once the window ends.
    SettingsState& m_state;
    static const MessageEntry<CSettingsDlg> kMessageMap[];
};

extern const wchar_t* const kSupportNotice;
