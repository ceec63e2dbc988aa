// SPDX-License-Identifier: MIT
#include "app/main_dlg.h"
#include "gui_support.h"
#include "platform/ui/string_resource.h"
#include "reading/book_writer.h"
#include "resources/resource.h"
#include "settings/settings_record.h"
#include "temp_dir.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/calctrl.h>
#include <wx/iconbndl.h>
#include <wx/mstream.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

std::string SampleBook()
{
    std::vector<std::string> records;
    for (int i = 0; i <= 365; ++i)
        records.push_back("Record " + std::to_string(i) + "\nsecond line");
    return BuildBook("test", records);
}

std::wstring Expected(int verse)
{
    return L"Verse " + std::to_wstring(verse) + L":\r\n\r\nRecord " + std::to_wstring(verse) + L"\r\nsecond line";
}

wxImage DecodedImage(const ImageResource& image)
{
    wxMemoryInputStream stream(image.data, image.length);
    return wxImage(stream, wxBITMAP_TYPE_PNG);
}

// The day the program starts on, as its clock tells it: not the machine's
// own date, so that a calendar going by another clock shows.
const SYSTEMTIME kToday = At(2026, 12, 14, 9, 15);
constexpr int kTodaysVerse = 348;

class MainDlgTest : public ::testing::Test
{
protected:
    MainDlgTest()
    {
        // Settings saved before, chime on and autorun off: no settings window.
        const SettingsRecord record{1, 0, At(2026, 12, 7, 8, 0)};
        const auto bytes = EncodeSettingsRecord(record);
        m_dir.Write("orv.dat", std::string(bytes.begin(), bytes.end()));
        m_services.now = kToday;
    }
    ~MainDlgTest() override
    {
        if (m_window.IsShown())
            m_window.Hide();
    }
    std::wstring Reading() { return TextBox(IDC_VERSE)->GetValue().ToStdWstring(); }
    wxTextCtrl* TextBox(int id) { return dynamic_cast<wxTextCtrl*>(m_window.FindWindow(id)); }
    void SelectDate(int day, wxDateTime::Month month, int year)
    {
        auto* calendar = dynamic_cast<wxCalendarCtrlBase*>(m_window.FindWindow(IDC_CALENDAR));
        ASSERT_TRUE(calendar);
        calendar->SetDate(wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day), month, year));
        wxCalendarEvent event(calendar, calendar->GetDate(), wxEVT_CALENDAR_SEL_CHANGED);
        calendar->GetEventHandler()->ProcessEvent(event);
    }
    void Start()
    {
        m_dlg.CreateFromTemplate();
        wxTheApp->SetTopWindow(&m_window);
        m_window.Show();
        wxYield();
    }
    // The chime and the booking start once the shown window has been drawn;
    // lets the toolkit run until they have, for some seconds at most.
    void AwaitStartupTasks()
    {
        for (int i = 0; i < 500 && m_services.events.size() < 2; ++i) {
            wxYield();
            wxMilliSleep(10);
        }
    }

    TempDir m_dir;
    FakeServices m_services{m_dir.Path().string(), false};
    CMainDlg m_dlg{kToday};
    wxDialog& m_window = Window(m_dlg);
};

TEST_F(MainDlgTest, TemplateAsBuilt)
{
    m_dlg.CreateFromTemplate();
    ExpectBuiltAsTemplate(m_dlg);
    const wxWindowList& children = m_window.GetChildren();
    EXPECT_EQ(m_window.GetTitle(), "");
    EXPECT_FALSE(m_window.HasFlag(wxCAPTION));
    EXPECT_EQ(dynamic_cast<wxStaticText*>(children[1])->GetLabel(), "Velmora " VELMORA_VERSION_TEXT);
    EXPECT_EQ(m_window.GetDefaultItem(), nullptr) << "no default button";
    auto* verse = TextBox(IDC_VERSE);
    EXPECT_TRUE(verse->IsMultiLine());
    EXPECT_FALSE(verse->IsEditable());
    EXPECT_TRUE(dynamic_cast<wxStaticBitmap*>(children[2])->GetBitmap().IsOk());
    // The icon and the logo come at twice their size too, rendered from the
    // drawing at build time, for screens scaled by two.
    for (const int size : {16, 32, 64}) {
        EXPECT_EQ(
            static_cast<const wxIconBundle*>(m_dlg.m_hIcon)->GetIcon(size, wxIconBundle::FALLBACK_NONE).GetWidth(),
            size);
    }
    std::vector<int> logoSizes;
    for (const ImageResource& image : FindImageResources(IDB_LOGO))
        logoSizes.push_back(wxBitmap(DecodedImage(image)).GetWidth());
    EXPECT_EQ(logoSizes, (std::vector<int>{32, 64}));
}

TEST_F(MainDlgTest, StartsOnTodaysReadingAtTheTopLeft)
{
    m_dir.Write("maravelle.pdb", SampleBook());
    EXPECT_NO_MODAL(Start());
    EXPECT_EQ(m_window.GetScreenPosition(), wxPoint(0, 0));
    EXPECT_TRUE(m_window.IsShown());
    EXPECT_EQ(Reading(), Expected(kTodaysVerse));
    EXPECT_EQ(g_strProgramDir, FromNativePath(m_dir.Path().string() + "/"));
    EXPECT_TRUE(m_window.GetIcons().GetIconCount() >= 2);
    // The settings tasks follow: chime, then the booking (autorun off: removed).
    AwaitStartupTasks();
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"sound", L"book"}));
    EXPECT_EQ(m_services.sounds.at(0), g_strProgramDir + L"orv.wav");
    EXPECT_FALSE(m_services.bookings.at(0).time);
}

TEST_F(MainDlgTest, MissingBookIsReportedOverTheVisibleWindow)
{
    bool shown = false;
    wxTEST_DIALOG(Start(), ExpectMessage(kBookErrorText, L"Error!", &m_window, [&] {
        shown = true;
        EXPECT_TRUE(m_window.IsShown());
        EXPECT_EQ(m_window.GetScreenPosition(), wxPoint(0, 0));
        EXPECT_EQ(Reading(), L"");
        EXPECT_TRUE(m_services.events.empty()) << "the settings tasks come after";
    }));
    EXPECT_TRUE(shown);
    EXPECT_EQ(std::wstring(kBookErrorText),
        L"Failed to open book \"maravelle.pdb\"\nPlease download from https://velmora.example/books/");
    EXPECT_EQ(Reading(), L"Verse " + std::to_wstring(kTodaysVerse) + L":\r\n\r\n");
    AwaitStartupTasks();
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"sound", L"book"}));

    // A book put in place later is read at the next change of date.
    m_dir.Write("maravelle.pdb", SampleBook());
    SelectDate(1, wxDateTime::Jan, 2026);
    EXPECT_EQ(Reading(), Expected(1));
}

TEST_F(MainDlgTest, BookChangedWhileRunningIsReadAsItIsNow)
{
    const std::string book = SampleBook();
    m_dir.Write("maravelle.pdb", book);
    EXPECT_NO_MODAL(Start());
    const auto show = [this](int day, wxDateTime::Month month) {
        EXPECT_NO_MODAL(SelectDate(day, month, 2026));
        return Reading();
    };
    const std::filesystem::path path = m_dir / "maravelle.pdb";

    std::filesystem::remove(path);
    EXPECT_EQ(show(1, wxDateTime::Jan), L"Verse 1:\r\n\r\n");
    // Cut to half: the early records are whole, the late ones are gone.
    m_dir.Write("maravelle.pdb", book.substr(0, book.size() / 2));
    EXPECT_EQ(show(2, wxDateTime::Jan), Expected(2));
    EXPECT_EQ(show(31, wxDateTime::Dec), L"Verse 365:\r\n\r\n");
    m_dir.Write("maravelle.pdb", BuildBook("other", {"Another title", "Another first reading"}));
    EXPECT_EQ(show(1, wxDateTime::Jan), L"Verse 1:\r\n\r\nAnother first reading");
    EXPECT_EQ(show(2, wxDateTime::Jan), L"Verse 2:\r\n\r\n");
    // No book at all: bytes whose every offset lies past the end, then a folder.
    m_dir.Write("maravelle.pdb", std::string(5000, '\xff'));
    EXPECT_EQ(show(3, wxDateTime::Jan), L"Verse 3:\r\n\r\n");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(show(4, wxDateTime::Jan), L"Verse 4:\r\n\r\n");
    // And the book back in its place.
    std::filesystem::remove(path);
    m_dir.Write("maravelle.pdb", book);
    EXPECT_EQ(show(5, wxDateTime::Jan), Expected(5));
}

// The chime and the booking are started after the first paint, so that they
// never compete with it; however the window goes, they are never skipped.
TEST_F(MainDlgTest, ChimeAndBookingWaitForTheFirstPaint)
{
    m_dir.Write("maravelle.pdb", SampleBook());
    m_dlg.CreateFromTemplate();
    wxTheApp->SetTopWindow(&m_window);
    EXPECT_NO_MODAL(m_window.Show());
    // Initialised inside Show, before the toolkit could draw anything.
    EXPECT_EQ(Reading(), Expected(kTodaysVerse));
    EXPECT_TRUE(m_services.events.empty());
    AwaitStartupTasks();
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"sound", L"book"}));
    wxYield();
    EXPECT_EQ(m_services.events.size(), 2u) << "started once";
}

TEST_F(MainDlgTest, EndedBeforeItIsDrawnTheWindowStillChimesAndBooks)
{
    m_dir.Write("maravelle.pdb", SampleBook());
    m_dlg.CreateFromTemplate();
    wxTheApp->SetTopWindow(&m_window);
    EXPECT_NO_MODAL(m_window.Show());
    ASSERT_TRUE(m_services.events.empty());
    m_dlg.EndDialog(0);
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"sound", L"book"}));
}

TEST_F(MainDlgTest, NeverDrawnTheWindowStillChimesAndBooks)
{
    m_dir.Write("maravelle.pdb", SampleBook());
    m_dlg.CreateFromTemplate();
    wxTheApp->SetTopWindow(&m_window);
    // Frozen, the shown window is not drawn: the work waits a while for a
    // paint that does not come, then starts anyway.
    m_window.Freeze();
    EXPECT_NO_MODAL(m_window.Show());
    AwaitStartupTasks();
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"sound", L"book"}));
    m_window.Thaw();
}

TEST_F(MainDlgTest, DatesAboutAndBack)
{
    m_dir.Write("maravelle.pdb", SampleBook());
    EXPECT_NO_MODAL(Start());
    SelectDate(1, wxDateTime::Mar, 2026);
    EXPECT_EQ(Reading(), Expected(60));
    SelectDate(29, wxDateTime::Feb, 2004);
    EXPECT_EQ(Reading(), Expected(1));
    SelectDate(29, wxDateTime::Feb, 2000);
    EXPECT_EQ(Reading(), Expected(60));
    SelectDate(31, wxDateTime::Dec, 2026);
    EXPECT_EQ(Reading(), Expected(365));

    Click(&m_dlg, IDC_ABOUT);
    const std::wstring about = Reading();
    EXPECT_EQ(about, LoadString(IDS_ABOUT));
    EXPECT_NE(about.find(VELMORA_VERSION), std::wstring::npos);
    EXPECT_NE(about.find(L"\r\n\r\n"), std::wstring::npos);
    SelectDate(7, wxDateTime::Dec, 2026);
    EXPECT_EQ(Reading(), Expected(341));
}

TEST_F(MainDlgTest, CloseButtonAndEscapeEndTheWindow)
{
    m_dir.Write("maravelle.pdb", SampleBook());
    wxTheApp->SetTopWindow(&m_window);
    m_window.CallAfter([this] { Click(&m_dlg, IDOK); });
    EXPECT_EQ(m_dlg.DoModal(), 0);
    EXPECT_FALSE(m_window.IsShown());

    m_window.CallAfter([this] {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_ESCAPE;
        key.SetEventObject(&m_window);
        m_window.GetEventHandler()->ProcessEvent(key);
    });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
}

} // namespace
