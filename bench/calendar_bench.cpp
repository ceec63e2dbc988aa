// SPDX-License-Identifier: MIT
// A year of dates in the main window, as a user clicking through the calendar
// meets them: each date of 2026 is selected as a click selects it, the
// reading box follows, and the window's pending events are handled. The floor
// makes the same selections and puts a ready-made text in the box, so it
// measures what the window itself costs. Needs a display (bench/run starts
// Xvfb).
#include "app/main_dlg.h"
#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "platform/ui/wx/dialog_window.h"
#include "platform/ui/wx/win_app.h"
#include "reading/calendar_rules.h"
#include "reading/verse.h"
#include "resources/resource.h"
#include "settings/settings_record.h"
#include "text/utf8_path.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/calctrl.h>
#include <wx/init.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

CMainDlg* g_pDlg = nullptr;

std::vector<wxDateTime> YearOfDates()
{
    std::vector<wxDateTime> dates;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= kDaysPerMonth[month - 1]; ++day)
            dates.emplace_back(
                static_cast<wxDateTime::wxDateTime_t>(day), static_cast<wxDateTime::Month>(month - 1), 2026);
    return dates;
}

wxCalendarCtrlBase* Calendar()
{
    return dynamic_cast<wxCalendarCtrlBase*>(WindowOf(g_pDlg->GetDlgItem(IDC_CALENDAR)));
}

void SelectDates(benchmark::State& state)
{
    const std::vector<wxDateTime> year = YearOfDates();
    wxCalendarCtrlBase* calendar = Calendar();
    std::size_t next = 0;
    for (auto _ : state) {
        const wxDateTime& date = year[next++ % year.size()];
        calendar->SetDate(date);
        wxCalendarEvent event(calendar, date, wxEVT_CALENDAR_SEL_CHANGED);
        calendar->GetEventHandler()->ProcessEvent(event);
        wxYield();
    }
}

void SelectDatesFloor(benchmark::State& state)
{
    const std::vector<wxDateTime> year = YearOfDates();
    std::vector<std::wstring> readings;
    for (const wxDateTime& date : year)
        readings.push_back(ComposeVerse(g_pDlg->m_book, date.GetDay(), date.GetMonth() + 1, date.GetYear()));
    wxCalendarCtrlBase* calendar = Calendar();
    std::size_t next = 0;
    for (auto _ : state) {
        const std::size_t k = next++ % year.size();
        calendar->SetDate(year[k]);
        g_pDlg->m_edit.SetWindowText(readings[k]);
        wxYield();
    }
}

} // namespace

BENCHMARK(SelectDatesFloor)->UseRealTime();
BENCHMARK(SelectDates)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "calendar_bench: cannot start the toolkit (no display?)\n");
        return 1;
    }
    InstallWindowServices();

    // The program's folder: the sample book and settings with chime and
    // autorun off, so that no settings window opens and nothing is booked.
    const fs::path dir = fs::path(VELMORA_BENCH_WORK) / "calendar";
    fs::create_directories(dir);
    fs::copy_file(VELMORA_SAMPLE_BOOK, dir / "maravelle.pdb", fs::copy_options::overwrite_existing);
    const auto bytes = EncodeSettingsRecord(SettingsRecord{0, 0, SYSTEMTIME{2026, 12, 1, 7, 8, 0, 0, 0}});
    std::ofstream(dir / "orv.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Services& services = GetServices();
    services.moduleFileName = [exe = FromNativePath((dir / "talvik").string())] { return exe; };
    services.playSound = nullptr;
    services.runAppAtTime = nullptr;
    InitProgramDir();

    {
        CMainDlg dlg(GetLocalTime());
        g_pDlg = &dlg;
        dlg.CreateFromTemplate();
        wxWindow* window = WindowOf(dlg.GetSafeHwnd());
        wxTheApp->SetTopWindow(window);
        window->Show();
        wxYield();
        benchmark::RunSpecifiedBenchmarks();
        window->Hide();
        g_pDlg = nullptr;
    }
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
