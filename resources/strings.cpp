// SPDX-License-Identifier: MIT
#include "platform/ui/string_resource.h"
#include "resources/resource.h"

namespace {

const wchar_t* const kAbout = L"Velmora " VELMORA_VERSION L"\r\n"
                              L"\r\n"
                              L"Velmora is a daily reader. Pick a date in the calendar and read the reading "
                              L"of that day.\r\n"
                              L"\r\n"
                              L"Its book holds short extracts, one for each day of the year. Read the day's "
                              L"extract slowly, and carry it with you as you reflect upon it through the day.\r\n"
                              L"\r\n"
                              L"This edition (" VELMORA_VERSION L") can start your computer to a new reading every "
                              L"day: open Settings and choose \"AutoRun daily at\" and a time. It can also sound a "
                              L"bell chime when it starts.\r\n"
                              L"\r\n"
                              L"Made by the Velmora developers. The sample book gathers old proverbs and sayings "
                              L"that belong to everyone.\r\n"
                              L"\r\n"
                              L"The book file \"maravelle.pdb\" lies beside the program. Other books can be "
                              L"obtained from " VELMORA_BOOK_ADDRESS L" or made with the talvik-book tool.";

} // namespace

std::wstring LoadString(int id)
{
    return id == IDS_ABOUT ? kAbout : L"";
}
