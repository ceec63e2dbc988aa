// SPDX-License-Identifier: MIT
#pragma once

// Puts the window library's services (the message box) in place; RunWinApp
// does it for the program, a test that starts the toolkit itself calls it.
void InstallWindowServices();
