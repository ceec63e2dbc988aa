// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/dialog_template.h"
#include "velmora_version.h"

constexpr int IDS_ABOUT = 1;

constexpr int IDD_MAIN = 102;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDB_LOGO = 129;
constexpr int IDD_SETTINGS = 131;

constexpr int IDC_CALENDAR = 1000;
constexpr int IDC_SETTINGS = 1002;
constexpr int IDC_VERSE = 1003;
constexpr int IDC_ABOUT = 1004;
constexpr int IDC_TIME = 1006;
constexpr int IDC_CHIME = 1007;
constexpr int IDC_AUTORUN = 1008;

#define VELMORA_VERSION L"" VELMORA_VERSION_TEXT
#define VELMORA_BOOK_ADDRESS L"https://velmora.example/books/"
