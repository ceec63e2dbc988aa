// SPDX-License-Identifier: MIT
#include "app/main_dlg.h"
#include "gui_support.h"
#include "platform/ui/wx/time_picker.h"
#include "resources/resource.h"
#include "scoped_env.h"
#include "settings/settings_dlg.h"
#include "small_disk.h"
#include "temp_dir.h"
#include "time_zone.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>

namespace {

const std::wstring kAutorunCaption = L"Autorun";
const std::wstring kSupportCaption = L"Support Notice";

class SettingsDlgTest : public ::testing::Test
{
protected:
    SettingsDlgTest()
    {
        m_services.now = At(2026, 12, 7, 9, 15);
        m_main.CreateFromTemplate();
        wxTheApp->SetTopWindow(&Window(m_main));
    }

    static bool Checked(const CDialog& dlg, int id)
    {
        return dynamic_cast<wxCheckBox*>(Window(dlg).FindWindow(id))->GetValue();
    }
    static TimePicker* Picker(const CDialog& dlg)
    {
        return dynamic_cast<TimePicker*>(Window(dlg).FindWindow(IDC_TIME));
    }
    static int Cancel(CSettingsDlg& dlg)
    {
        Window(dlg).Close();
        return Window(dlg).GetReturnCode();
    }
    // Shows the window without a modal loop of its own, so that the test
    // can wait for the keyboard focus to settle in it.
    static wxDialog& Show(CSettingsDlg& settings)
    {
        settings.CreateFromTemplate();
        Window(settings).Show();
        return Window(settings);
    }
    // Lets the toolkit run until `window` has the focus, for at most a second.
    static bool FocusReaches(const wxWindow* window)
    {
        for (int i = 0; i < 100 && wxWindow::FindFocus() != window; ++i) {
            wxYield();
            wxMilliSleep(10);
        }
        return wxWindow::FindFocus() == window;
    }
    bool HasFile() const { return std::filesystem::exists(m_dir / "orv.dat"); }
    SettingsRecord File() const
    {
        const std::string bytes = m_dir.Read("orv.dat");
        EXPECT_EQ(bytes.size(), kSettingsRecordSize);
        return DecodeSettingsRecord(reinterpret_cast<const unsigned char*>(bytes.data()));
    }
    void Save(const SettingsRecord& record)
    {
        const auto bytes = EncodeSettingsRecord(record);
        m_dir.Write("orv.dat", std::string(bytes.begin(), bytes.end()));
    }

    TempDir m_dir;
    FakeServices m_services{m_dir.Path().string(), false};
    CMainDlg m_main{m_services.now};
};

TEST_F(SettingsDlgTest, TemplateAsBuilt)
{
    SettingsState state;
    CSettingsDlg settings(state);
    wxDialog& dlg = Window(settings);
    settings.CreateFromTemplate();
    ExpectBuiltAsTemplate(settings);
    EXPECT_TRUE(dlg.HasFlag(wxCAPTION));
    EXPECT_TRUE(dlg.HasFlag(wxCLOSE_BOX));
    EXPECT_EQ(dlg.GetParent(), &Window(m_main)) << "owned by the main window";
    EXPECT_EQ(dlg.GetScreenPosition(), Window(m_main).GetScreenPosition());
    EXPECT_EQ(dlg.GetDefaultItem(), dlg.FindWindow(IDOK));
    EXPECT_FALSE(dlg.FindWindow(IDCANCEL)->IsShown());
}

TEST_F(SettingsDlgTest, FocusStartsOnOk)
{
    Save({1, 0, At(2026, 12, 7, 8, 0)});
    SettingsState state;
    CSettingsDlg settings(state);
    wxDialog& dlg = Show(settings);
    EXPECT_TRUE(FocusReaches(dlg.FindWindow(IDOK)));
    dlg.Hide();
}

TEST_F(SettingsDlgTest, EnterOnACheckBoxConfirms)
{
    // Enter anywhere but on a push button is OK. With the focus on a check
    // box the button test once cast the box to a button, which the sanitized
    // build reports as undefined behaviour.
    Save({1, 0, At(2026, 12, 7, 8, 0)});
    SettingsState state;
    CSettingsDlg settings(state);
    wxDialog& dlg = Show(settings);
    wxWindow* chime = dlg.FindWindow(IDC_CHIME);
    chime->SetFocus();
    ASSERT_TRUE(FocusReaches(chime));
    Click(&settings, IDC_CHIME);
    wxKeyEvent enter(wxEVT_CHAR_HOOK);
    enter.m_keyCode = WXK_RETURN;
    enter.SetEventObject(chime);
    dlg.GetEventHandler()->ProcessEvent(enter);
    EXPECT_EQ(dlg.GetReturnCode(), 0);
    EXPECT_EQ(File().chime, 0);
    dlg.Hide();
}

// Settings that cannot be saved are told of once, at OK, with the file and
// the reason, and the window closes as usual: a full disk (the old file
// stays), a settings folder that is a file, and an orv.dat made read-only,
// which stays as the user made it.
TEST_F(SettingsDlgTest, OkSaysWhyTheSettingsWereNotSaved)
{
    const auto old = EncodeSettingsRecord({1, 0, At(2026, 12, 7, 8, 0)});
    const std::string oldBytes(old.begin(), old.end());
    TempDir folder;
    folder.Write("file", "");
    SmallDisk disk;
    const auto readOnly = [&] {
        m_dir.Write("orv.dat", oldBytes);
        std::filesystem::permissions(m_dir / "orv.dat", std::filesystem::perms::owner_read);
        return m_dir / "orv.dat";
    };
    const auto settingsInAFile = [&] {
        // A program folder others can write sends the settings to the
        // user's own folder, which cannot be made under a file.
        std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::all);
        ::setenv("XDG_CONFIG_HOME", (folder / "file").c_str(), 1);
        return folder / "file" / "velmora" / "orv.dat";
    };
    const auto fullDisk = [&] {
        if (!disk.Mounted())
            return std::filesystem::path(); // mounting a small tmpfs to fill needs root
        m_services.MoveProgramTo(disk.Path().string());
        std::ofstream(disk / "orv.dat", std::ios::binary) << oldBytes;
        disk.Fill();
        return disk / "orv.dat";
    };
    const struct
    {
        std::function<std::filesystem::path()> arrange;
        const wchar_t* reason;
        bool fileStays;
    } cases[] = {
        {readOnly, L"Permission denied", true},
        {settingsInAFile, L"Not a directory", false},
        {fullDisk, L"No space left on device", true},
    };
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const ScopedEnv restored("XDG_CONFIG_HOME", config ? std::optional<std::string>(config) : std::nullopt);
    for (const auto& c : cases) {
        m_services.bookings.clear();
        const std::filesystem::path file = c.arrange();
        if (file.empty())
            continue;
        const std::wstring said =
            L"The settings could not be saved in \"" + FromNativePath(file.string()) + L"\": " + c.reason + L".";
        wxTEST_DIALOG(m_main.OpenSettings(), ExpectWindow<CSettingsDlg>([](CSettingsDlg& dlg) {
            Click(&dlg, IDC_CHIME);
            Click(&dlg, IDOK);
            EXPECT_EQ(Window(dlg).GetReturnCode(), 0) << "OK ended the window";
            return Window(dlg).GetReturnCode();
        }),
            ExpectMessage(said, kNotSavedCaption));
        if (c.fileStays) {
            std::ifstream in(file, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), oldBytes) << file;
        }
        EXPECT_EQ(m_services.bookings.size(), 1u) << "the next start was still looked after";
        restored.Restore();
        m_services.MoveProgramTo(m_dir.Path().string());
    }
}

TEST_F(SettingsDlgTest, FirstRunOkWithDefaults)
{
    wxTEST_DIALOG(m_main.RunStartupSettings(), ExpectWindow<CSettingsDlg>([](CSettingsDlg& dlg) {
        EXPECT_TRUE(Checked(dlg, IDC_CHIME));
        EXPECT_FALSE(Checked(dlg, IDC_AUTORUN));
        EXPECT_FALSE(Picker(dlg)->IsEnabled());
        int hour, minute, second;
        Picker(dlg)->GetTime(&hour, &minute, &second);
        EXPECT_EQ(hour * 100 + minute, 800);
        Click(&dlg, IDOK);
        return Window(dlg).GetReturnCode();
    }));
    const SettingsRecord saved = File();
    EXPECT_EQ(saved.chime, 1);
    EXPECT_EQ(saved.autorun, 0);
    EXPECT_EQ(DateTimeText(saved.time), "2026-12-07 08:00:00.000");
    // OK removed any start, then start-up played the chime and removed it again.
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"book", L"sound", L"book"}));
    for (const auto& booking : m_services.bookings)
        EXPECT_FALSE(booking.time);
}

TEST_F(SettingsDlgTest, FirstRunCancelledSavesNothing)
{
    wxTEST_DIALOG(m_main.RunStartupSettings(), ExpectWindow<CSettingsDlg>(Cancel));
    EXPECT_FALSE(HasFile());
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"sound", L"book"}));
    EXPECT_FALSE(m_services.bookings.at(0).time);
}

TEST_F(SettingsDlgTest, FirstRunCheckedThenCancelledBooksTheDefaultTime)
{
    wxTEST_DIALOG(m_main.RunStartupSettings(), ExpectWindow<CSettingsDlg>([](CSettingsDlg& dlg) {
        Click(&dlg, IDC_CHIME);
        Click(&dlg, IDC_AUTORUN); // pulls the chime box too
        Click(&dlg, IDC_CHIME); // not pulled again before cancel
        Picker(dlg)->SetTime(6, 30, 0);
        return Cancel(dlg);
    }),
        ExpectMessage(kSupportNotice, kSupportCaption));
    EXPECT_FALSE(HasFile());
    EXPECT_TRUE(m_services.sounds.empty()) << "the chime follows the box as last pulled";
    ASSERT_EQ(m_services.bookings.size(), 1u);
    ASSERT_TRUE(m_services.bookings[0].time);
    const SYSTEMTIME t = *m_services.bookings[0].time;
    EXPECT_EQ(DateTimeText(t), "2026-12-08 08:00:00.000"); // 09:15 is past 08:00
}

TEST_F(SettingsDlgTest, CheckingAutorunWarnsAndEnablesThePicker)
{
    Save({1, 0, At(2026, 12, 7, 8, 0)});
    wxTEST_DIALOG(m_main.OpenSettings(), ExpectWindow<CSettingsDlg>([](CSettingsDlg& dlg) {
        EXPECT_FALSE(Picker(dlg)->IsEnabled());
        Click(&dlg, IDC_AUTORUN);
        EXPECT_TRUE(Picker(dlg)->IsEnabled());
        Click(&dlg, IDC_AUTORUN); // unchecking shows nothing
        EXPECT_FALSE(Picker(dlg)->IsEnabled());
        return Cancel(dlg);
    }),
        ExpectMessage(kSupportNotice, kSupportCaption));
    EXPECT_TRUE(m_services.events.empty()) << "cancel neither saves nor reschedules";
}

TEST_F(SettingsDlgTest, OkWithAutorunShowsWhenItWillRun)
{
    Save({1, 0, At(2026, 12, 6, 8, 0)});
    m_services.now = At(2026, 12, 6, 7, 0);
    std::vector<std::wstring> order;
    wxTEST_DIALOG(m_main.OpenSettings(), ExpectWindow<CSettingsDlg>([&](CSettingsDlg& dlg) {
        Click(&dlg, IDC_AUTORUN);
        Click(&dlg, IDC_CHIME);
        Picker(dlg)->SetTime(6, 30, 0);
        Click(&dlg, IDOK);
        EXPECT_EQ(Window(dlg).GetReturnCode(), 0);
        return 0;
    }),
        ExpectMessage(kSupportNotice, kSupportCaption, nullptr, [&] { order.push_back(L"support"); }),
        ExpectMessage(L"TALVIK will next run on 7 of Dec, 2026 at 6:30", kAutorunCaption, nullptr, [&] {
            order.push_back(L"autorun");
            EXPECT_TRUE(m_services.bookings.empty()) << "the notice comes before the booking";
        }));
    EXPECT_EQ(order, (std::vector<std::wstring>{L"support", L"autorun"}));
    const SettingsRecord saved = File();
    EXPECT_EQ(saved.chime, 0);
    EXPECT_EQ(saved.autorun, 1);
    EXPECT_EQ(DateTimeText(saved.time), "2026-12-07 06:30:00.000");
    ASSERT_EQ(m_services.bookings.size(), 1u);
    EXPECT_EQ(m_services.bookings[0].time->wDay, 7);
}

TEST_F(SettingsDlgTest, OpeningWithAutorunOnWarnsFirst)
{
    Save({0, 1, At(2026, 12, 8, 6, 30)});
    bool warned = false;
    wxTEST_DIALOG(m_main.OpenSettings(), ExpectWindow<CSettingsDlg>([&](CSettingsDlg& dlg) {
        EXPECT_TRUE(warned) << "the notice comes before the window can be used";
        EXPECT_TRUE(Checked(dlg, IDC_AUTORUN));
        EXPECT_FALSE(Checked(dlg, IDC_CHIME));
        EXPECT_TRUE(Picker(dlg)->IsEnabled());
        return Cancel(dlg);
    }),
        ExpectMessage(kSupportNotice, kSupportCaption, nullptr, [&] { warned = true; }));

    // Started later with these settings: silent, and books the next 06:30.
    m_services.now = At(2026, 12, 8, 6, 30);
    EXPECT_NO_MODAL(m_main.RunStartupSettings());
    EXPECT_TRUE(m_services.sounds.empty());
    ASSERT_EQ(m_services.bookings.size(), 1u);
    EXPECT_EQ(m_services.bookings[0].time->wDay, 9);
}

TEST_F(SettingsDlgTest, PickerKeepsThePushedDate)
{
    Save({1, 1, At(2030, 3, 4, 6, 30)});
    SettingsState state;
    CSettingsDlg settings(state);
    wxTEST_DIALOG(settings.DoModal(), ExpectWindow<CSettingsDlg>([](CSettingsDlg& dlg) {
        Picker(dlg)->SetTime(21, 45, 0);
        dlg.UpdateData(TRUE);
        return Cancel(dlg);
    }),
        ExpectMessage(kSupportNotice, kSupportCaption));
    EXPECT_EQ(DateTimeText(state.m_edited.m_time.GetAsSystemTime()), "2030-03-04 21:45:00.000");
}

TEST_F(SettingsDlgTest, ADailyTimeTheClocksSkipIsShownAndSavedAsSet)
{
    // Booked for the day the clocks jump from 02:00 to 03:00, which has no
    // 02:30; OK without a change keeps 02:30 for every other day.
    ScopedTimeZone zone("Europe/Berlin");
    Save({1, 1, At(2027, 3, 28, 2, 30)});
    m_services.now = At(2027, 3, 27, 20, 0);
    wxTEST_DIALOG(m_main.OpenSettings(), ExpectWindow<CSettingsDlg>([](CSettingsDlg& dlg) {
        int hour, minute, second;
        Picker(dlg)->GetTime(&hour, &minute, &second);
        EXPECT_EQ(hour * 100 + minute, 230);
        Click(&dlg, IDOK);
        return Window(dlg).GetReturnCode();
    }),
        ExpectMessage(kSupportNotice, kSupportCaption),
        ExpectMessage(L"TALVIK will next run on 28 of Mar, 2027 at 2:30", kAutorunCaption));
    EXPECT_EQ(DateTimeText(File().time), "2027-03-28 02:30:00.000");
}

} // namespace
